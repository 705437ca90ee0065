#pragma once
// Where the live player puts things in its window: the picture scaled with its aspect
// kept (bars on the sides or above and below), and the timeline strip along the
// bottom with the time under each pixel of it. Window pixels, origin top left.
#include "render/screen_picture.h"

using LiveRect = ScreenRect;

// The picture's place: the largest rectangle of its aspect that fits the window.
inline LiveRect PictureRect(int windowWidth, int windowHeight, int pictureWidth, int pictureHeight) {
  return FitPicture(windowWidth, windowHeight, pictureWidth, pictureHeight);
}

// The strip: 10 pixels from the sides and the bottom, 24 high (smaller windows get
// what is left).
LiveRect StripRect(int windowWidth, int windowHeight);
// The time under window column x on the strip, 0..end, clamped at its ends.
double StripSecondsAt(const LiveRect& strip, int x, double end);
// The column of a time on the strip.
int StripColumnOf(const LiveRect& strip, double seconds, double end);
