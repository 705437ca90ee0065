#include "platform/tools/font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>

namespace platform {

struct FontFace::State {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
};

FontFace::FontFace() : state_(std::make_unique<State>()) {}

FontFace::~FontFace() {
  if (state_->face != nullptr) FT_Done_Face(state_->face);
  if (state_->library != nullptr) FT_Done_FreeType(state_->library);
}

bool FontFace::Open(const std::string& path, std::string& error) {
  if (state_->library == nullptr && FT_Init_FreeType(&state_->library) != 0) {
    state_->library = nullptr;
    error = "FreeType could not be initialised";
    return false;
  }
  if (state_->face != nullptr) {
    FT_Done_Face(state_->face);
    state_->face = nullptr;
  }
  if (FT_New_Face(state_->library, path.c_str(), 0, &state_->face) != 0) {
    state_->face = nullptr;
    error = "can't open font " + path;
    return false;
  }
  return true;
}

bool FontFace::IsOpen() const { return state_->face != nullptr; }

bool FontFace::SetPixelSize(int pixels) {
  return IsOpen() && pixels > 0 && FT_Set_Pixel_Sizes(state_->face, 0, static_cast<FT_UInt>(pixels)) == 0;
}

int FontFace::Ascender() const {
  return IsOpen() ? static_cast<int>((state_->face->size->metrics.ascender + 63) >> 6) : 0;
}

int FontFace::Descender() const {
  return IsOpen() ? static_cast<int>((-state_->face->size->metrics.descender + 63) >> 6) : 0;
}

int FontFace::LineHeight() const {
  return IsOpen() ? static_cast<int>((state_->face->size->metrics.height + 63) >> 6) : 0;
}

namespace {

// Walks the glyphs of a line: the pen position (26.6 fixed point) of each glyph,
// kerning included, and the line's total advance.
template <typename Visit>
FT_Pos WalkLine(FT_Face face, const std::vector<char32_t>& codes, int letterSpacing, Visit&& visit) {
  FT_Pos pen = 0;
  FT_UInt previous = 0;
  const bool kerning = FT_HAS_KERNING(face);
  for (std::size_t i = 0; i < codes.size(); ++i) {
    const FT_UInt glyph = FT_Get_Char_Index(face, codes[i]);
    if (kerning && previous != 0 && glyph != 0) {
      FT_Vector delta;
      if (FT_Get_Kerning(face, previous, glyph, FT_KERNING_DEFAULT, &delta) == 0) pen += delta.x;
    }
    if (FT_Load_Glyph(face, glyph, FT_LOAD_DEFAULT) != 0) continue;
    visit(glyph, pen);
    pen += face->glyph->advance.x;
    if (i + 1 < codes.size()) pen += static_cast<FT_Pos>(letterSpacing) * 64;
    previous = glyph;
  }
  return pen;
}

}  // namespace

int FontFace::MeasureLine(const std::string& utf8, int letterSpacing) const {
  if (!IsOpen()) return 0;
  const FT_Pos advance = WalkLine(state_->face, DecodeUtf8(utf8), letterSpacing, [](FT_UInt, FT_Pos) {});
  return static_cast<int>((advance + 63) >> 6);
}

bool FontFace::RenderLine(const std::string& utf8, TextBitmap& out, int letterSpacing) const {
  if (!IsOpen()) return false;
  FT_Face face = state_->face;
  const std::vector<char32_t> codes = DecodeUtf8(utf8);
  const FT_Pos advance = WalkLine(face, codes, letterSpacing, [](FT_UInt, FT_Pos) {});
  out.width = std::max(1, static_cast<int>((advance + 63) >> 6));
  out.baseline = Ascender();
  out.height = std::max(1, Ascender() + Descender());
  out.coverage.assign(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height), 0);
  WalkLine(face, codes, letterSpacing, [&](FT_UInt, FT_Pos pen) {
    if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) return;
    const FT_Bitmap& bitmap = face->glyph->bitmap;
    const int left = static_cast<int>((pen + 32) >> 6) + face->glyph->bitmap_left;
    const int top = out.baseline - face->glyph->bitmap_top;
    for (unsigned row = 0; row < bitmap.rows; ++row) {
      const int y = top + static_cast<int>(row);
      if (y < 0 || y >= out.height) continue;
      for (unsigned column = 0; column < bitmap.width; ++column) {
        const int x = left + static_cast<int>(column);
        if (x < 0 || x >= out.width) continue;
        const std::uint8_t value = bitmap.buffer[static_cast<int>(row) * bitmap.pitch + static_cast<int>(column)];
        std::uint8_t& cell = out.coverage[static_cast<std::size_t>(y) * static_cast<std::size_t>(out.width) +
                                          static_cast<std::size_t>(x)];
        cell = std::max(cell, value);
      }
    }
  });
  return true;
}

std::vector<char32_t> DecodeUtf8(const std::string& text) {
  std::vector<char32_t> codes;
  const std::size_t size = text.size();
  std::size_t i = 0;
  while (i < size) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    std::size_t extra = 0;
    char32_t code = lead;
    if (lead >= 0xF0 && lead < 0xF8) {
      extra = 3;
      code = lead & 0x07;
    } else if (lead >= 0xE0 && lead < 0xF0) {
      extra = 2;
      code = lead & 0x0F;
    } else if (lead >= 0xC0 && lead < 0xE0) {
      extra = 1;
      code = lead & 0x1F;
    } else if (lead >= 0x80) {
      extra = size;  // a stray continuation byte or an invalid lead
    }
    bool valid = extra < size - i;
    for (std::size_t k = 1; valid && k <= extra; ++k) {
      const unsigned char next = static_cast<unsigned char>(text[i + k]);
      valid = (next & 0xC0) == 0x80;
      code = (code << 6) | (next & 0x3F);
    }
    if (valid || extra == 0) {
      codes.push_back(code);
      i += extra + 1;
    } else {
      codes.push_back(0xFFFD);
      ++i;
    }
  }
  return codes;
}

}  // namespace platform
