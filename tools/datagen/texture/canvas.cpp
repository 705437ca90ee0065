#include "datagen/texture/canvas.h"

#include <algorithm>
#include <cmath>

namespace datagen {

float Clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

float Smoothstep(float edge0, float edge1, float x) {
  const float t = Clamp01((x - edge0) / (edge1 - edge0));
  return t * t * (3.0f - 2.0f * t);
}

Color Mix(Color a, Color b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Canvas::Canvas(int width, int height, Color fill)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill) {}

const Color& Canvas::Wrapped(int x, int y) const {
  x %= width_;
  y %= height_;
  if (x < 0) x += width_;
  if (y < 0) y += height_;
  return At(x, y);
}

const Color& Canvas::Clamped(int x, int y) const {
  return At(std::clamp(x, 0, width_ - 1), std::clamp(y, 0, height_ - 1));
}

Color Canvas::Sample(float x, float y) const {
  const float fx = x - 0.5f, fy = y - 0.5f;
  const int x0 = static_cast<int>(std::floor(fx)), y0 = static_cast<int>(std::floor(fy));
  const float tx = fx - static_cast<float>(x0), ty = fy - static_cast<float>(y0);
  const Color top = Mix(Wrapped(x0, y0), Wrapped(x0 + 1, y0), tx);
  const Color bottom = Mix(Wrapped(x0, y0 + 1), Wrapped(x0 + 1, y0 + 1), tx);
  return Mix(top, bottom, ty);
}

void Canvas::Blend(int x, int y, Color c, float coverage) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  const float a = Clamp01(c.a * coverage);
  if (a <= 0) return;
  Color& d = At(x, y);
  const float outA = a + d.a * (1 - a);
  if (outA <= 0) return;
  d.r = (c.r * a + d.r * d.a * (1 - a)) / outA;
  d.g = (c.g * a + d.g * d.a * (1 - a)) / outA;
  d.b = (c.b * a + d.b * d.a * (1 - a)) / outA;
  d.a = outA;
}

void Canvas::Add(int x, int y, Color c, float amount) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  Color& d = At(x, y);
  d.r += c.r * amount;
  d.g += c.g * amount;
  d.b += c.b * amount;
}

void Canvas::ForEach(const std::function<void(int, int, Color&)>& paint) {
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) paint(x, y, At(x, y));
  }
}

namespace {

// Runs coverage(px, py) → 0..1 over the pixels of a bounding box and blends.
template <typename Coverage>
void Shade(Canvas& canvas, float x0, float y0, float x1, float y1, Color colour, Coverage&& coverage) {
  const int ix0 = std::max(0, static_cast<int>(std::floor(x0)) - 1);
  const int iy0 = std::max(0, static_cast<int>(std::floor(y0)) - 1);
  const int ix1 = std::min(canvas.Width(), static_cast<int>(std::ceil(x1)) + 1);
  const int iy1 = std::min(canvas.Height(), static_cast<int>(std::ceil(y1)) + 1);
  for (int y = iy0; y < iy1; ++y) {
    for (int x = ix0; x < ix1; ++x) {
      const float c = coverage(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
      if (c > 0) canvas.Blend(x, y, colour, c);
    }
  }
}

float Overlap(float a0, float a1, float b0, float b1) { return std::max(0.0f, std::min(a1, b1) - std::max(a0, b0)); }

}  // namespace

void Canvas::FillRect(float x0, float y0, float x1, float y1, Color colour) {
  // Exact area coverage, so thin bars and pixel-aligned rectangles stay crisp.
  Shade(*this, x0, y0, x1, y1, colour, [&](float px, float py) {
    return Overlap(px - 0.5f, px + 0.5f, x0, x1) * Overlap(py - 0.5f, py + 0.5f, y0, y1);
  });
}

void Canvas::StrokeRect(float x0, float y0, float x1, float y1, float w, Color colour) {
  FillRect(x0, y0, x1, y0 + w, colour);
  FillRect(x0, y1 - w, x1, y1, colour);
  FillRect(x0, y0 + w, x0 + w, y1 - w, colour);
  FillRect(x1 - w, y0 + w, x1, y1 - w, colour);
}

void Canvas::FillRoundedRect(float x0, float y0, float x1, float y1, float radius, Color colour) {
  const float cx = 0.5f * (x0 + x1), cy = 0.5f * (y0 + y1);
  const float hx = 0.5f * (x1 - x0) - radius, hy = 0.5f * (y1 - y0) - radius;
  Shade(*this, x0, y0, x1, y1, colour, [&](float px, float py) {
    const float qx = std::max(std::fabs(px - cx) - hx, 0.0f), qy = std::max(std::fabs(py - cy) - hy, 0.0f);
    const float inside = std::min(std::max(std::fabs(px - cx) - hx, std::fabs(py - cy) - hy), 0.0f);
    const float distance = std::sqrt(qx * qx + qy * qy) + inside - radius;
    return Clamp01(0.5f - distance);
  });
}

void Canvas::FillCircle(float cx, float cy, float radius, Color colour) {
  Shade(*this, cx - radius, cy - radius, cx + radius, cy + radius, colour, [&](float px, float py) {
    return Clamp01(0.5f - (std::hypot(px - cx, py - cy) - radius));
  });
}

void Canvas::Line(float x0, float y0, float x1, float y1, float w, Color colour) {
  const float dx = x1 - x0, dy = y1 - y0;
  const float length2 = dx * dx + dy * dy;
  const float half = 0.5f * w;
  Shade(*this, std::min(x0, x1) - half, std::min(y0, y1) - half, std::max(x0, x1) + half, std::max(y0, y1) + half,
        colour, [&](float px, float py) {
          float t = length2 > 0 ? ((px - x0) * dx + (py - y0) * dy) / length2 : 0.0f;
          t = Clamp01(t);
          const float distance = std::hypot(px - (x0 + t * dx), py - (y0 + t * dy));
          return Clamp01(half + 0.5f - distance);
        });
}

namespace {

// One box blur of radius r along rows (horizontal) or columns, with running sums, so
// its cost does not grow with the radius. Edges clamp or wrap.
void BoxPass(const std::vector<Color>& in, std::vector<Color>& out, int width, int height, int r, bool horizontal,
             bool wrap) {
  const int length = horizontal ? width : height, lines = horizontal ? height : width;
  const float scale = 1.0f / static_cast<float>(2 * r + 1);
  for (int line = 0; line < lines; ++line) {
    const auto at = [&](int i) -> const Color& {
      if (wrap) {
        i %= length;
        if (i < 0) i += length;
      } else {
        i = std::clamp(i, 0, length - 1);
      }
      const int x = horizontal ? i : line, y = horizontal ? line : i;
      return in[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
    };
    float sr = 0, sg = 0, sb = 0, sa = 0;
    for (int i = -r; i <= r; ++i) {
      const Color& c = at(i);
      sr += c.r, sg += c.g, sb += c.b, sa += c.a;
    }
    for (int i = 0; i < length; ++i) {
      const int x = horizontal ? i : line, y = horizontal ? line : i;
      out[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] =
          Color(sr * scale, sg * scale, sb * scale, sa * scale);
      const Color& add = at(i + r + 1);
      const Color& drop = at(i - r);
      sr += add.r - drop.r, sg += add.g - drop.g, sb += add.b - drop.b, sa += add.a - drop.a;
    }
  }
}

}  // namespace

Canvas Canvas::Blurred(float sigma, bool wrap) const {
  if (sigma <= 0) return *this;
  // Three box blurs in each direction come close to a Gaussian of that deviation.
  const int radius = std::max(1, static_cast<int>(std::lround(0.5f * (std::sqrt(4.0f * sigma * sigma + 1.0f) - 1.0f))));
  // Colours are blurred premultiplied by alpha, so transparent pixels do not bleed
  // their (meaningless) colour into the result.
  std::vector<Color> a(pixels_.size()), b(pixels_.size());
  for (std::size_t i = 0; i < pixels_.size(); ++i) {
    const Color& p = pixels_[i];
    a[i] = Color(p.r * p.a, p.g * p.a, p.b * p.a, p.a);
  }
  for (int pass = 0; pass < 3; ++pass) {
    BoxPass(a, b, width_, height_, radius, true, wrap);
    BoxPass(b, a, width_, height_, radius, false, wrap);
  }
  Canvas out(width_, height_);
  for (std::size_t i = 0; i < a.size(); ++i) {
    const Color& acc = a[i];
    out.pixels_[i] = acc.a > 1e-6f ? Color(acc.r / acc.a, acc.g / acc.a, acc.b / acc.a, std::min(1.0f, acc.a)) : Color(0, 0, 0, 0);
  }
  return out;
}

void Canvas::Composite(const Canvas& source, int x, int y, float opacity) {
  for (int sy = 0; sy < source.height_; ++sy) {
    for (int sx = 0; sx < source.width_; ++sx) Blend(x + sx, y + sy, source.At(sx, sy), opacity);
  }
}

void Canvas::AddGlow(const Canvas& source, int x, int y, float amount) {
  for (int sy = 0; sy < source.height_; ++sy) {
    for (int sx = 0; sx < source.width_; ++sx) {
      const Color& s = source.At(sx, sy);
      Add(x + sx, y + sy, s, s.a * amount);
    }
  }
}

Canvas Canvas::Resized(int width, int height) const {
  Canvas out(width, height);
  const float sx = static_cast<float>(width_) / static_cast<float>(width);
  const float sy = static_cast<float>(height_) / static_cast<float>(height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (sx <= 1.0f && sy <= 1.0f) {
        out.At(x, y) = Sample((static_cast<float>(x) + 0.5f) * sx, (static_cast<float>(y) + 0.5f) * sy);
        continue;
      }
      const int x0 = static_cast<int>(static_cast<float>(x) * sx), x1 = std::max(x0 + 1, static_cast<int>(static_cast<float>(x + 1) * sx));
      const int y0 = static_cast<int>(static_cast<float>(y) * sy), y1 = std::max(y0 + 1, static_cast<int>(static_cast<float>(y + 1) * sy));
      Color acc(0, 0, 0, 0);
      for (int yy = y0; yy < y1; ++yy) {
        for (int xx = x0; xx < x1; ++xx) {
          const Color& p = Clamped(xx, yy);
          acc = Color(acc.r + p.r, acc.g + p.g, acc.b + p.b, acc.a + p.a);
        }
      }
      const float n = static_cast<float>((x1 - x0) * (y1 - y0));
      out.At(x, y) = Color(acc.r / n, acc.g / n, acc.b / n, acc.a / n);
    }
  }
  return out;
}

Image Canvas::ToImage(int bitsPerPixel) const {
  Image image = Image::Allocate(width_, height_, bitsPerPixel);
  const int channels = bitsPerPixel / 8;
  const auto byte = [](float v) { return static_cast<unsigned char>(std::lround(Clamp01(v) * 255.0f)); };
  for (int y = 0; y < height_; ++y) {
    unsigned char* row = image.pixels.get() + static_cast<std::size_t>(height_ - 1 - y) * image.RowBytes();
    for (int x = 0; x < width_; ++x) {
      const Color& p = At(x, y);
      unsigned char* out = row + static_cast<std::size_t>(x) * static_cast<std::size_t>(channels);
      out[0] = byte(p.r);
      out[1] = byte(p.g);
      out[2] = byte(p.b);
      if (channels == 4) out[3] = byte(p.a);
    }
  }
  return image;
}

}  // namespace datagen
