#pragma once
// Pixel images and the PNG and JPEG files they are read from and written to.
//
// Pixels are bottom-up, as OpenGL expects them: the first row in memory is the
// bottom row of the picture; rows are packed without padding. 8 bits per pixel is
// one grey value, 24 bits R, G, B, 32 bits R, G, B, A.
#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>

struct Image {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
  std::unique_ptr<unsigned char[]> pixels;  // null for an empty image

  std::size_t RowBytes() const { return static_cast<std::size_t>(width) * (bitsPerPixel / 8); }
  std::size_t Bytes() const { return RowBytes() * static_cast<std::size_t>(height); }
  // An uninitialised image of that size (width and height at least 1).
  static Image Allocate(int width, int height, int bitsPerPixel);
};

// Widest and tallest picture the decoders accept: the largest texture OpenGL
// implementations commonly take, and a bound on what a forged header can make the
// decoder allocate.
constexpr int kMaxImageSide = 16384;

// PNG: 8-bit grey (8 bits per pixel), RGB (24) and RGBA (32) are read as stored.
// Other kinds are converted: palette images to RGB (RGBA when the palette has
// transparency), grey with alpha to RGBA, 1/2/4-bit grey to 8 bits, 16-bit channels
// to 8. On failure, false, a line naming the file on standard error, and image is
// left as it was.
bool DecodePng(const std::string& path, Image& image);
// The same from an open stream (not closed); name is used in messages only.
bool DecodePngStream(std::FILE* file, const std::string& name, Image& image,
                     int maxSide = kMaxImageSide);

// JPEG: always 24 bits per pixel (R, G, B); grey and CMYK files are converted. A file
// that cannot be opened writes "can't open <path>" to standard error; a corrupt one
// writes the library's message there. On failure, false and image is left as it was.
bool DecodeJpeg(const std::string& path, Image& image);
bool DecodeJpegStream(std::FILE* file, const std::string& name, Image& image,
                      int maxSide = kMaxImageSide);

// Writers for the same formats, taking the same bottom-up layout. PNG takes 8, 24 and
// 32 bits per pixel; JPEG takes 8 (written as a grey file) and 24. False (and a line
// on standard error) when the image is not writable or the file cannot be written.
enum class PngCompression { kSmallest, kFast };
bool EncodePng(const std::string& path, const Image& image,
               PngCompression compression = PngCompression::kSmallest);
bool EncodeJpeg(const std::string& path, const Image& image, int quality = 90);
