#pragma once
// Text on canvases, through the DejaVu fonts: lines placed by their baseline, aligned,
// spaced, with an optional soft glow behind them (signs, screens, title cards).
#include <array>
#include <memory>
#include <string>

#include "datagen/texture/canvas.h"
#include "platform/tools/font.h"

namespace datagen {

enum class FontStyle { kSans, kSansBold, kCondensed, kCondensedBold, kMono, kMonoBold, kSerif, kCount };
enum class Align { kLeft, kCentre, kRight };

struct TextStyle {
  FontStyle font = FontStyle::kSans;
  int size = 32;  // em size in pixels
  Color colour = Color(1, 1, 1, 1);
  int letterSpacing = 0;
  float glowRadius = 0;  // Gaussian sigma of a glow behind the letters; 0: none
  Color glowColour = Color(1, 1, 1, 1);
  float glowStrength = 1.0f;
};

// The faces, opened once from the font folder.
class Fonts {
 public:
  static constexpr const char* kDefaultFolder = "/usr/share/fonts/truetype/dejavu";

  // False with error set when a face cannot be opened.
  bool Open(std::string& error, const std::string& folder = kDefaultFolder);
  // The face of that style at that size (the face is shared: set before each use).
  platform::FontFace& Face(FontStyle style, int size);

 private:
  std::array<std::unique_ptr<platform::FontFace>, static_cast<std::size_t>(FontStyle::kCount)> faces_;
};

int MeasureText(Fonts& fonts, const std::string& text, const TextStyle& style);
// The largest size up to style.size at which the text is at most maxWidth wide.
int FitTextSize(Fonts& fonts, const std::string& text, TextStyle style, int maxWidth);

// Draws one line with its baseline at y, starting at x (left), centred on x or
// ending at x (right). Returns the line's width.
int DrawText(Canvas& canvas, Fonts& fonts, const std::string& text, float x, float baseline, const TextStyle& style,
             Align align = Align::kLeft);

}  // namespace datagen
