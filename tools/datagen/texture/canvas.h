#pragma once
// A floating-point RGBA picture to paint textures and cards on. Rows run top-down
// (y = 0 is the top, as one draws); ToImage turns it into the program's bottom-up
// Image, so t = 0 of a texture is the bottom row of what was painted.
#include <cstddef>
#include <functional>
#include <vector>

#include "assets/image.h"

namespace datagen {

struct Color {
  float r = 0, g = 0, b = 0, a = 1;
  constexpr Color() = default;
  constexpr Color(float r_, float g_, float b_, float a_ = 1.0f) : r(r_), g(g_), b(b_), a(a_) {}
  // From 0..255 components.
  static constexpr Color Bytes(int r, int g, int b, int a = 255) {
    return Color(static_cast<float>(r) / 255.0f, static_cast<float>(g) / 255.0f, static_cast<float>(b) / 255.0f,
                 static_cast<float>(a) / 255.0f);
  }
};

inline Color operator*(Color c, float s) { return {c.r * s, c.g * s, c.b * s, c.a}; }
inline Color operator*(Color a, Color b) { return {a.r * b.r, a.g * b.g, a.b * b.b, a.a * b.a}; }
inline Color operator+(Color a, Color b) { return {a.r + b.r, a.g + b.g, a.b + b.b, a.a}; }
// Colour mix by t (alpha mixed too).
Color Mix(Color a, Color b, float t);
float Clamp01(float v);
float Smoothstep(float edge0, float edge1, float x);

class Canvas {
 public:
  Canvas() = default;
  Canvas(int width, int height, Color fill = Color(0, 0, 0, 0));

  int Width() const { return width_; }
  int Height() const { return height_; }
  Color& At(int x, int y) { return pixels_[Index(x, y)]; }
  const Color& At(int x, int y) const { return pixels_[Index(x, y)]; }
  // Wraps coordinates around (tiling textures) / clamps them to the edge.
  const Color& Wrapped(int x, int y) const;
  const Color& Clamped(int x, int y) const;
  // Bilinear sample at pixel coordinates (centres at .5), wrapping.
  Color Sample(float x, float y) const;

  // Paints colour over the pixel with coverage (0..1) times the colour's alpha:
  // the usual "over" compositing, alpha included.
  void Blend(int x, int y, Color colour, float coverage = 1.0f);
  // Adds colour × amount to the pixel's RGB (light, glows).
  void Add(int x, int y, Color colour, float amount = 1.0f);

  // Calls paint(x, y, pixel) for every pixel, top row first.
  void ForEach(const std::function<void(int x, int y, Color& pixel)>& paint);

  // Shapes, anti-aliased, blended over what is there. Rectangles span [x0, x1) × [y0, y1).
  void FillRect(float x0, float y0, float x1, float y1, Color colour);
  void StrokeRect(float x0, float y0, float x1, float y1, float width, Color colour);
  void FillRoundedRect(float x0, float y0, float x1, float y1, float radius, Color colour);
  void FillCircle(float cx, float cy, float radius, Color colour);
  void Line(float x0, float y0, float x1, float y1, float width, Color colour);

  // A copy blurred by (nearly) a Gaussian of that standard deviation (edges clamp; or wrap for
  // tiling textures).
  Canvas Blurred(float sigma, bool wrap = false) const;
  // Paints another canvas over this one at (x, y) with its alpha times opacity.
  void Composite(const Canvas& source, int x, int y, float opacity = 1.0f);
  // Adds another canvas's RGB weighted by its alpha (for glows).
  void AddGlow(const Canvas& source, int x, int y, float amount);
  // A copy resized by box filtering (downscale) or bilinear sampling (upscale).
  Canvas Resized(int width, int height) const;

  // 24 (RGB) or 32 (RGBA) bits per pixel, bottom row first; values clamped to 0..1.
  Image ToImage(int bitsPerPixel) const;

 private:
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
  }
  int width_ = 0;
  int height_ = 0;
  std::vector<Color> pixels_;
};

}  // namespace datagen
