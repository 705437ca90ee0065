// A whole frame of the test scene through the frame order, into an off-screen target:
// the picture is written to build/render_test_scene.png for people to look at.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "assets/image.h"
#include "gl/offscreen_target.h"
#include "gl/test_scene.h"
#include "render/frame.h"
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

}  // namespace
