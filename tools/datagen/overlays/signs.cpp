#include "datagen/overlays/signs.h"

#include <cmath>

#include "datagen/overlays/style.h"
#include "datagen/texture/noise.h"

namespace datagen {

Canvas MonitorReadout(Fonts& fonts) {
  const int width = 256, height = 160;
  Canvas c(width, height, Color(0.02f, 0.06f, 0.09f, 1));
  TextStyle mono;
  mono.font = FontStyle::kMono;
  mono.size = 12;
  mono.colour = Color(0.55f, 0.95f, 1.0f, 1);
  const char* const lines[] = {"LINE 3   NOMINAL", "FEED  2.4 M/MIN", "GAS   ARGON 98%", "TEMP  41.2 C"};
  for (int i = 0; i < 4; ++i) DrawText(c, fonts, lines[i], 10, 22.0f + 16.0f * static_cast<float>(i), mono);
  for (int i = 0; i < 12; ++i) {
    const float h = 14.0f + 40.0f * Hash01(i, 0, 33);
    const float x = 12.0f + 19.0f * static_cast<float>(i);
    c.FillRect(x, 150 - h, x + 13, 150, i % 4 == 0 ? style::kAmber : Color(0.3f, 0.85f, 1.0f, 1));
  }
  c.StrokeRect(3, 3, width - 3, height - 3, 2, Color(0.2f, 0.5f, 0.65f, 1));
  return c;
}

Canvas SignLettering(Fonts& fonts, const char* text, int width, int height) {
  Canvas c(width, height, Color(0.05f, 0.03f, 0.02f, 1));
  TextStyle style;
  style.font = FontStyle::kCondensedBold;
  style.size = static_cast<int>(0.7f * static_cast<float>(height));
  style.letterSpacing = height / 10;
  style.colour = Color(1.0f, 0.75f, 0.4f, 1);
  style.size = FitTextSize(fonts, text, style, width - height / 2);
  DrawText(c, fonts, text, 0.5f * static_cast<float>(width), 0.5f * static_cast<float>(height) + 0.36f * style.size,
           style, Align::kCentre);
  return c;
}

}  // namespace datagen
