// The text of the generated cards is read from across the hall, through glass and under
// flashes: the small lines are drawn large and bright, and every greeting sits on its
// dark backing well inside its brackets.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "assets/image.h"
#include "data/data_set.h"

namespace {

using namespace data_set;

struct Picture {
  Image image;
  // Canvas coordinates: y counts down from the top, as the cards are drawn.
  const unsigned char* At(int x, int y) const {
    const int row = image.height - 1 - y;
    return &image.pixels[(static_cast<std::size_t>(row) * image.width + x) * 4];
  }
  // Ink: the near-white letters themselves, not their cyan glow.
  bool Ink(int x, int y) const {
    const unsigned char* p = At(x, y);
    return p[3] > 150 && p[0] > 200 && p[1] > 200;
  }
  // Rows between y0 and y1 that hold ink: the height of a line of text.
  int InkRows(int y0, int y1) const {
    int rows = 0;
    for (int y = y0; y < y1; ++y) {
      for (int x = 0; x < image.width; ++x) {
        if (Ink(x, y)) {
          ++rows;
          break;
        }
      }
    }
    return rows;
  }
};

Picture Load(const std::string& name) {
  Picture picture;
  EXPECT_TRUE(DecodePng(PathOf("textures/" + name + ".png"), picture.image)) << name;
  EXPECT_EQ(picture.image.bitsPerPixel, 32) << name;
  return picture;
}

TEST(CardLegibility, TheSmallLinesOfTheTitlesAndCreditsAreLargeAndBright) {
  // The role over each credit name: capitals at least 40 pixels of a 256-pixel card.
  for (const char* credit : {"kestrel", "marlin", "osprey"}) {
    const Picture card = Load(credit);
    if (card.image.pixels == nullptr) continue;
    EXPECT_GE(card.InkRows(0, 92), 40) << credit;
  }
  // "presents" under the group's name and the line under "UNIT 7 IS ALMOST READY": at
  // least 44 of 1080 rows, in the letters' own white.
  const Picture title = Load("title1");
  if (title.image.pixels != nullptr) {
    EXPECT_GE(title.InkRows(600, 760), 44);
  }
  const Picture soon = Load("soon");
  if (soon.image.pixels != nullptr) {
    EXPECT_GE(soon.InkRows(580, 700), 44);
  }
}

TEST(CardLegibility, EveryGreetingSitsOnADarkBackingInsideItsBrackets) {
  for (int i = 0; i < 59; ++i) {
    const std::string name = "greetz" + std::to_string(i);
    const Picture card = Load(name);
    if (card.image.pixels == nullptr) continue;
    ASSERT_EQ(card.image.width, 1024) << name;
    int left = card.image.width, right = -1;
    for (int y = 0; y < card.image.height; ++y) {
      for (int x = 0; x < card.image.width; ++x) {
        if (card.Ink(x, y)) {
          left = std::min(left, x);
          right = std::max(right, x);
        }
      }
    }
    ASSERT_GE(right, 0) << name << " has no letters";
    // The brackets stand at 40 and 984; the name keeps 70 pixels from each.
    EXPECT_GE(left, 110) << name;
    EXPECT_LE(right, 914) << name;
    // The backing beside the name's start, at mid-height: dark and nearly opaque.
    const unsigned char* backing = card.At(std::max(70, left - 24), 128);
    EXPECT_GE(backing[3], 180) << name;
    EXPECT_LE(backing[0] + backing[1] + backing[2], 3 * 40) << name;
  }
}

}  // namespace
