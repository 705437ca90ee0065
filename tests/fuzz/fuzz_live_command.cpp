// A line of the live player's command channel: any text is refused with a reason or
// read as a command whose values the player can use as they are.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "live/live_commands.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string line(reinterpret_cast<const char*>(data), size);
  std::string error;
  const std::optional<LiveCommand> command = ParseLiveCommand(line, error);
  if (!command) {
    if (error.empty()) __builtin_trap();
    if (ErrorAnswer(error).find('\n') != std::string::npos) __builtin_trap();
    return 0;
  }
  switch (command->kind) {
    case LiveCommand::kSeek:
      if (!std::isfinite(command->seconds) || command->seconds < 0.0) __builtin_trap();
      break;
    case LiveCommand::kLoop:
      if (!std::isfinite(command->loopFrom) || !std::isfinite(command->loopTo) || command->loopFrom < 0.0 ||
          command->loopTo <= command->loopFrom) {
        __builtin_trap();
      }
      break;
    case LiveCommand::kShot:
      if (command->file.empty()) __builtin_trap();
      break;
    default:
      break;
  }
  return 0;
}
