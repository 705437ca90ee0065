// The texture kit: noise that repeats exactly and is the same on every run, a canvas
// that paints, blurs and hands pictures over bottom-up, normal maps, and text.
#include <gtest/gtest.h>

#include <cmath>

#include "datagen/texture/noise.h"
#include "datagen/texture/surfaces.h"
#include "datagen/texture/text.h"

namespace {

using namespace datagen;

TEST(Noise, IsAPureFunctionThatTilesOverItsPeriod) {
  EXPECT_EQ(Hash01(3, 4, 7), Hash01(3, 4, 7));
  EXPECT_NE(Hash01(3, 4, 7), Hash01(4, 3, 7));
  EXPECT_NE(Hash01(3, 4, 7), Hash01(3, 4, 8));
  for (float x : {0.0f, 0.37f, 2.5f}) {
    EXPECT_FLOAT_EQ(ValueNoise(x, 1.25f, 8, 1), ValueNoise(x + 8.0f, 1.25f, 8, 1));
    EXPECT_FLOAT_EQ(ValueNoise(x, 1.25f, 8, 1), ValueNoise(x, 9.25f, 8, 1));
  }
  // A tiling texture's left edge continues its right edge.
  EXPECT_NEAR(Fbm(0.0f, 0.3f, 4, 5, 9), Fbm(1.0f, 0.3f, 4, 5, 9), 1e-5f);
  float nearest = 0, second = 0;
  Cellular(0.5f, 0.5f, 4, 2, nearest, second);
  EXPECT_LE(nearest, second);
  float n2 = 0, s2 = 0;
  Cellular(1.5f, 0.5f, 4, 2, n2, s2);
  EXPECT_NEAR(nearest, n2, 1e-4f);
  for (int i = 0; i < 200; ++i) {
    const float v = Fbm(static_cast<float>(i) * 0.013f, 0.7f, 3, 4, 5);
    EXPECT_GE(v, 0.0f);
    EXPECT_LE(v, 1.0f);
  }
}

TEST(Canvas, HandsPicturesOverBottomRowFirst) {
  Canvas c(4, 3, Color(0, 0, 1, 1));
  c.FillRect(0, 0, 4, 1, Color(1, 0, 0, 1));  // the top row
  const Image image = c.ToImage(24);
  ASSERT_EQ(image.width, 4);
  const unsigned char* lastRow = image.pixels.get() + 2 * image.RowBytes();
  EXPECT_EQ(lastRow[0], 255);
  EXPECT_EQ(lastRow[2], 0);
  EXPECT_EQ(image.pixels[0], 0);  // the bottom row stays blue
  EXPECT_EQ(image.pixels[2], 255);
  EXPECT_EQ(c.ToImage(32).bitsPerPixel, 32);
}

TEST(Canvas, ShapesCoverExactlyAndBlendOver) {
  Canvas c(8, 8, Color(0, 0, 0, 0));
  c.FillRect(2, 2, 4, 4, Color(1, 1, 1, 1));
  EXPECT_FLOAT_EQ(c.At(2, 2).a, 1.0f);
  EXPECT_FLOAT_EQ(c.At(4, 4).a, 0.0f);
  c.FillRect(5.5f, 0, 6, 1, Color(1, 1, 1, 1));  // half a pixel wide
  EXPECT_NEAR(c.At(5, 0).a, 0.5f, 1e-5f);
  Canvas d(2, 2, Color(0, 0, 1, 1));
  d.Blend(0, 0, Color(1, 0, 0, 0.25f));
  EXPECT_NEAR(d.At(0, 0).r, 0.25f, 1e-5f);
  EXPECT_NEAR(d.At(0, 0).b, 0.75f, 1e-5f);
  EXPECT_FLOAT_EQ(d.At(0, 0).a, 1.0f);
  d.Blend(-1, 5, Color(1, 1, 1, 1));  // outside: ignored
}

TEST(Canvas, BlurKeepsFlatAreasAndDoesNotBleedTransparentColour) {
  Canvas flat(16, 16, Color(0.3f, 0.6f, 0.9f, 1));
  const Canvas blurred = flat.Blurred(2.0f, true);
  EXPECT_NEAR(blurred.At(0, 0).g, 0.6f, 1e-4f);
  EXPECT_NEAR(blurred.At(8, 8).b, 0.9f, 1e-4f);
  // White letters on transparent black: the halo stays white, only its alpha fades.
  Canvas glyph(16, 16, Color(0, 0, 0, 0));
  glyph.FillRect(6, 6, 10, 10, Color(1, 1, 1, 1));
  const Canvas halo = glyph.Blurred(2.0f);
  EXPECT_GT(halo.At(4, 8).a, 0.0f);
  EXPECT_NEAR(halo.At(4, 8).r, 1.0f, 1e-4f);
}

TEST(Surfaces, NormalMapsFollowTheSlope) {
  Canvas flat(8, 8, Color(0.5f, 0, 0, 1));
  const Canvas up = NormalMap(flat, 4.0f);
  EXPECT_NEAR(up.At(3, 3).r, 0.5f, 1e-5f);
  EXPECT_NEAR(up.At(3, 3).b, 1.0f, 1e-5f);
  Canvas ramp(8, 8);
  ramp.ForEach([](int x, int, Color& p) { p = Color(0.1f * static_cast<float>(x), 0, 0, 1); });
  const Canvas tilted = NormalMap(ramp, 4.0f);
  EXPECT_LT(tilted.At(3, 3).r, 0.5f);  // rising to +x: the normal leans to -x
  EXPECT_NEAR(tilted.At(3, 3).g, 0.5f, 1e-5f);
}

TEST(Surfaces, EveryPaintedSurfaceTilesAndStaysInRange) {
  const Surface surfaces[] = {ConcreteFloor(64, 1), CladdingWall(64, 2), PaintedSteel(64, 3), HazardStripes(64, 4),
                              Grating(64, 5),       TreadPlate(64, 6),   DoorPlate(64, 7),    CorridorPanels(64, 8),
                              RoofDeck(64, 9),      BrushedMetal(64, 10), GlassPane(64, 11)};
  for (const Surface& s : surfaces) {
    ASSERT_EQ(s.colour.Width(), 64);
    for (int y = 0; y < 64; ++y) {
      for (int x = 0; x < 64; ++x) {
        const Color& c = s.colour.At(x, y);
        ASSERT_TRUE(c.r >= 0 && c.r <= 1.001f && c.g >= 0 && c.b >= 0) << x << "," << y;
      }
    }
  }
  const Canvas pool = LightPool(32);
  EXPECT_GT(pool.At(16, 16).a, 0.9f);
  EXPECT_LT(pool.At(0, 0).a, 0.01f);
}

TEST(Text, RendersLegibleLinesWithTheDejaVuFonts) {
  Fonts fonts;
  std::string error;
  ASSERT_TRUE(fonts.Open(error)) << error;
  TextStyle style;
  style.size = 40;
  const int narrow = MeasureText(fonts, "ab", style);
  const int wide = MeasureText(fonts, "abcdef", style);
  EXPECT_GT(narrow, 20);
  EXPECT_GT(wide, 2 * narrow);
  style.letterSpacing = 10;
  EXPECT_EQ(MeasureText(fonts, "abcdef", style), wide + 50);
  EXPECT_LE(MeasureText(fonts, "abcdef", TextStyle{style.font, FitTextSize(fonts, "abcdef", style, 100), {}, 10}), 100);

  Canvas c(200, 60, Color(0, 0, 0, 0));
  const int width = DrawText(c, fonts, "Drift", 100, 45, TextStyle{FontStyle::kSansBold, 40}, Align::kCentre);
  EXPECT_GT(width, 60);
  int covered = 0, leftOfText = 0;
  for (int y = 0; y < 60; ++y) {
    for (int x = 0; x < 200; ++x) {
      if (c.At(x, y).a > 0.5f) {
        ++covered;
        if (x < 100 - width / 2 - 2) ++leftOfText;
      }
    }
  }
  EXPECT_GT(covered, 300);
  EXPECT_EQ(leftOfText, 0);
  EXPECT_FALSE(Fonts().Open(error, "/nonexistent"));
  EXPECT_NE(error.find("/nonexistent"), std::string::npos);
}

TEST(Text, DecodesUtf8AndReplacesBrokenBytes) {
  EXPECT_EQ(platform::DecodeUtf8("a\xc2\xb7" "b"), (std::vector<char32_t>{'a', 0xB7, 'b'}));
  EXPECT_EQ(platform::DecodeUtf8("\xe2\x82\xac"), (std::vector<char32_t>{0x20AC}));
  EXPECT_EQ(platform::DecodeUtf8("\xff" "a"), (std::vector<char32_t>{0xFFFD, 'a'}));
  EXPECT_EQ(platform::DecodeUtf8("\xe2\x82"), (std::vector<char32_t>{0xFFFD, 0xFFFD}));
}

}  // namespace
