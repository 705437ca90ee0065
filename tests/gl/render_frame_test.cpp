// A whole frame of the test scene through the frame order, into an off-screen target:
// the picture is written to build/render_test_scene.png for people to look at.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "assets/image.h"
#include "gl/offscreen_target.h"
#include "gl/test_scene.h"
#include "render/frame.h"
#include "render/picture_area.h"
#include "render/render_targets.h"
#include "support/gl_test.h"

namespace {

using testing_support::OffscreenTarget;
using testing_support::PixelAt;
using testing_support::Rgba;

int Brightness(const Rgba& p) { return p.r + p.g + p.b; }

// Where a world point lands in the picture.
bool ToPixel(const test_scene::Scene& s, const sm::Vec3& world, int& x, int& y) {
  const sm::Vec3 clip = sm::Transformed(sm::Product(s.view, s.projection), world);
  if (clip.w <= 0.0f) return false;
  x = static_cast<int>((clip.x / clip.w * 0.5f + 0.5f) * static_cast<float>(s.width));
  y = static_cast<int>((clip.y / clip.w * 0.5f + 0.5f) * static_cast<float>(s.height));
  return x >= 0 && y >= 0 && x < s.width && y < s.height;
}

class RenderFrameTest : public testing_support::GlTest {};

TEST_F(RenderFrameTest, TheTestSceneRendersLitShadowedGlowingAndSoftInTheDistance) {
  const int width = 1280;
  const int height = 720;
  std::string error;
  auto scene = test_scene::BuildScene(width, height, std::string(DRIFT_SOURCE_DIR) + "/content/effects/", error);
  ASSERT_NE(scene, nullptr) << error;
  OffscreenTarget output(width, height);
  ASSERT_TRUE(output.Complete());

  std::vector<FramePass> passes;
  FrameInputs frame = scene->Inputs(output.Framebuffer());
  frame.afterPass = [&](FramePass pass) { passes.push_back(pass); };
  int presented = 0;
  frame.present = [&] { ++presented; };
  RenderFrame(frame);
  CheckGlError("frame");
  EXPECT_EQ(presented, 1);
  EXPECT_EQ(passes.size(), 8u);
  EXPECT_EQ(scene->glowCalls, 1);

  const auto pixels = output.Pixels();
  Image image = Image::Allocate(width, height, 32);
  std::memcpy(image.pixels.get(), pixels.data(), pixels.size());
  EXPECT_TRUE(EncodePng(std::string(DRIFT_BINARY_DIR) + "/render_test_scene.png", image));

  int x = 0;
  int y = 0;
  // Every object is lit: clearly brighter than black where it stands.
  for (const sm::Vec3& centre : {sm::Vec3(-260, 120, 100), sm::Vec3(-20, 100, -90), sm::Vec3(230, 110, 90),
                                 sm::Vec3(60, 70, 250)}) {
    ASSERT_TRUE(ToPixel(*scene, centre, x, y));
    EXPECT_GT(Brightness(PixelAt(pixels, width, x, y)), 150) << centre.x;
  }
  // The red ball is red.
  ASSERT_TRUE(ToPixel(*scene, sm::Vec3(-260, 120, 100), x, y));
  const Rgba ball = PixelAt(pixels, width, x, y);
  EXPECT_GT(ball.r, 2 * ball.g);
  // The lamp's bulb glows warm and its glow spills past its edge onto the wall.
  ASSERT_TRUE(ToPixel(*scene, sm::Vec3(-160, 280, -290), x, y));
  const Rgba bulb = PixelAt(pixels, width, x, y);
  EXPECT_GT(bulb.r, 200);
  EXPECT_GT(bulb.r, bulb.b);
  // The floor is darker in the crate's shadow (away from the light, towards +x, -z...)
  // than beside it, at the same distance from the eye.
  int sx = 0, sy = 0, lx = 0, ly = 0;
  ASSERT_TRUE(ToPixel(*scene, sm::Vec3(90, 0, -260), sx, sy));
  ASSERT_TRUE(ToPixel(*scene, sm::Vec3(-380, 0, -220), lx, ly));
  EXPECT_LT(Brightness(PixelAt(pixels, width, sx, sy)) + 60, Brightness(PixelAt(pixels, width, lx, ly)));
}


// A black letterbox mask, opaque in its bottom and top eighth of rows, clear between.
unsigned LetterboxMask(int width, int height) {
  std::vector<unsigned char> texels(static_cast<size_t>(width) * height * 4, 0);
  for (int y = 0; y < height; ++y) {
    const unsigned char alpha = (y < height / 8 || y >= height - height / 8) ? 255 : 0;
    for (int x = 0; x < width; ++x) texels[(static_cast<size_t>(y) * width + x) * 4 + 3] = alpha;
  }
  unsigned texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
  glBindTexture(GL_TEXTURE_2D, 0);
  PrepareMaskTexture(texture);
  return texture;
}

// The most any colour channel differs between two buffers over the rows [from, to).
int LargestDifference(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b, int width, int from,
                      int to) {
  int largest = 0;
  for (size_t i = static_cast<size_t>(from) * width * 4; i < static_cast<size_t>(to) * width * 4; ++i) {
    if (i % 4 != 3) largest = std::max(largest, std::abs(static_cast<int>(a[i]) - static_cast<int>(b[i])));
  }
  return largest;
}

TEST_F(RenderFrameTest, UnderTheMasksBarsNothingIsDrawnAndBetweenThemThePictureIsTheWholeScreens) {
  const int width = 640;
  const int height = 360;
  std::string error;
  auto scene = test_scene::BuildScene(width, height, std::string(DRIFT_SOURCE_DIR) + "/content/effects/", error);
  ASSERT_NE(scene, nullptr) << error;
  OffscreenTarget output(width, height);
  ASSERT_TRUE(output.Complete());
  const unsigned mask = LetterboxMask(64, 48);

  // Window row y shows mask row floor((y + 0.5) · 48 / 360): rows 0..44 show the bottom
  // bar (rows 0..5 of the mask), and the top bar mirrors it.
  const PictureRows rows = MaskVisibleRows(mask, height);
  EXPECT_EQ(rows.bottom, 45);
  EXPECT_EQ(rows.top, 315);

  FrameInputs frame = scene->Inputs(output.Framebuffer());
  frame.maskTexture = mask;
  RenderFrame(frame);
  const auto whole = output.Pixels();

  // Mark the scene's colour target, then draw the letterboxed frame.
  BindFrameBuffer(scene->targets->main.framebuffer);
  AttachColour(scene->targets->main, scene->targets->mainColour->GetName());
  glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  frame.picture = rows;
  RenderFrame(frame);
  CheckGlError("letterboxed frame");
  const auto letterboxed = output.Pixels();
  EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));

  // The bars are black in both, and the scene drew nothing under them.
  EXPECT_EQ(LargestDifference(whole, letterboxed, width, 0, rows.bottom), 0);
  EXPECT_EQ(LargestDifference(whole, letterboxed, width, rows.top, height), 0);
  EXPECT_EQ(Brightness(PixelAt(letterboxed, width, width / 2, 10)), 0);
  BindFrameBuffer(scene->targets->main.framebuffer);
  std::vector<std::uint8_t> sceneColour(static_cast<size_t>(width) * height * 4);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, sceneColour.data());
  BindFrameBuffer(0);
  for (int y : {0, rows.bottom - 1, rows.top, height - 1}) {
    const Rgba marked = PixelAt(sceneColour, width, width / 2, y);
    EXPECT_TRUE(marked.r == 255 && marked.g == 0 && marked.b == 255) << "row " << y;
  }
  const Rgba middle = PixelAt(sceneColour, width, width / 2, height / 2);
  EXPECT_FALSE(middle.r == 255 && middle.g == 0 && middle.b == 255);

  // Between the bars the picture is the same; only the depth of field's blur next to a
  // bar (it reaches about 56 rows) reads the nearest drawn row instead of the bar's.
  EXPECT_EQ(LargestDifference(whole, letterboxed, width, rows.bottom + 60, rows.top - 60), 0);
  EXPECT_LE(LargestDifference(whole, letterboxed, width, rows.bottom, rows.top), 64);
  glDeleteTextures(1, &mask);
}

}  // namespace
