#pragma once
// A framebuffer of a fixed size that the demo is drawn into and read back from: RGBA8
// colour (a renderbuffer, or a texture another pass can draw from) and a 24-bit depth
// buffer. drift-capture, the live player and the demo scaled to a screen of another
// size all draw into the same kind, so their pixels agree.
#include <string>

#include "assets/image.h"

struct PictureTarget {
  unsigned framebuffer = 0;
  unsigned colourTexture = 0;       // 0 when the colour is a renderbuffer
  unsigned colourRenderbuffer = 0;  // 0 when the colour is a texture
  unsigned depth = 0;
  int width = 0;
  int height = 0;
};

// Needs a current GL context; leaves framebuffer 0 bound. False with error set when
// the driver cannot make a complete framebuffer of that size (what was made is
// deleted again).
bool CreatePictureTarget(PictureTarget& target, int width, int height, bool colourTexture, std::string& error);
// Deletes what exists and zeroes the record; a second call does nothing.
void DeletePictureTarget(PictureTarget& target);
// The picture as 24 bits, rows bottom-up, the target's size (picture is reallocated
// only when it does not fit). The framebuffer bound before stays bound.
void ReadPictureTarget(const PictureTarget& target, Image& picture);
