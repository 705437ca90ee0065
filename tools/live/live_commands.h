#pragma once
// The live player's command channel: one command a line on standard input, each
// answered with one line on standard output, "ok <what> <time> <milliseconds>" or
// "error <why>". Scripts and tests drive the player through it.
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

struct LiveCommand {
  enum Kind { kSeek, kPlay, kPause, kStep, kLoop, kLoopOff, kShot, kReload, kTime, kQuit };
  Kind kind = kTime;
  double seconds = 0.0;  // seek
  long frames = 0;       // step (negative steps back)
  double loopFrom = 0.0;
  double loopTo = 0.0;
  std::string file;  // shot
};

// The command on one line (surrounding white space ignored), or nullopt with error
// set: an unknown word, missing or extra arguments, a number that is malformed or not
// finite, a negative time, a loop whose end is not after its start.
std::optional<LiveCommand> ParseLiveCommand(const std::string& line, std::string& error);
// The word that names the command in its answer.
const char* LiveCommandName(LiveCommand::Kind kind);

// The answer lines. Times print with three decimals, milliseconds with one.
std::string OkAnswer(const char* what, double seconds, double milliseconds);
std::string ErrorAnswer(const std::string& why);

// Lines of standard input, read on a thread of their own so the frame loop never
// waits for them. The end of the input is reported once, after the last line.
class CommandInput {
 public:
  CommandInput();
  ~CommandInput();
  CommandInput(const CommandInput&) = delete;
  CommandInput& operator=(const CommandInput&) = delete;

  // The next line if one has arrived.
  std::optional<std::string> Poll();
  // True once the input has ended and every line was polled.
  bool Ended();

 private:
  // Shared with the reader, which may outlive this object while it waits for a line
  // that never comes.
  struct Lines {
    std::mutex mutex;
    std::deque<std::string> lines;
    bool ended = false;
  };
  std::shared_ptr<Lines> lines_;
};
