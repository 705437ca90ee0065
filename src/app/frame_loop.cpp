#include "app/frame_loop.h"

#include "platform/input.h"
#include "platform/window.h"

FrameLoopEnvironment PlatformFrameLoopEnvironment() {
  FrameLoopEnvironment environment;
  environment.pumpMessages = [] { return platform::PumpEvents() == platform::PumpResult::kContinue; };
  // Held now, or tapped since the last frame: a quick tap between two slow frames (or
  // during the loading) still ends the run.
  environment.escapeDown = [] {
    return platform::IsKeyDown(platform::vk::kEscape) || platform::WasKeyPressed(platform::vk::kEscape);
  };
  return environment;
}
