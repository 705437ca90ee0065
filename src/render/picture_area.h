#pragma once
// The rows of the screen that the mask overlay leaves visible. The mask's letterbox bars
// are fully opaque, so whatever the scene draws under them is never seen: the frame draws
// the scene into the visible rows only (a fifth of the pixels at 1280×720 are bars).

// Window rows [bottom, top), counted from the bottom as GL does. An area with
// top <= bottom stands for the whole screen.
struct PictureRows {
  int bottom = 0;
  int top = 0;

  bool IsWholeScreen(int screenHeight) const { return top <= bottom || (bottom <= 0 && top >= screenHeight); }
};

// The visible rows for a screen of screenHeight rows, from the mask's alpha: texHeight
// rows of texWidth bytes, row 0 first as uploaded (drawn at the bottom of the screen).
// The mask is stretched over the screen with nearest filtering, so window row y shows
// texture row floor((y + 0.5) / screenHeight · texHeight); a row counts as covered only
// when every texel of that texture row is fully opaque. Returns the rows between the
// covered runs at the bottom and the top, or the whole screen when the mask covers
// everything or the input is empty.
PictureRows VisibleRows(const unsigned char* alpha, int texWidth, int texHeight, int screenHeight);

// Reads the mask texture's alpha back (once, after loading) and applies VisibleRows.
// No texture (0): the whole screen.
PictureRows MaskVisibleRows(unsigned maskTexture, int screenHeight);
