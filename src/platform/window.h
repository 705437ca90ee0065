#pragma once
// The full-screen OpenGL window: display mode switch, GL context, event pump.
#include <string>
#include <vector>

#include "platform/input.h"

struct SDL_Window;

namespace platform {

// What the driver gave when asked for vertical sync: adaptive (waits for the refresh
// only when a frame is on time, tears rather than stalls when late), plain, or none.
enum class VerticalSync { kAdaptive, kOn, kOff };

struct DisplayMode {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
  int refreshRate = 0;  // Hz; 0 when the driver does not know it
};

// Starts the video subsystem once (idempotent); false when no display can be opened.
bool InitVideo();
// Stops the video subsystem again (after the last window is gone).
void QuitVideo();
// The primary display's current (desktop) mode.
bool CurrentDisplayMode(DisplayMode& mode);
// Every mode the primary display offers, in the driver's order (duplicates kept).
std::vector<DisplayMode> DisplayModes();
// The last video error, for log lines.
std::string VideoError();

// One full-screen window with a current compatibility GL context. Every creation
// failure tears the partial window down again; TearDown may run any number of times.
class GlWindow {
 public:
  GlWindow() = default;
  GlWindow(const GlWindow&) = delete;
  GlWindow& operator=(const GlWindow&) = delete;
  ~GlWindow() { TearDown(); }

  // input receives clicks and keys from PumpEvents while the window exists.
  bool Create(IKeyboardCallback* input, int width, int height, int bitsPerPixel, int refreshRate);
  // A resizable window on the desktop instead (the live player): the same context,
  // no mode switch, the cursor shown; pointer gets the pointer and size events.
  bool CreateWindowed(IKeyboardCallback* input, IPointerCallback* pointer, int width, int height,
                      const char* title);
  void TearDown();
  void Present();
  // The size of the drawable in pixels now (a resizable window changes it).
  void DrawableSize(int& width, int& height) const;

  bool IsOpen() const { return window_ != nullptr; }
  // The size the caller draws at: the chosen one. Where the display cannot switch to
  // it (Wayland, a mode the display does not offer or refuses), the window covers the
  // desktop at its own mode instead and Scaled() is true: the caller draws at this
  // size and scales the picture to DrawableSize, rather than the display silently
  // taking another mode.
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Scaled() const { return scaled_; }
  int DepthBits() const { return depthBits_; }
  VerticalSync Sync() const { return sync_; }

 private:
  bool CreateGlWindow(int width, int height, int bitsPerPixel, unsigned flags);
  bool CreateContextAndShow();

  SDL_Window* window_ = nullptr;
  void* context_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  int depthBits_ = 0;
  bool fullScreen_ = false;
  bool ownsWindow_ = false;
  bool scaled_ = false;
  VerticalSync sync_ = VerticalSync::kOff;
};

enum class PumpResult { kContinue, kQuit };

// Empties the event queue: keys and left clicks go to the window's input receiver;
// a quit request (the window manager closing the window, Alt-F4, SIGINT/SIGTERM) ends it.
PumpResult PumpEvents();

}  // namespace platform
