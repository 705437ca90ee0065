#pragma once
// Where the live player puts things in its window: the picture scaled with its aspect
// kept (bars on the sides or above and below), and the timeline strip along the
// bottom with the time under each pixel of it. Window pixels, origin top left.

struct LiveRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool Contains(int px, int py) const { return px >= x && px < x + width && py >= y && py < y + height; }
};

// The largest rectangle of the picture's aspect that fits the window, centred.
LiveRect PictureRect(int windowWidth, int windowHeight, int pictureWidth, int pictureHeight);

// The strip: 10 pixels from the sides and the bottom, 24 high (smaller windows get
// what is left).
LiveRect StripRect(int windowWidth, int windowHeight);
// The time under window column x on the strip, 0..end, clamped at its ends.
double StripSecondsAt(const LiveRect& strip, int x, double end);
// The column of a time on the strip.
int StripColumnOf(const LiveRect& strip, double seconds, double end);
