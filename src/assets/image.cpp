#include "assets/image.h"

Image Image::Allocate(int width, int height, int bitsPerPixel) {
  Image image;
  image.width = width;
  image.height = height;
  image.bitsPerPixel = bitsPerPixel;
  // Left uninitialised: the decoders overwrite every byte, and a large picture
  // costs no page until it is written.
  image.pixels.reset(new unsigned char[image.Bytes()]);
  return image;
}
