#pragma once
// The live player's transport: where the timeline stands, whether it plays, the loop,
// and the jumps the keys make (seconds, events, frames). Pure logic over times; the
// player turns its answers into seeks.
#include <vector>

class Transport {
 public:
  static constexpr int kFps = 60;
  static constexpr double kFrameSeconds = 1.0 / kFps;

  // The timeline runs from 0 to end seconds.
  explicit Transport(double end) : end_(end > 0.0 ? end : 0.0) {}

  double End() const { return end_; }
  double Clamp(double seconds) const;
  // The grid frame nearest to a time within the timeline.
  long FrameAt(double seconds) const;
  static double SecondsOf(long frame) { return static_cast<double>(frame) / kFps; }

  bool playing = true;

  // The loop plays between its start and end once both are set with the end after the
  // start. Setting one end keeps the other.
  void SetLoopStart(double seconds);
  void SetLoopEnd(double seconds);
  bool SetLoop(double from, double to);
  void ClearLoop();
  bool Looping() const { return haveFrom_ && haveTo_ && to_ > from_; }
  double LoopFrom() const { return from_; }
  double LoopTo() const { return to_; }

  // Where playing goes on from a time it has reached: the loop's start past its end,
  // and a stop at the end of the timeline. stop is set when playing must stop there.
  double Advance(double seconds, bool& stop) const;

  // The first event after seconds (more than half a frame later), or seconds itself.
  static double NextEvent(const std::vector<double>& events, double seconds);
  // The last event before seconds (more than half a frame earlier), or 0.
  static double PreviousEvent(const std::vector<double>& events, double seconds);

 private:
  double end_;
  bool haveFrom_ = false;
  bool haveTo_ = false;
  double from_ = 0.0;
  double to_ = 0.0;
};

// What a key does in the live player.
struct KeyAction {
  enum Kind {
    kNone,
    kTogglePlay,
    kSeekBy,  // seconds
    kPreviousEvent,
    kNextEvent,
    kStart,
    kFrameBack,
    kFrameOn,
    kLoopStart,
    kLoopEnd,
    kLoopClear,
    kToggleOverlay,
    kToggleManualCamera,
    kEditingKey,  // handed to the demo (B, L)
    kQuit,
  };
  Kind kind = kNone;
  double seconds = 0.0;
};
KeyAction ActionForKey(int virtualKey, bool shift);

// Waits for a quiet spell after a run of changes: a data generator rewriting the tree
// gives one reload, not one per file.
class Debounce {
 public:
  static constexpr double kQuietSeconds = 0.3;
  void Touch(double now) {
    pending_ = true;
    last_ = now;
  }
  // True once, when changes are pending and none came for the quiet spell.
  bool Due(double now);
  bool Pending() const { return pending_; }

 private:
  bool pending_ = false;
  double last_ = 0.0;
};
