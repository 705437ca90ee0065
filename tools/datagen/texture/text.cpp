#include "datagen/texture/text.h"

#include <cmath>

namespace datagen {
namespace {

const char* FileOf(FontStyle style) {
  switch (style) {
    case FontStyle::kSans: return "DejaVuSans.ttf";
    case FontStyle::kSansBold: return "DejaVuSans-Bold.ttf";
    case FontStyle::kCondensed: return "DejaVuSansCondensed.ttf";
    case FontStyle::kCondensedBold: return "DejaVuSansCondensed-Bold.ttf";
    case FontStyle::kMono: return "DejaVuSansMono.ttf";
    case FontStyle::kMonoBold: return "DejaVuSansMono-Bold.ttf";
    case FontStyle::kSerif: return "DejaVuSerif.ttf";
    case FontStyle::kCount: break;
  }
  return "";
}

}  // namespace

bool Fonts::Open(std::string& error, const std::string& folder) {
  for (std::size_t i = 0; i < faces_.size(); ++i) {
    auto face = std::make_unique<platform::FontFace>();
    if (!face->Open(folder + "/" + FileOf(static_cast<FontStyle>(i)), error)) return false;
    faces_[i] = std::move(face);
  }
  return true;
}

platform::FontFace& Fonts::Face(FontStyle style, int size) {
  platform::FontFace& face = *faces_[static_cast<std::size_t>(style)];
  face.SetPixelSize(size);
  return face;
}

int MeasureText(Fonts& fonts, const std::string& text, const TextStyle& style) {
  return fonts.Face(style.font, style.size).MeasureLine(text, style.letterSpacing);
}

int FitTextSize(Fonts& fonts, const std::string& text, TextStyle style, int maxWidth) {
  while (style.size > 6 && MeasureText(fonts, text, style) > maxWidth) --style.size;
  return style.size;
}

int DrawText(Canvas& canvas, Fonts& fonts, const std::string& text, float x, float baseline, const TextStyle& style,
             Align align) {
  platform::FontFace& face = fonts.Face(style.font, style.size);
  platform::TextBitmap bitmap;
  if (!face.RenderLine(text, bitmap, style.letterSpacing)) return 0;
  float left = x;
  if (align == Align::kCentre) left = x - 0.5f * static_cast<float>(bitmap.width);
  if (align == Align::kRight) left = x - static_cast<float>(bitmap.width);
  const int ox = static_cast<int>(std::lround(left));
  const int oy = static_cast<int>(std::lround(baseline)) - bitmap.baseline;
  if (style.glowRadius > 0) {
    const int margin = static_cast<int>(std::ceil(style.glowRadius * 3.0f));
    Canvas glow(bitmap.width + 2 * margin, bitmap.height + 2 * margin);
    for (int y = 0; y < bitmap.height; ++y) {
      for (int x2 = 0; x2 < bitmap.width; ++x2) {
        Color c = style.glowColour;
        c.a = static_cast<float>(bitmap.At(x2, y)) / 255.0f;
        glow.At(x2 + margin, y + margin) = c;
      }
    }
    glow = glow.Blurred(style.glowRadius);
    for (int y = 0; y < glow.Height(); ++y) {
      for (int x2 = 0; x2 < glow.Width(); ++x2) {
        glow.At(x2, y).a = Clamp01(glow.At(x2, y).a * style.glowStrength);
      }
    }
    canvas.Composite(glow, ox - margin, oy - margin);
  }
  for (int y = 0; y < bitmap.height; ++y) {
    for (int x2 = 0; x2 < bitmap.width; ++x2) {
      const std::uint8_t coverage = bitmap.At(x2, y);
      if (coverage != 0) canvas.Blend(ox + x2, oy + y, style.colour, static_cast<float>(coverage) / 255.0f);
    }
  }
  return bitmap.width;
}

}  // namespace datagen
