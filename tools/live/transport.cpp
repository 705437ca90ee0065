#include "live/transport.h"

#include <algorithm>
#include <cmath>

#include "platform/input.h"

double Transport::Clamp(double seconds) const {
  if (!(seconds > 0.0)) return 0.0;
  return std::min(seconds, end_);
}

long Transport::FrameAt(double seconds) const { return std::lround(Clamp(seconds) * kFps); }

void Transport::SetLoopStart(double seconds) {
  from_ = Clamp(seconds);
  haveFrom_ = true;
}

void Transport::SetLoopEnd(double seconds) {
  to_ = Clamp(seconds);
  haveTo_ = true;
}

bool Transport::SetLoop(double from, double to) {
  if (!(Clamp(to) > Clamp(from))) return false;
  SetLoopStart(from);
  SetLoopEnd(to);
  return true;
}

void Transport::ClearLoop() {
  haveFrom_ = haveTo_ = false;
  from_ = to_ = 0.0;
}

double Transport::Advance(double seconds, bool& stop) const {
  stop = false;
  if (Looping() && seconds >= to_) return from_;
  if (seconds >= end_) {
    stop = true;
    return end_;
  }
  return Clamp(seconds);
}

double Transport::NextEvent(const std::vector<double>& events, double seconds) {
  for (double event : events) {
    if (event > seconds + kFrameSeconds / 2) return event;
  }
  return seconds;
}

double Transport::PreviousEvent(const std::vector<double>& events, double seconds) {
  double found = 0.0;
  for (double event : events) {
    if (event < seconds - kFrameSeconds / 2) found = event;
  }
  return found;
}

KeyAction ActionForKey(int virtualKey, bool shift) {
  namespace vk = platform::vk;
  const double jump = shift ? 10.0 : 1.0;
  switch (virtualKey) {
    case vk::kSpace: return {KeyAction::kTogglePlay};
    case vk::kLeft: return {KeyAction::kSeekBy, -jump};
    case vk::kRight: return {KeyAction::kSeekBy, jump};
    case vk::kPageUp: return {KeyAction::kPreviousEvent};
    case vk::kPageDown: return {KeyAction::kNextEvent};
    case vk::kHome: return {KeyAction::kStart};
    case vk::kComma: return {KeyAction::kFrameBack};
    case vk::kPeriod: return {KeyAction::kFrameOn};
    case vk::kLeftBracket: return {KeyAction::kLoopStart};
    case vk::kRightBracket: return {KeyAction::kLoopEnd};
    case vk::kBackslash: return {KeyAction::kLoopClear};
    case 'H': return {KeyAction::kToggleOverlay};
    case 'F': return {KeyAction::kToggleManualCamera};
    case 'B':
    case 'L': return {KeyAction::kEditingKey};
    case vk::kEscape: return {KeyAction::kQuit};
    default: return {};
  }
}

bool Debounce::Due(double now) {
  if (!pending_ || now - last_ < kQuietSeconds) return false;
  pending_ = false;
  return true;
}
