#pragma once
// Text rendering through FreeType, for the content builder's pictures (greetings,
// credits, monitor readouts, title cards). One face at one pixel size renders a line
// of UTF-8 text into a coverage bitmap; composing it with colours is the caller's.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// Coverage of a rendered line, 0 (empty) to 255 (covered), rows top-down.
struct TextBitmap {
  int width = 0;
  int height = 0;
  int baseline = 0;  // row of the baseline, counted from the top
  std::vector<std::uint8_t> coverage;

  std::uint8_t At(int x, int y) const {
    return coverage[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
  }
};

class FontFace {
 public:
  FontFace();
  ~FontFace();
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  // Opens a TrueType/OpenType file; false with error set when it cannot be read.
  bool Open(const std::string& path, std::string& error);
  bool IsOpen() const;

  // The em size in pixels; false when the face cannot be scaled to it.
  bool SetPixelSize(int pixels);

  // Metrics of the current size, in pixels.
  int Ascender() const;
  int Descender() const;  // positive: pixels below the baseline
  int LineHeight() const;

  // The advance width of one line (kerning and extra spacing included).
  int MeasureLine(const std::string& utf8, int letterSpacing = 0) const;

  // Renders one line (no line breaks) with extra letterSpacing pixels between glyphs.
  // The bitmap spans the line's advance and the face's ascender and descender; glyph
  // parts that reach past them are clipped. Characters the face lacks render as its
  // missing-glyph box. False when no face is open.
  bool RenderLine(const std::string& utf8, TextBitmap& out, int letterSpacing = 0) const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Code points of UTF-8 text; malformed bytes become U+FFFD.
std::vector<char32_t> DecodeUtf8(const std::string& text);

}  // namespace platform
