#include "app/frame_loop.h"

#include "platform/input.h"
#include "platform/window.h"

FrameLoopEnvironment PlatformFrameLoopEnvironment() {
  FrameLoopEnvironment environment;
  environment.pumpMessages = [] { return platform::PumpEvents() == platform::PumpResult::kContinue; };
  environment.escapeDown = [] { return platform::IsKeyDown(platform::vk::kEscape); };
  return environment;
}
