#pragma once
// The asynchronous input the manual camera polls every frame: key and button state
// and the cursor, read at the moment of the call. The demo reads the window layer's
// state; tests hand in their own.

class IInputState {
 public:
  // Windows-style virtual-key codes (platform/input.h).
  virtual bool IsKeyDown(int virtualKey) = 0;
  virtual bool IsLeftButtonDown() = 0;
  // Screen coordinates.
  virtual void CursorPosition(int& x, int& y) = 0;
  virtual void ScreenSize(int& width, int& height) = 0;

 protected:
  ~IInputState() = default;
};

// The window layer's state (platform/input.h); one instance for the process.
IInputState& PlatformInputState();
