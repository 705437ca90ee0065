#pragma once
// A picture drawn at one size shown on a screen (or window) of another: scaled with
// its aspect kept, centred, black bars on the sides or above and below. The demo
// does this where the display cannot switch to the chosen mode, the live player in
// its resizable window.

// Screen pixels, origin top left.
struct ScreenRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool Contains(int px, int py) const { return px >= x && px < x + width && py >= y && py < y + height; }
};

// The largest rectangle of the picture's aspect that fits the screen, centred; empty
// when either size is.
ScreenRect FitPicture(int screenWidth, int screenHeight, int pictureWidth, int pictureHeight);

// Saves the GL state a drawing on top of the demo's frame touches and restores it on
// destruction: the attributes, the three matrices, the bound framebuffer, texture and
// program.
class SavedGlState {
 public:
  SavedGlState();
  ~SavedGlState();
  SavedGlState(const SavedGlState&) = delete;
  SavedGlState& operator=(const SavedGlState&) = delete;

  static void UseProgram(unsigned program);

 private:
  int framebuffer_ = 0;
  int activeTexture_ = 0;
  int texture_ = 0;
  int program_ = 0;
};

// Binds framebuffer 0 and sets up fixed-function drawing in screen pixels, origin top
// left, with depth, lighting and the other per-pixel tests off.
void ScreenCoordinates(int width, int height);

// Clears the screen (framebuffer 0) to black and draws texture into rect, linearly
// filtered; the texture's rows are bottom-up. The GL state is as it was afterwards.
void DrawPictureOnScreen(unsigned texture, const ScreenRect& rect, int screenWidth, int screenHeight);
