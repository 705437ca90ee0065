// The fixed matrices of the screen-space passes and the shadow lookup.
#include <gtest/gtest.h>

#include "anim/math.h"
#include "render/noise_texture.h"
#include "render/render_targets.h"
#include "render/shadow_map.h"

namespace {

TEST(ScreenMatrices, OrthoMapsPixelsToClipSpaceAndBiasMapsClipSpaceToTextureSpace) {
  const sm::Mat4 ortho = ScreenOrtho(320, 180);
  const sm::Vec3 low = sm::Transformed(ortho, sm::Vec3(0, 0, 0));
  const sm::Vec3 high = sm::Transformed(ortho, sm::Vec3(320, 180, 0));
  EXPECT_FLOAT_EQ(low.x, -1.0f);
  EXPECT_FLOAT_EQ(low.y, -1.0f);
  EXPECT_FLOAT_EQ(high.x, 1.0f);
  EXPECT_FLOAT_EQ(high.y, 1.0f);
  EXPECT_FLOAT_EQ(ortho.a[10], -1.0f);

  const sm::Mat4& bias = ShadowBiasMatrix();
  const sm::Vec3 near = sm::Transformed(bias, sm::Vec3(-1, -1, -1));
  const sm::Vec3 far = sm::Transformed(bias, sm::Vec3(1, 1, 1));
  EXPECT_FLOAT_EQ(near.x, 0.0f);
  EXPECT_FLOAT_EQ(near.z, 0.0f);
  EXPECT_FLOAT_EQ(far.y, 1.0f);
  EXPECT_FLOAT_EQ(far.z, 1.0f);
  EXPECT_FLOAT_EQ(bias.a[15], 1.0f);
  EXPECT_FLOAT_EQ(bias.a[3], 0.0f);
}

TEST(ScreenMatrices, NoiseValuesSpanMinusOneToJustBelowOne) {
  EXPECT_FLOAT_EQ(NoiseValue(0), -1.0f);
  EXPECT_FLOAT_EQ(NoiseValue(100), 0.0f);
  EXPECT_FLOAT_EQ(NoiseValue(199), 0.99f);
  EXPECT_FLOAT_EQ(NoiseValue(200), -1.0f);
  EXPECT_FLOAT_EQ(NoiseValue(32767), 0.67f);
}

}  // namespace

namespace {

TEST(ShadowMapSize, IsOneAndAHalfTimesTheScreenClampedToTheDriversLargestSide) {
  int w = 0, h = 0;
  ShadowMapSize(1280, 720, 16384, w, h);
  EXPECT_EQ(w, 1920);
  EXPECT_EQ(h, 1080);
  ShadowMapSize(1365, 767, 16384, w, h);  // odd sides round down
  EXPECT_EQ(w, 2047);
  EXPECT_EQ(h, 1150);
  ShadowMapSize(3840, 2160, 4096, w, h);  // a 4K screen on a driver that takes 4096
  EXPECT_EQ(w, 4096);
  EXPECT_EQ(h, 3240);
  ShadowMapSize(-5, 0, 4096, w, h);
  EXPECT_EQ(w, 0);
  EXPECT_EQ(h, 0);
}

}  // namespace
