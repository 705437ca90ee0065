// The cards drawn over the picture: the credits on the banner ("kestrel", "marlin",
// "osprey"), the four full-screen boards ("title1", "title2", "soon", "endscreen"),
// all on transparent backgrounds with glowing letters (the boards also feed the glow
// image, so their light blooms).
#include <algorithm>
#include <string>

#include "datagen/pipeline/context.h"
#include "datagen/steps.h"
#include "datagen/overlays/style.h"

namespace datagen {
namespace {

TextStyle Glowing(FontStyle font, int size, Color colour, Color glow, float radius) {
  TextStyle t;
  t.font = font;
  t.size = size;
  t.colour = colour;
  t.glowColour = glow;
  t.glowRadius = radius;
  t.glowStrength = 1.4f;
  return t;
}

// A credit: the role small and spaced out, the name large under it, a rule between.
Canvas Credit(Fonts& fonts, const std::string& role, const std::string& name) {
  const int width = 1024, height = 256;
  Canvas c(width, height);
  // The role is read from across the hall on a banner: bold and bright, a third of the
  // name's height.
  TextStyle roleStyle = Glowing(FontStyle::kSansBold, 60, style::kInk, style::kCyan, 7);
  roleStyle.letterSpacing = 16;
  DrawText(c, fonts, role, 0.5f * width, 74, roleStyle, Align::kCentre);
  c.FillRect(0.5f * width - 200, 94, 0.5f * width + 200, 98, Color(0.35f, 0.85f, 1.0f, 0.8f));
  TextStyle nameStyle = Glowing(FontStyle::kSansBold, 112, style::kInk, style::kCyan, 10);
  nameStyle.letterSpacing = 4;
  nameStyle.size = FitTextSize(fonts, name, nameStyle, width - 80);
  DrawText(c, fonts, name, 0.5f * width, 212, nameStyle, Align::kCentre);
  return c;
}

constexpr int kBoardWidth = 1920, kBoardHeight = 1080;

// A thin frame of corner marks around the middle of the screen, like a viewfinder.
void CornerMarks(Canvas& c, float inset, Color colour) {
  const float w = static_cast<float>(c.Width()), h = static_cast<float>(c.Height()), l = 90, t = 4;
  for (float x : {inset, w - inset}) {
    for (float y : {inset, h - inset}) {
      const float dx = x < w * 0.5f ? 1.0f : -1.0f, dy = y < h * 0.5f ? 1.0f : -1.0f;
      c.FillRect(std::min(x, x + dx * l), std::min(y, y + dy * t), std::max(x, x + dx * l), std::max(y, y + dy * t), colour);
      c.FillRect(std::min(x, x + dx * t), std::min(y, y + dy * l), std::max(x, x + dx * t), std::max(y, y + dy * l), colour);
    }
  }
}

// A band of shade behind a line of small text, fading out to its edges, so the line
// reads over the bright parts of the hall without a visible board.
void SoftVeil(Canvas& c, float top, float bottom) {
  const float centre = 0.5f * kBoardWidth;
  for (int ring = 0; ring < 6; ++ring) {
    const float inset = 12.0f * static_cast<float>(ring);
    c.FillRoundedRect(centre - 560 + 3 * inset, top + inset * 0.5f, centre + 560 - 3 * inset, bottom - inset * 0.5f,
                      40, Color(0.0f, 0.02f, 0.04f, 0.09f));
  }
}

Canvas TitleOne(Fonts& fonts) {
  Canvas c(kBoardWidth, kBoardHeight);
  TextStyle group = Glowing(FontStyle::kSansBold, 150, style::kInk, style::kCyan, 16);
  group.letterSpacing = 40;
  DrawText(c, fonts, style::kGroup, 0.5f * kBoardWidth + 20, 560, group, Align::kCentre);
  SoftVeil(c, 610, 730);
  TextStyle presents = Glowing(FontStyle::kSans, 74, style::kInk, style::kCyan, 8);
  presents.letterSpacing = 24;
  DrawText(c, fonts, "presents", 0.5f * kBoardWidth, 690, presents, Align::kCentre);
  return c;
}

Canvas TitleTwo(Fonts& fonts) {
  Canvas c(kBoardWidth, kBoardHeight);
  TextStyle title = Glowing(FontStyle::kSansBold, 300, style::kInk, style::kAmber, 22);
  title.letterSpacing = 60;
  DrawText(c, fonts, style::kTitle, 0.5f * kBoardWidth + 30, 620, title, Align::kCentre);
  c.FillRect(0.5f * kBoardWidth - 420, 670, 0.5f * kBoardWidth + 420, 676, Color(1.0f, 0.66f, 0.18f, 0.85f));
  TextStyle tag = Glowing(FontStyle::kSans, 40, style::kInk, style::kAmber, 5);
  tag.letterSpacing = 10;
  DrawText(c, fonts, "a real-time story from the factory floor", 0.5f * kBoardWidth, 740, tag, Align::kCentre);
  return c;
}

Canvas Soon(Fonts& fonts) {
  Canvas c(kBoardWidth, kBoardHeight);
  CornerMarks(c, 160, Color(0.35f, 0.85f, 1.0f, 0.6f));
  TextStyle line = Glowing(FontStyle::kSansBold, 88, style::kInk, style::kCyan, 12);
  line.letterSpacing = 8;
  DrawText(c, fonts, "UNIT 7 IS ALMOST READY", 0.5f * kBoardWidth, 530, line, Align::kCentre);
  SoftVeil(c, 585, 690);
  TextStyle sub = Glowing(FontStyle::kSans, 64, style::kInk, style::kCyan, 7);
  sub.letterSpacing = 12;
  DrawText(c, fonts, "release in a few seconds", 0.5f * kBoardWidth, 655, sub, Align::kCentre);
  return c;
}

Canvas EndScreen(Fonts& fonts) {
  Canvas c(kBoardWidth, kBoardHeight);
  // A dark veil behind the text so it reads over anything.
  c.FillRoundedRect(0.5f * kBoardWidth - 620, 300, 0.5f * kBoardWidth + 620, 800, 30, Color(0.0f, 0.02f, 0.04f, 0.55f));
  TextStyle title = Glowing(FontStyle::kSansBold, 190, style::kInk, style::kAmber, 18);
  title.letterSpacing = 40;
  DrawText(c, fonts, style::kTitle, 0.5f * kBoardWidth + 20, 510, title, Align::kCentre);
  TextStyle names = Glowing(FontStyle::kSans, 42, style::kInk, style::kCyan, 5);
  names.letterSpacing = 6;
  DrawText(c, fonts, "code kestrel  \u00b7  graphics marlin  \u00b7  music osprey", 0.5f * kBoardWidth, 620, names,
           Align::kCentre);
  TextStyle thanks = Glowing(FontStyle::kSans, 36, style::kCyan, style::kCyan, 5);
  thanks.letterSpacing = 14;
  std::string line = std::string("a ") + style::kGroup + " production  \u00b7  thank you for watching";
  DrawText(c, fonts, line, 0.5f * kBoardWidth, 700, thanks, Align::kCentre);
  return c;
}

}  // namespace

bool BuildCreditCards(Context& context) {
  Fonts& fonts = context.TextFonts();
  return context.WriteTexture("kestrel", Credit(fonts, "CODE", "kestrel"), 32) &&
         context.WriteTexture("marlin", Credit(fonts, "GRAPHICS", "marlin"), 32) &&
         context.WriteTexture("osprey", Credit(fonts, "MUSIC", "osprey"), 32);
}

bool BuildBoardCards(Context& context) {
  Fonts& fonts = context.TextFonts();
  return context.WriteTexture("title1", TitleOne(fonts), 32) && context.WriteTexture("title2", TitleTwo(fonts), 32) &&
         context.WriteTexture("soon", Soon(fonts), 32) && context.WriteTexture("endscreen", EndScreen(fonts), 32);
}

}  // namespace datagen
