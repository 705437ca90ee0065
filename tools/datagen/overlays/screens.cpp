// The screen-filling pictures: the cinematic mask over every frame ("mask" for screens
// up to 1024 wide, "mask_big" for wider ones), the loading picture designed around the
// progress bar, and the start dialog's banner.
#include <algorithm>
#include <cmath>
#include <string>

#include "datagen/pipeline/context.h"
#include "datagen/steps.h"
#include "datagen/overlays/style.h"
#include "datagen/texture/noise.h"

namespace datagen {
namespace {

// Black, transparent in the middle: letterbox bars to the given picture aspect on a
// screen of the given aspect, and a soft vignette toward the corners. The mask is
// stretched with nearest filtering, so it holds no fine detail.
Canvas Mask(int width, int height, float screenAspect, float pictureAspect) {
  Canvas c(width, height);
  const float bar = std::max(0.0f, 0.5f * (1.0f - screenAspect / pictureAspect));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const float u = (static_cast<float>(x) + 0.5f) / static_cast<float>(width) * 2.0f - 1.0f;
      const float v = (static_cast<float>(y) + 0.5f) / static_cast<float>(height);
      float a = (v < bar || v > 1.0f - bar) ? 1.0f : 0.0f;
      const float vv = (v - 0.5f) * 2.0f;
      const float r = std::sqrt(u * u * 0.8f + vv * vv * 0.6f);
      a = std::max(a, 0.55f * Smoothstep(0.75f, 1.35f, r));
      c.At(x, y) = Color(0, 0, 0, a);
    }
  }
  return c;
}

}  // namespace

bool BuildMasks(Context& context) {
  return context.WriteTexture("mask", Mask(1024, 768, 4.0f / 3.0f, 1.85f), 32) &&
         context.WriteTexture("mask_big", Mask(1920, 1080, 16.0f / 9.0f, 2.2f), 32);
}

bool BuildLoaderPicture(Context& context) {
  const int width = 1920, height = 1080;
  Canvas c(width, height, style::kDeep);
  // A blueprint: fine grid, a vignette, faint outlines of the hall's trusses.
  c.ForEach([&](int x, int y, Color& p) {
    const float u = static_cast<float>(x) / width, v = static_cast<float>(y) / height;
    const bool minor = x % 40 == 0 || y % 40 == 0, major = x % 200 == 0 || y % 200 == 0;
    const float grid = major ? 0.10f : (minor ? 0.035f : 0.0f);
    const float du = u - 0.5f, dv = v - 0.45f;
    const float glow = 0.10f * std::exp(-(du * du * 3.0f + dv * dv * 6.0f));
    const float grain = 0.012f * (Hash01(x, y, 3) - 0.5f);
    p = Color(p.r + grid * 0.3f + glow * 0.4f + grain, p.g + grid * 0.7f + glow * 0.8f + grain, p.b + grid + glow + grain, 1);
  });
  for (int i = 0; i < 9; ++i) {
    const float x = 160.0f + 200.0f * static_cast<float>(i);
    c.Line(x, 260, x + 100, 180, 1.5f, Color(0.3f, 0.6f, 0.8f, 0.25f));
    c.Line(x + 100, 180, x + 200, 260, 1.5f, Color(0.3f, 0.6f, 0.8f, 0.25f));
  }
  c.Line(160, 260, 1960, 260, 1.5f, Color(0.3f, 0.6f, 0.8f, 0.25f));
  Fonts& fonts = context.TextFonts();
  TextStyle title;
  title.font = FontStyle::kSansBold;
  title.size = 220;
  title.letterSpacing = 50;
  title.colour = style::kInk;
  title.glowRadius = 18;
  title.glowColour = style::kCyan;
  title.glowStrength = 1.2f;
  DrawText(c, fonts, style::kTitle, 0.5f * width + 25, 560, title, Align::kCentre);
  TextStyle sub;
  sub.font = FontStyle::kSans;
  sub.size = 34;
  sub.letterSpacing = 16;
  sub.colour = style::kCyan;
  DrawText(c, fonts, std::string(style::kGroup) + "  \u00b7  A REAL-TIME DEMO", 0.5f * width, 640, sub, Align::kCentre);
  // The progress bar's track: x 25.23 % to 74.92 %, 86.5 % down, where the program
  // draws the bar; a dark groove with a thin outline, and the label above it.
  const float x0 = 0.2523f * width, x1 = 0.7492f * width, y = 0.865f * height;
  c.FillRect(x0 - 6, y - 7, x1 + 6, y + 8, Color(0.0f, 0.0f, 0.0f, 1));
  c.StrokeRect(x0 - 7, y - 8, x1 + 7, y + 9, 1.0f, Color(0.2f, 0.45f, 0.6f, 1));
  TextStyle label;
  label.font = FontStyle::kMono;
  label.size = 24;
  label.letterSpacing = 6;
  label.colour = Color(0.5f, 0.75f, 0.9f, 1);
  DrawText(c, fonts, "LOADING THE FACTORY", x0, y - 24, label);
  DrawText(c, fonts, "UNIT 7", x1, y - 24, label, Align::kRight);
  return context.Tree().WriteImage("loader.jpg", c.ToImage(24), 92);
}

bool WriteSetupPicture(Context& context, const std::string& path) {
  const int width = 400, height = 150;
  Canvas c(width, height, style::kDeep);
  c.ForEach([&](int x, int y, Color& p) {
    const float v = static_cast<float>(y) / height;
    const bool grid = x % 20 == 0 || y % 20 == 0;
    p = Color(p.r + 0.05f * (1 - v), p.g + 0.12f * (1 - v) + (grid ? 0.04f : 0), p.b + 0.2f * (1 - v) + (grid ? 0.06f : 0), 1);
  });
  TextStyle title;
  title.font = FontStyle::kSansBold;
  title.size = 64;
  title.letterSpacing = 16;
  title.colour = style::kInk;
  title.glowRadius = 6;
  title.glowColour = style::kCyan;
  DrawText(c, context.TextFonts(), style::kTitle, 0.5f * width + 8, 88, title, Align::kCentre);
  TextStyle sub;
  sub.font = FontStyle::kSans;
  sub.size = 13;
  sub.letterSpacing = 5;
  sub.colour = style::kCyan;
  DrawText(c, context.TextFonts(), std::string("A REAL-TIME DEMO BY ") + style::kGroup, 0.5f * width, 122, sub,
           Align::kCentre);
  c.FillRect(0, height - 3, width, height, Color(0.35f, 0.85f, 1.0f, 0.8f));
  if (!EncodeJpeg(path, c.ToImage(24), 92)) return context.Tree().Fail("cannot write the picture '" + path + "'");
  return true;
}

}  // namespace datagen
