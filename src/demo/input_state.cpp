#include "demo/input_state.h"

#include "platform/input.h"

namespace {

class PlatformInput final : public IInputState {
 public:
  bool IsKeyDown(int virtualKey) override { return platform::IsKeyDown(virtualKey); }
  bool IsLeftButtonDown() override { return platform::IsLeftButtonDown(); }
  void CursorPosition(int& x, int& y) override { platform::CursorPosition(x, y); }
  void ScreenSize(int& width, int& height) override { platform::PrimaryScreenSize(width, height); }
};

}  // namespace

IInputState& PlatformInputState() {
  static PlatformInput input;
  return input;
}
