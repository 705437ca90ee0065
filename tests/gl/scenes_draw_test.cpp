// The scenes' own layers drawn for real and read back: the welding sparks as warm
// additive streaks, and the credits, monitor and greetings pictures laid over their
// surfaces through the second texture coordinates with the scene's alpha.
#include <gtest/gtest.h>

#include <algorithm>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "anim/show_times.h"
#include "assets/image.h"
#include "gl/offscreen_target.h"
#include "platform/gl.h"
#include "scenes/contact_shadow.h"
#include "scenes/frames.h"
#include "scenes/log_capture.h"
#include "scenes/scene_content.h"
#include "scenes/scene_driver.h"
#include "scenes/spark_emitter.h"
#include "support/gl_test.h"

namespace {

using namespace scene_testing;
using testing_support::OffscreenTarget;
using testing_support::PixelAt;
using testing_support::Rgba;

constexpr int kSize = 128;

// Saves what a test drew when DRIFT_TEST_IMAGES names a folder, to look at.
void Save(const std::vector<std::uint8_t>& pixels, const char* name) {
  const char* folder = std::getenv("DRIFT_TEST_IMAGES");
  if (folder == nullptr) return;
  Image image = Image::Allocate(kSize, kSize, 32);
  std::copy(pixels.begin(), pixels.end(), image.pixels.get());
  EncodePng(std::string(folder) + "/" + name + ".png", image);
}

// A texture of two texels side by side, in GL's bottom-up RGBA layout.
std::unique_ptr<Texture> TwoTexels(Rgba left, Rgba right) {
  const std::uint8_t texels[8] = {
      static_cast<std::uint8_t>(left.r),  static_cast<std::uint8_t>(left.g),  static_cast<std::uint8_t>(left.b),
      static_cast<std::uint8_t>(left.a),  static_cast<std::uint8_t>(right.r), static_cast<std::uint8_t>(right.g),
      static_cast<std::uint8_t>(right.b), static_cast<std::uint8_t>(right.a)};
  return std::make_unique<Texture>(2, 1, 32, texels, GL_CLAMP_TO_EDGE, GL_NEAREST, GL_NEAREST, false);
}

void ExpectColour(Rgba actual, int r, int g, int b, int tolerance = 3) {
  EXPECT_NEAR(actual.r, r, tolerance);
  EXPECT_NEAR(actual.g, g, tolerance);
  EXPECT_NEAR(actual.b, b, tolerance);
}

class ScenesDraw : public testing_support::GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    target_ = std::make_unique<OffscreenTarget>(kSize, kSize);
    ASSERT_TRUE(target_->Complete());
  }
  void TearDown() override {
    target_.reset();
    GlTest::TearDown();
  }
  void Clear(float grey = 0.0f) {
    target_->Bind();
    glClearColor(grey, grey, grey, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  }

  std::unique_ptr<OffscreenTarget> target_;
};

// The pixel a world point lands on; false when it is off the target.
bool Projected(const sm::Mat4& projection, const sm::Mat4& view, const sm::Vec3& p, int& px, int& py) {
  const sm::Vec3 clip = sm::Transformed(projection, sm::Transformed(view, p));
  px = static_cast<int>((clip.x / clip.w * 0.5f + 0.5f) * kSize);
  py = static_cast<int>((clip.y / clip.w * 0.5f + 0.5f) * kSize);
  return px >= 0 && px < kSize && py >= 0 && py < kSize;
}

TEST_F(ScenesDraw, ContactShadowsDarkenTheFloorUnderTheBlobsAndNothingInFrontOfIt) {
  sm::Mat4 projection;
  sm::Perspective(projection, 60.0f, 1.0f, 10.0f, 8000.0f);
  // Looking down at the floor from 1000 above, at a slant.
  const sm::Mat4 view = sm::Inverted(LookAt(sm::Vec3(0, 0, 0), sm::Vec3(0, 1000, 600)));
  contact_shadow::Blob blobs[contact_shadow::kBlobCount];
  blobs[0] = {sm::Vec3(-150, 0.5f, 0), 100.0f, 0.8f};
  blobs[1] = {sm::Vec3(150, 0.5f, 0), 100.0f, 0.8f};
  blobs[2] = {sm::Vec3(0, 0.5f, 0), 50.0f, 0.0f};  // no darkness: not drawn

  const int grey = 160;
  Clear(grey / 255.0f);
  // The floor's depth, and a box in front of the right foot's blob that the floor's
  // shadow must not darken.
  glMatrixMode(GL_PROJECTION);
  glLoadMatrixf(projection.a);
  glMatrixMode(GL_MODELVIEW);
  glLoadMatrixf(view.a);
  glEnable(GL_DEPTH_TEST);
  glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
  glBegin(GL_QUADS);
  glVertex3f(-2000, 0, -2000);
  glVertex3f(-2000, 0, 2000);
  glVertex3f(2000, 0, 2000);
  glVertex3f(2000, 0, -2000);
  glVertex3f(75, 300, 150);  // on the line from the eye to the right blob's middle
  glVertex3f(75, 300, 210);
  glVertex3f(135, 300, 210);
  glVertex3f(135, 300, 150);
  glEnd();
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glDisable(GL_DEPTH_TEST);
  glDepthMask(GL_TRUE);

  contact_shadow::Draw(blobs, projection, view);
  CheckGlError("contact_shadow::Draw");
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
  GLboolean depthMask = GL_FALSE;
  glGetBooleanv(GL_DEPTH_WRITEMASK, &depthMask);
  EXPECT_EQ(depthMask, GL_TRUE);

  const std::vector<std::uint8_t> pixels = target_->Pixels();
  Save(pixels, "contact_shadows");
  int x = 0, y = 0;
  ASSERT_TRUE(Projected(projection, view, blobs[0].centre, x, y));
  const Rgba centre = PixelAt(pixels, kSize, x, y);
  EXPECT_LT(centre.r, grey * 0.35) << "the blob's middle is dark";
  EXPECT_EQ(centre.r, centre.b) << "a shadow has no colour";
  ASSERT_TRUE(Projected(projection, view, sm::Vec3(-150 + 70, 0, 0), x, y));
  const Rgba towardsRim = PixelAt(pixels, kSize, x, y);
  EXPECT_GT(towardsRim.r, centre.r + 20) << "it fades towards the rim";
  EXPECT_LT(towardsRim.r, grey);
  ASSERT_TRUE(Projected(projection, view, sm::Vec3(-150 + 130, 0, 0), x, y));
  EXPECT_NEAR(PixelAt(pixels, kSize, x, y).r, grey, 1) << "nothing beyond the radius";
  ASSERT_TRUE(Projected(projection, view, sm::Vec3(105, 300, 180), x, y));
  EXPECT_NEAR(PixelAt(pixels, kSize, x, y).r, grey, 1) << "the box in front keeps its colour";
  ASSERT_TRUE(Projected(projection, view, sm::Vec3(0, 0, 0), x, y));
  EXPECT_NEAR(PixelAt(pixels, kSize, x, y).r, grey, 1) << "a blob without darkness draws nothing";
}

TEST_F(ScenesDraw, SparksAreWarmAdditiveStreaksNearTheEmitterAndVanishWhenAllAreDead) {
  sm::Mat4 projection;
  sm::Perspective(projection, 60.0f, 1.0f, 10.0f, 8000.0f);
  const sm::Vec3 emitter(100, 200, -50);
  const sm::Mat4 view = sm::Inverted(LookAt(emitter, Plus(emitter, sm::Vec3(0, 80, 500))));
  SparkEmitter sparks;
  sparks.position = emitter;
  for (int i = 0; i < 10; ++i) sparks.Update(0.02f);

  const float background = 40.0f / 255.0f;
  Clear(background);
  glDisable(GL_BLEND);
  glDepthMask(GL_FALSE);
  DrawSparks(sparks, projection, view);
  CheckGlError("DrawSparks");
  // The attributes are as they were; the matrices stay loaded.
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  GLboolean depthMask = GL_TRUE;
  glGetBooleanv(GL_DEPTH_WRITEMASK, &depthMask);
  EXPECT_EQ(depthMask, GL_FALSE);
  float loaded[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, loaded);
  EXPECT_FLOAT_EQ(loaded[12], view.a[12]);

  const std::vector<std::uint8_t> pixels = target_->Pixels();
  Save(pixels, "sparks");
  int ex = 0, ey = 0;
  ASSERT_TRUE(Projected(projection, view, emitter, ex, ey));
  int lit = 0;
  int farthest = 0;
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const Rgba p = PixelAt(pixels, kSize, x, y);
      EXPECT_GE(p.b, 40) << x << ", " << y;  // added, never darker
      if (p.r <= 42) continue;
      ++lit;
      EXPECT_GE(p.r, p.g);  // warm: red over green over blue
      EXPECT_GE(p.g, p.b);
      farthest = std::max(farthest, std::max(std::abs(x - ex), std::abs(y - ey)));
    }
  }
  EXPECT_GT(lit, 30);
  EXPECT_LT(farthest, kSize / 3);  // the streaks start at the emitter and are short

  sparks.SetEmitting(false);
  for (int i = 0; i < 70; ++i) sparks.Update(0.02f);  // 1.4 s: beyond the longest life
  Clear(background);
  DrawSparks(sparks, projection, view);
  const std::vector<std::uint8_t> after = target_->Pixels();
  for (std::size_t i = 0; i < after.size(); i += 4) ASSERT_EQ(after[i], 40) << "pixel " << i / 4;
}

class SceneOverlays : public ScenesDraw {
 protected:
  void SetUp() override {
    ScenesDraw::SetUp();
    AddAllSceneContent(world_, log_.Dir().Path());
    // Pictures of two texels: the surface's second coordinates put the first on the
    // left half of each surface.
    world_.AddTexture("kestrel", TwoTexels({255, 0, 0, 255}, {0, 255, 0, 255}));
    world_.AddTexture("hud0", TwoTexels({0, 0, 255, 255}, {255, 255, 0, 255}));
    // The greeting's right half is as see-through as the backing round its letters.
    world_.AddTexture("greetz0", TwoTexels({255, 255, 255, 255}, {0, 255, 255, 128}));
    for (const char* name : {"credits", "screens", "glass_wall_greetz"}) {
      for (const auto& mesh : world_.FindModel(name)->meshes) {
        for (const auto& subMesh : mesh->subMeshes) subMesh->Upload();
      }
    }
    ASSERT_TRUE(world_.robot.Setup(world_, log_.Dir().Path()));
    ASSERT_TRUE(driver_.Load());
    glDisable(GL_DEPTH_TEST);
  }
  Rgba At(const std::vector<std::uint8_t>& pixels, float clipX, float clipY) {
    return PixelAt(pixels, kSize, static_cast<int>((clipX * 0.5f + 0.5f) * kSize),
                   static_cast<int>((clipY * 0.5f + 0.5f) * kSize));
  }

  LogCapture log_;
  FakeWorld world_;
  SceneDriver driver_{world_};
};

TEST_F(SceneOverlays, TheCreditIsLaidOnItsSurfaceByTheSecondCoordinatesAtTheCreditAlpha) {
  AssemblingScene& scene = driver_.Assembling();
  Clear();
  scene.DrawOpaque(0.0f, 0.0f);
  std::vector<std::uint8_t> pixels = target_->Pixels();
  ExpectColour(At(pixels, -0.75f, 0.0f), 0, 0, 0);  // no credit yet

  scene.Update(203.9f, 0.01f);  // the first change: "kestrel" at full opacity
  Clear();
  scene.DrawOpaque(0.0f, 0.0f);
  pixels = target_->Pixels();
  Save(pixels, "credit");
  ExpectColour(At(pixels, -0.75f, 0.0f), 255, 0, 0);  // left quarter: the first texel
  ExpectColour(At(pixels, -0.25f, 0.0f), 0, 255, 0);
  ExpectColour(At(pixels, 0.5f, 0.0f), 0, 0, 0);  // off the surface
  CheckGlError("credits");

  scene.Update(206.9f, 3.0f);  // half faded
  Clear();
  scene.DrawGlow(0.0f, 0.0f);
  pixels = target_->Pixels();
  ExpectColour(At(pixels, -0.75f, 0.0f), 128, 0, 0);
}

TEST_F(SceneOverlays, BothMonitorFacesShowTheFrameAtHalfOpacity) {
  AssemblingScene& scene = driver_.Assembling();
  scene.Update(0.0f, 0.0f);
  ASSERT_EQ(scene.MonitorFrame(), 0);
  Clear();
  scene.DrawTranslucent(0.0f, 0.0f);
  const std::vector<std::uint8_t> pixels = target_->Pixels();
  Save(pixels, "monitors");
  ExpectColour(At(pixels, 0.6f, 0.75f), 0, 0, 128);  // top face, first texel (blue)
  ExpectColour(At(pixels, 0.9f, 0.75f), 128, 128, 0);
  ExpectColour(At(pixels, 0.6f, -0.75f), 0, 0, 128);  // bottom face
  ExpectColour(At(pixels, 0.0f, 0.0f), 0, 0, 0);
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));  // enabled for the draw only
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  CheckGlError("monitors");
}

TEST_F(SceneOverlays, TheGreetingIsLaidOnTheGlassAtTheGreetingAlpha) {
  BreakingWallScene& scene = driver_.BreakingWall();
  scene.Update(120.1f, 0.01f);  // the signal's first value shows the first greeting
  ASSERT_EQ(scene.GreetingIndex(), 0);
  scene.Update(120.2f, 0.25f);  // alpha 0.7
  Clear();
  scene.DrawOpaque(0.0f, 0.0f);
  const std::vector<std::uint8_t> pixels = target_->Pixels();
  Save(pixels, "greeting");
  ExpectColour(At(pixels, 0.25f, 0.0f), 178, 178, 178);
  ExpectColour(At(pixels, 0.75f, 0.0f), 0, 89, 89);
  ExpectColour(At(pixels, -0.5f, 0.0f), 0, 0, 0);
  scene.DrawTranslucent(0.0f, 0.0f);  // draws nothing
  EXPECT_EQ(target_->Pixels(), pixels);
  CheckGlError("greeting");

  // Depth lies only under the solid half of the picture, whatever the greeting's own
  // alpha: the letters stay sharp in the depth of field, the hall seen through the
  // backing stays soft.
  Clear();
  glEnable(GL_DEPTH_TEST);  // as the frame has it when the scene's opaque layer is drawn
  glDepthMask(GL_TRUE);
  scene.DrawOpaque(0.0f, 0.0f);
  glDisable(GL_DEPTH_TEST);
  const auto depthAt = [](float clipX) {
    float depth = 0.0f;
    glReadPixels(static_cast<int>((clipX * 0.5f + 0.5f) * kSize), kSize / 2, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    return depth;
  };
  EXPECT_LT(depthAt(0.25f), 1.0f);
  EXPECT_EQ(depthAt(0.75f), 1.0f);
  EXPECT_EQ(depthAt(-0.5f), 1.0f);
  GLboolean colourMask[4] = {GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE};
  glGetBooleanv(GL_COLOR_WRITEMASK, colourMask);
  EXPECT_TRUE(colourMask[0] && colourMask[1] && colourMask[2] && colourMask[3]) << "the colour mask restored";
  EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
  ExpectColour(At(target_->Pixels(), 0.75f, 0.0f), 0, 89, 89);

  // Faded out, the surface is not drawn at all: no depth where the picture is clear,
  // which would otherwise stay in the depth of field after the glass breaks.
  scene.Update(120.3f, 10.0f);
  ASSERT_EQ(scene.GreetingIndex(), 0);
  Clear();
  glEnable(GL_DEPTH_TEST);  // as the frame has it when the scene's opaque layer is drawn
  glDepthMask(GL_TRUE);
  scene.DrawOpaque(0.0f, 0.0f);
  glDisable(GL_DEPTH_TEST);
  std::vector<float> depth(static_cast<std::size_t>(target_->Width()) * target_->Height());
  glReadPixels(0, 0, target_->Width(), target_->Height(), GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
  EXPECT_EQ(*std::min_element(depth.begin(), depth.end()), 1.0f);
  CheckGlError("faded greeting");
}

// The flying shards lay down their depth without colour, so the depth of field sees the
// glass where it flies; the intact pane lays down none, before the impact.
TEST_F(SceneOverlays, TheBrokenGlassWritesItsDepthOnlyOnceItFlies) {
  BreakingWallScene& scene = driver_.BreakingWall();
  for (const auto& mesh : world_.FindModel("glass_wall_broken")->meshes) {
    for (const auto& subMesh : mesh->subMeshes) subMesh->Upload();
  }
  const auto nearestDepth = [this] {
    std::vector<float> depth(static_cast<std::size_t>(target_->Width()) * target_->Height());
    glReadPixels(0, 0, target_->Width(), target_->Height(), GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    return *std::min_element(depth.begin(), depth.end());
  };
  scene.Update(166.0f, 0.01f);  // the pane still whole
  Clear();
  scene.DrawTranslucent(0.0f, 0.0f);
  EXPECT_EQ(nearestDepth(), 1.0f);

  scene.Update(show::AsFloat(show::kWallImpact), 0.0f);  // the shards start where the pane stood
  Clear();
  const std::vector<std::uint8_t> before = target_->Pixels();
  scene.DrawTranslucent(0.0f, 0.0f);
  EXPECT_LT(nearestDepth(), 1.0f);
  EXPECT_EQ(target_->Pixels(), before) << "depth only, no colour";
  GLboolean colourMask[4] = {GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE};
  glGetBooleanv(GL_COLOR_WRITEMASK, colourMask);
  EXPECT_TRUE(colourMask[0] && colourMask[1] && colourMask[2] && colourMask[3]) << "the colour mask restored";
  CheckGlError("shard depth");
}

}  // namespace
