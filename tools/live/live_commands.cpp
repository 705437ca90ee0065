#include "live/live_commands.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <thread>
#include <vector>

namespace {

std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::istringstream in(line);
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

bool ReadNumber(const std::string& text, double& out) {
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || end == nullptr || *end != '\0' || !std::isfinite(value)) return false;
  out = value;
  return true;
}

bool ReadTime(const std::string& text, double& out, std::string& error) {
  if (!ReadNumber(text, out)) {
    error = "not a time in seconds: " + text;
    return false;
  }
  if (out < 0.0) {
    error = "a time before the start: " + text;
    return false;
  }
  return true;
}

}  // namespace

const char* LiveCommandName(LiveCommand::Kind kind) {
  switch (kind) {
    case LiveCommand::kSeek: return "seek";
    case LiveCommand::kPlay: return "play";
    case LiveCommand::kPause: return "pause";
    case LiveCommand::kStep: return "step";
    case LiveCommand::kLoop: return "loop";
    case LiveCommand::kLoopOff: return "loop-off";
    case LiveCommand::kShot: return "shot";
    case LiveCommand::kReload: return "reload";
    case LiveCommand::kTime: return "time";
    case LiveCommand::kQuit: return "quit";
  }
  return "?";
}

std::optional<LiveCommand> ParseLiveCommand(const std::string& line, std::string& error) {
  const std::vector<std::string> words = Words(line);
  if (words.empty()) {
    error = "empty command";
    return std::nullopt;
  }
  const std::string& verb = words[0];
  const std::size_t arguments = words.size() - 1;
  auto expect = [&](std::size_t count, const char* form) {
    if (arguments == count) return true;
    error = verb + " takes " + form;
    return false;
  };
  LiveCommand command;
  if (verb == "seek") {
    if (!expect(1, "one time in seconds") || !ReadTime(words[1], command.seconds, error)) return std::nullopt;
    command.kind = LiveCommand::kSeek;
  } else if (verb == "play" || verb == "pause" || verb == "reload" || verb == "time" || verb == "quit") {
    if (!expect(0, "no arguments")) return std::nullopt;
    command.kind = verb == "play"     ? LiveCommand::kPlay
                   : verb == "pause"  ? LiveCommand::kPause
                   : verb == "reload" ? LiveCommand::kReload
                   : verb == "time"   ? LiveCommand::kTime
                                      : LiveCommand::kQuit;
  } else if (verb == "step") {
    double frames = 1.0;
    if (arguments > 1 || (arguments == 1 && (!ReadNumber(words[1], frames) || frames != std::floor(frames) ||
                                             std::fabs(frames) > 1e7))) {
      error = "step takes a whole number of frames";
      return std::nullopt;
    }
    command.kind = LiveCommand::kStep;
    command.frames = static_cast<long>(frames);
  } else if (verb == "loop") {
    if (arguments == 1 && words[1] == "off") {
      command.kind = LiveCommand::kLoopOff;
      return command;
    }
    if (!expect(2, "A B in seconds, or off") || !ReadTime(words[1], command.loopFrom, error) ||
        !ReadTime(words[2], command.loopTo, error)) {
      return std::nullopt;
    }
    if (command.loopTo <= command.loopFrom) {
      error = "a loop ends after it starts";
      return std::nullopt;
    }
    command.kind = LiveCommand::kLoop;
  } else if (verb == "shot") {
    // The file name is the rest of the line, so it may hold spaces.
    const std::size_t start = line.find_first_not_of(" \t", line.find("shot") + 4);
    std::string file = start == std::string::npos ? std::string() : line.substr(start);
    while (!file.empty() && (file.back() == ' ' || file.back() == '\t' || file.back() == '\r')) file.pop_back();
    if (file.empty()) {
      error = "shot takes a file name";
      return std::nullopt;
    }
    command.kind = LiveCommand::kShot;
    command.file = file;
  } else {
    error = "unknown command " + verb;
    return std::nullopt;
  }
  return command;
}

std::string OkAnswer(const char* what, double seconds, double milliseconds) {
  char text[128];
  std::snprintf(text, sizeof text, "ok %s %.3f %.1f", what, seconds, milliseconds);
  return text;
}

std::string ErrorAnswer(const std::string& why) {
  std::string line = "error " + why;
  // One answer is one line, whatever the reason holds.
  for (char& c : line) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return line;
}

CommandInput::CommandInput() : lines_(std::make_shared<Lines>()) {
  // Detached: a read blocked on a terminal that never sends another line must not
  // hold up the player's exit.
  std::thread([lines = lines_] {
    for (std::string line; std::getline(std::cin, line);) {
      std::lock_guard<std::mutex> lock(lines->mutex);
      lines->lines.push_back(line);
    }
    std::lock_guard<std::mutex> lock(lines->mutex);
    lines->ended = true;
  }).detach();
}

CommandInput::~CommandInput() = default;

std::optional<std::string> CommandInput::Poll() {
  std::lock_guard<std::mutex> lock(lines_->mutex);
  if (lines_->lines.empty()) return std::nullopt;
  std::string line = std::move(lines_->lines.front());
  lines_->lines.pop_front();
  return line;
}

bool CommandInput::Ended() {
  std::lock_guard<std::mutex> lock(lines_->mutex);
  return lines_->ended && lines_->lines.empty();
}
