#pragma once
// Input as the demo sees it: Windows-style virtual-key codes, a click notification
// and the asynchronous state of keys, the left button and the cursor.

namespace platform {

// Virtual-key codes the demo uses. Letters and digits are their upper-case ASCII codes.
namespace vk {
constexpr int kLeftButton = 1;
constexpr int kBackspace = 8;
constexpr int kTab = 9;
constexpr int kReturn = 13;
constexpr int kShift = 16;
constexpr int kControl = 17;
constexpr int kAlt = 18;
constexpr int kPause = 19;
constexpr int kEscape = 27;
constexpr int kSpace = 32;
constexpr int kPageUp = 33;
constexpr int kPageDown = 34;
constexpr int kEnd = 35;
constexpr int kHome = 36;
constexpr int kLeft = 37;
constexpr int kUp = 38;
constexpr int kRight = 39;
constexpr int kDown = 40;
constexpr int kF1 = 112;  // F1..F12 are 112..123
constexpr int kLeftShift = 160;
constexpr int kRightShift = 161;
constexpr int kLeftControl = 162;
constexpr int kRightControl = 163;
constexpr int kComma = 188;         // ',' and '<'
constexpr int kPeriod = 190;        // '.' and '>'
constexpr int kLeftBracket = 219;   // '[' and '{'
constexpr int kBackslash = 220;     // '\\' and '|'
constexpr int kRightBracket = 221;  // ']' and '}'
}  // namespace vk

// Receives the window's input events. Both operations do nothing by default.
// Not deleted through this interface, hence no virtual destructor.
class IKeyboardCallback {
 public:
  virtual void Click() {}
  virtual void Key(int virtualKey) { (void)virtualKey; }

 protected:
  ~IKeyboardCallback() = default;
};

// The pointer and the window's size, for a windowed player (the demo itself only
// needs clicks). Coordinates are window pixels from the top left. Every operation
// does nothing by default; not deleted through this interface.
class IPointerCallback {
 public:
  virtual void PointerDown(int x, int y) { (void)x, (void)y; }
  virtual void PointerMove(int x, int y, bool leftHeld) { (void)x, (void)y, (void)leftHeld; }
  virtual void PointerUp(int x, int y) { (void)x, (void)y; }
  virtual void Resized(int width, int height) { (void)width, (void)height; }

 protected:
  ~IPointerCallback() = default;
};

// Asynchronous state, read at the moment of the call (after the last event pump).
bool IsKeyDown(int virtualKey);
// True when the key went down among the events the last PumpEvents took: a press and
// release that both fall between two pumps (a quick tap while a slow frame or the
// loading runs) is seen here although the key is up again.
bool WasKeyPressed(int virtualKey);
// Whether Shift was held when the key the receiver is hearing of (or heard of last)
// went down: the asynchronous state may already have moved on when a quick Shift+key
// arrives in one pump.
bool LastKeyHadShift();
bool IsLeftButtonDown();
void CursorPosition(int& x, int& y);  // screen coordinates
void PrimaryScreenSize(int& width, int& height);

}  // namespace platform
