// The frame's passes one by one on the driver, with pixels read back: shadows, blur,
// the glow image, and the depth-of-field composite with the flash.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "gl/offscreen_target.h"
#include "gl/test_scene.h"
#include "render/frame.h"
#include "render/lighting.h"
#include "render/post_process.h"
#include "render/shadow_map.h"
#include "support/gl_test.h"

namespace {

using testing_support::OffscreenTarget;
using testing_support::PixelAt;
using testing_support::Rgba;
using test_scene::Geometry;

int Brightness(const Rgba& p) { return p.r + p.g + p.b; }

sm::Mat4 Perspective(float fov, float aspect) {
  sm::Mat4 m;
  sm::Perspective(m, fov, aspect, 10.0f, 8000.0f);
  return m;
}

bool ToPixel(const sm::Mat4& view, const sm::Mat4& projection, int size, const sm::Vec3& world, int& x, int& y) {
  const sm::Vec3 clip = sm::Transformed(sm::Product(view, projection), world);
  if (clip.w <= 0.0f) return false;
  x = static_cast<int>((clip.x / clip.w * 0.5f + 0.5f) * static_cast<float>(size));
  y = static_cast<int>((clip.y / clip.w * 0.5f + 0.5f) * static_cast<float>(size));
  return x >= 0 && y >= 0 && x < size && y < size;
}

class RenderPassesTest : public testing_support::GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    std::string error;
    ASSERT_TRUE(effects.Load(std::string(DRIFT_SOURCE_DIR) + "/content/effects/", error)) << error;
    renderer = std::make_unique<SceneRenderer>(LightingEffects{effects.standard.get(), effects.glowShadow.get()});
  }
  void TearDown() override {
    renderer.reset();
    models.clear();
    materials.clear();
    effects = test_scene::Effects();
    GlTest::TearDown();
  }
  Material* NewMaterial(const std::string& name, float r, float g, float b, float opacity = 1.0f) {
    materials.push_back(test_scene::MakeMaterial(name, r, g, b, opacity));
    return materials.back().get();
  }
  SubMesh* NewSubMesh(Geometry geometry, Material* material) {
    models.push_back(std::make_unique<Model>());
    test_scene::AddMesh(*models.back(), "mesh", {{std::move(geometry), material}});
    return models.back()->meshes[0]->subMeshes[0].get();
  }

  test_scene::Effects effects;
  std::unique_ptr<SceneRenderer> renderer;
  std::vector<std::unique_ptr<Material>> materials;
  std::vector<std::unique_ptr<Model>> models;
};

TEST_F(RenderPassesTest, ACasterDarkensTheFloorUnderItAndNowhereElse) {
  const int size = 256;
  Geometry floorGeometry;
  floorGeometry.Quad({-600, 0, 600}, {600, 0, 600}, {600, 0, -600}, {-600, 0, -600}, {0, 1, 0});
  SubMesh* floor = NewSubMesh(std::move(floorGeometry), NewMaterial("floor", 0.8f, 0.8f, 0.8f));
  Geometry box;
  box.Box({0, 200, 0}, 50, 50, 50);
  SubMesh* caster = NewSubMesh(std::move(box), NewMaterial("caster", 0.5f, 0.5f, 0.5f));

  // The light looks straight down from 1000 above; the camera looks at the floor at an
  // angle, and only the floor is drawn lit, so nothing hides it.
  const sm::Mat4 lightView = test_scene::LookAt({0, 1000, 0}, {0, 0, 0}, {0, 0, -1});
  const sm::Mat4 projection = Perspective(60.0f, 1.0f);
  const sm::Mat4 view = test_scene::LookAt({0, 700, 700}, {0, 0, 0}, {0, 1, 0});
  const sm::Vec3 eye = EyePosition(view);
  EXPECT_NEAR(eye.y, 700.0f, 0.01f);
  auto shadow = CreateShadowTarget(size, size, effects.shadowMapping.get());
  EXPECT_EQ(shadow->width, 3 * size / 2);
  OffscreenTarget target(size, size);
  ModelSlots slots;

  auto render = [&](const GlobalDrawLists& casters) {
    target.Bind();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    RenderShadowMap(*shadow, lightView, projection, casters, slots);
    DrawLitList({floor}, *renderer, projection, view, eye, eye, lightView, projection, shadow->depth.name);
    glDisable(GL_DEPTH_TEST);
    return target.Pixels();
  };
  GlobalDrawLists withCaster;
  withCaster.opaque = {floor, caster};
  GlobalDrawLists floorOnly;
  floorOnly.opaque = {floor};
  const auto shadowed = render(withCaster);
  const auto plain = render(floorOnly);
  CheckGlError("shadow");

  // The caster's shadow reaches 50 × 1000 / 750 ≈ 67 from the centre (its top) and at
  // least 50 × 1000 / 850 ≈ 59 (its bottom).
  int inside = 0;
  int outside = 0;
  for (int z = -300; z <= 300; z += 15) {
    for (int x = -300; x <= 300; x += 15) {
      int px = 0, py = 0;
      if (!ToPixel(view, projection, size, sm::Vec3(static_cast<float>(x), 0, static_cast<float>(z)), px, py)) continue;
      const int lit = Brightness(PixelAt(plain, size, px, py));
      const int dark = Brightness(PixelAt(shadowed, size, px, py));
      const int reach = std::max(std::abs(x), std::abs(z));
      if (reach <= 45) {
        EXPECT_LT(dark, lit * 8 / 10) << x << ", " << z;
        ++inside;
      } else if (reach >= 85) {
        EXPECT_NEAR(dark, lit, 4) << x << ", " << z;
        ++outside;
      }
    }
  }
  EXPECT_GT(inside, 20);
  EXPECT_GT(outside, 500);

  // Hidden casters, and casters of a slot that is switched off, cast nothing.
  caster->visible = false;
  EXPECT_EQ(render(withCaster), plain);
  caster->visible = true;
  slots[3].opaque = {caster};
  slots[3].enabled = false;
  EXPECT_EQ(render(floorOnly), plain);
  slots[3].enabled = true;
  EXPECT_EQ(render(floorOnly), shadowed);
}

TEST_F(RenderPassesTest, TheShadowPassLeavesViewportAndFramebufferAsItFoundThem) {
  auto shadow = CreateShadowTarget(100, 50, effects.shadowMapping.get());
  EXPECT_EQ(shadow->width, 150);
  EXPECT_EQ(shadow->height, 75);
  EXPECT_EQ(CurrentFrameBuffer(), 0u);
  GLint compare = 0;
  glBindTexture(GL_TEXTURE_2D, shadow->depth.name);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, &compare);
  EXPECT_EQ(compare, GL_COMPARE_R_TO_TEXTURE);
  glBindTexture(GL_TEXTURE_2D, 0);

  Geometry box;
  box.Box({0, 0, -300}, 50, 50, 50);
  GlobalDrawLists global;
  global.opaque = {NewSubMesh(std::move(box), nullptr)};
  ModelSlots slots;
  OffscreenTarget target(64, 64);
  for (unsigned framebuffer : {0u, target.Framebuffer()}) {
    BindFrameBuffer(framebuffer);
    glViewport(3, 4, 50, 60);
    RenderShadowMap(*shadow, sm::Mat4(), Perspective(60.0f, 2.0f), global, slots);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 3);
    EXPECT_EQ(viewport[1], 4);
    EXPECT_EQ(viewport[2], 50);
    EXPECT_EQ(viewport[3], 60);
    EXPECT_EQ(CurrentFrameBuffer(), framebuffer);
    EXPECT_FALSE(glIsEnabled(GL_POLYGON_OFFSET_FILL));
  }
  BindFrameBuffer(0);
  CheckGlError("shadow pass");
}

// The brightness-weighted centre and spread of a blurred image (w×w, RGBA, bottom-up).
struct Spot {
  double x = 0, y = 0, spread = 0;
  int maxStep = 0;  // largest difference between neighbours
  int peak = 0;
};
Spot Measure(const std::vector<unsigned char>& texels, int w) {
  Spot s;
  double total = 0;
  for (int y = 0; y < w; ++y) {
    for (int x = 0; x < w; ++x) {
      const int v = texels[(y * w + x) * 4];
      total += v;
      s.x += v * (x + 0.5);
      s.y += v * (y + 0.5);
      s.peak = std::max(s.peak, v);
      if (x > 0) s.maxStep = std::max(s.maxStep, std::abs(v - texels[(y * w + x - 1) * 4]));
      if (y > 0) s.maxStep = std::max(s.maxStep, std::abs(v - texels[((y - 1) * w + x) * 4]));
    }
  }
  s.x /= total;
  s.y /= total;
  for (int y = 0; y < w; ++y) {
    for (int x = 0; x < w; ++x) {
      const int v = texels[(y * w + x) * 4];
      s.spread += v * ((x + 0.5 - s.x) * (x + 0.5 - s.x) + (y + 0.5 - s.y) * (y + 0.5 - s.y));
    }
  }
  s.spread /= total;
  return s;
}

TEST_F(RenderPassesTest, BlurKeepsTheImageUprightAndSmoothAndRestoresState) {
  // A 64×64 source, black with a white 8×8 square in its upper left (rows bottom-up).
  std::vector<unsigned char> source(64 * 64 * 4, 0);
  for (int y = 44; y < 52; ++y) {
    for (int x = 8; x < 16; ++x) {
      for (int k = 0; k < 4; ++k) source[(y * 64 + x) * 4 + k] = 255;
    }
  }
  Texture sourceTexture(64, 64, 32, source.data(), GL_CLAMP_TO_EDGE, GL_LINEAR, GL_LINEAR, false);
  auto target = CreateBlurTarget(effects.blur.get(), 32, 32);

  glEnable(GL_DEPTH_TEST);
  glEnable(GL_LIGHTING);
  glViewport(1, 2, 30, 40);
  glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
  std::vector<unsigned char> result(32 * 32 * 4);
  Spot spots[2];
  for (bool glow : {false, true}) {
    glDepthMask(GL_FALSE);
    Blur(*target, sourceTexture.GetName(), glow);
    glBindTexture(GL_TEXTURE_2D, target->Result());
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, result.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    spots[glow] = Measure(result, 32);
  }
  // The square's centre (12, 48) of 64 is (6, 24) of 32: still upper left.
  for (const Spot& s : spots) {
    EXPECT_NEAR(s.x, 6.0, 1.0);
    EXPECT_NEAR(s.y, 24.0, 1.0);
    EXPECT_LT(s.peak, 255);    // spread out ...
    EXPECT_LT(s.maxStep, 40);  // ... without hard steps
    EXPECT_GT(s.spread, 6.0);  // the 4×4 square alone would be 2.5
  }
  EXPECT_GT(spots[true].spread, spots[false].spread * 1.5);  // glow spreads wider

  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[0], 1);
  EXPECT_EQ(viewport[3], 40);
  float colour[4];
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_FLOAT_EQ(colour[1], 0.5f);
  GLboolean mask = GL_FALSE;
  glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
  EXPECT_EQ(mask, GL_TRUE);
  EXPECT_EQ(CurrentFrameBuffer(), 0u);
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  CheckGlError("blur");
}

// Stands in for the timeline scene in the glow pass.
class GlowLayerScene final : public IScene {
 public:
  void Update(float, float) override {}
  void DrawOpaque(float, float) override {}
  void DrawGlow(float time, float step) override {
    ++calls;
    lastTime = time;
    lastStep = step;
  }
  void DrawTranslucent(float, float) override {}
  void SetActive(bool) override {}
  bool IsActiveAt(float) override { return true; }
  std::vector<Model*>& GetModels() override { return models; }
  void AdjustLight(sm::Mat4&) override {}
  std::vector<Model*> models;
  int calls = 0;
  float lastTime = -1;
  float lastStep = -1;
};

TEST_F(RenderPassesTest, TheGlowImageIsBlackExceptWhereGlowingMaterialsShow) {
  const int size = 256;  // the glow image is 64×64
  Material* lamp = NewMaterial("glow_lamp", 1.0f, 0.8f, 0.2f);
  lamp->emissive[0] = 0.5f;
  Geometry bulb;
  bulb.Sphere({0, 0, -600}, 150);
  SubMesh* glowing = NewSubMesh(std::move(bulb), lamp);
  Geometry cover;
  cover.Box({100, 0, -300}, 100, 150, 20);  // hides the right half of the bulb
  SubMesh* occluder = NewSubMesh(std::move(cover), NewMaterial("steel", 0.7f, 0.7f, 0.7f));
  Geometry other;
  other.Sphere({-350, 250, -700}, 60);
  SubMesh* plain = NewSubMesh(std::move(other), NewMaterial("paint", 0.9f, 0.9f, 0.9f));

  GlobalDrawLists global;
  global.glow = {glowing};
  global.nonGlow = {occluder, plain};
  ModelSlots slots;
  auto targets = CreateMainTargets(size, size);
  GlowLayerScene scene;
  FrameInputs frame;
  frame.width = frame.height = size;
  frame.stepMs = 20.0f;
  frame.projection = Perspective(60.0f, 1.0f);
  frame.scene = &scene;
  frame.slots = &slots;
  frame.global = &global;
  frame.renderer = renderer.get();
  frame.targets = targets.get();
  RenderGlow(frame, sm::Vec3(0, 0, 0));
  EXPECT_EQ(scene.calls, 1);
  EXPECT_EQ(scene.lastTime, 0.0f);
  EXPECT_FLOAT_EQ(scene.lastStep, 0.02f);
  EXPECT_EQ(CurrentFrameBuffer(), 0u);

  std::vector<unsigned char> glow(64 * 64 * 4);
  auto read = [&] {
    glBindTexture(GL_TEXTURE_2D, targets->glowColour->GetName());
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, glow.data());
    glBindTexture(GL_TEXTURE_2D, 0);
  };
  read();
  int x = 0, y = 0;
  auto at = [&](const sm::Vec3& p) {
    EXPECT_TRUE(ToPixel(frame.view, frame.projection, 64, p, x, y));
    return PixelAt(glow, 64, x, y);
  };
  EXPECT_GT(at({-80, 0, -600}).r, 150);             // the bulb where nothing covers it
  EXPECT_EQ(Brightness(at({60, 0, -600})), 0);      // behind the cover
  EXPECT_EQ(Brightness(at({-350, 250, -700})), 0);  // a lit object that does not glow
  EXPECT_EQ(Brightness(PixelAt(glow, 64, 1, 62)), 0);
  int lit = 0;
  for (size_t i = 0; i < glow.size(); i += 4) lit += glow[i] + glow[i + 1] + glow[i + 2] > 0;
  EXPECT_GT(lit, 200);
  EXPECT_LT(lit, 64 * 64 / 4);

  // The board covers the glow image only while its opacity is above 0.
  const std::vector<unsigned char> white(4 * 4 * 4, 255);
  Texture board(4, 4, 32, white.data(), GL_CLAMP_TO_EDGE, GL_NEAREST, GL_NEAREST, false);
  frame.boardTextures[2] = board.GetName();
  frame.boardIndex = 2;
  const std::vector<unsigned char> before = glow;
  RenderGlow(frame, sm::Vec3(0, 0, 0));
  read();
  EXPECT_EQ(glow, before);
  frame.boardOpacity = 0.5f;
  RenderGlow(frame, sm::Vec3(0, 0, 0));
  read();
  EXPECT_NEAR(PixelAt(glow, 64, 1, 62).r, 128, 2);
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  glDisable(GL_DEPTH_TEST);
  CheckGlError("glow");
}

TEST_F(RenderPassesTest, TheCompositeBlursByDistanceFromFocusGradesAddsNoiseAndFlashes) {
  const int size = 64;
  // Sharp: one-pixel columns alternating black and white. Blurred: flat grey. Ramp:
  // the grey levels 0 to 252 from left to right.
  std::vector<unsigned char> stripes(size * size * 4), grey(size * size * 4, 128), ramp(size * size * 4, 255);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      for (int k = 0; k < 3; ++k) {
        stripes[(y * size + x) * 4 + k] = x % 2 ? 255 : 0;
        ramp[(y * size + x) * 4 + k] = static_cast<unsigned char>(4 * x);
      }
      stripes[(y * size + x) * 4 + 3] = 255;
    }
  }
  Texture sharp(size, size, 32, stripes.data(), GL_CLAMP_TO_EDGE, GL_NEAREST, GL_NEAREST, false);
  Texture blurred(size, size, 32, grey.data(), GL_CLAMP_TO_EDGE, GL_NEAREST, GL_NEAREST, false);
  Texture levels(size, size, 32, ramp.data(), GL_CLAMP_TO_EDGE, GL_NEAREST, GL_NEAREST, false);
  // Depth: the left half 100 units away, the right half 5000 (near 10, far 8000).
  auto stored = [](float distance) {
    const float n = 10.0f, f = 8000.0f;
    const float ndc = (f + n) / (f - n) - 2.0f * f * n / ((f - n) * distance);
    return ndc * 0.5f + 0.5f;
  };
  std::vector<float> depths(size * size);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) depths[y * size + x] = stored(x < size / 2 ? 100.0f : 5000.0f);
  }
  DepthTexture depth = CreateDepthTexture(size, size);
  glBindTexture(GL_TEXTURE_2D, depth.name);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT24, size, size, 0, GL_DEPTH_COMPONENT, GL_FLOAT, depths.data());
  glBindTexture(GL_TEXTURE_2D, 0);
  const unsigned noise = CreateNoiseTexture(4 * size);

  OffscreenTarget target(size, size);
  auto composeOf = [&](unsigned sharpTexture, unsigned blurTexture, float fade, const DepthOfField& settings) {
    target.Bind();
    ComposeDepthOfField(effects.postProcess.get(), sharpTexture, depth.name, blurTexture, noise, fade, size, size,
                        settings);
    return target.Pixels();
  };
  auto compose = [&](float fade, const DepthOfField& settings) {
    return composeOf(sharp.GetName(), blurred.GetName(), fade, settings);
  };
  const DepthOfField demo;  // the frame's values: focus at 100
  // The grey as the grade shows it, in focus and out.
  const int gradedGrey = PixelAt(composeOf(blurred.GetName(), blurred.GetName(), 0.0f, demo), size, 10, 30).r;
  auto picture = compose(0.0f, demo);
  EXPECT_EQ(PixelAt(picture, size, 10, 30).r, 0);  // near: sharp stripes
  EXPECT_EQ(PixelAt(picture, size, 11, 30).r, 255);
  EXPECT_NEAR(PixelAt(picture, size, 50, 30).r, gradedGrey, 1);  // far: the blurred copy
  EXPECT_NEAR(PixelAt(picture, size, 51, 30).r, gradedGrey, 1);

  DepthOfField far = demo;
  far.focal = 5000.0f;
  picture = compose(0.0f, far);
  EXPECT_NEAR(PixelAt(picture, size, 10, 30).r, gradedGrey, 1);
  EXPECT_EQ(PixelAt(picture, size, 51, 30).r, 255);

  // The grade: the haze the hall lays over its darks becomes black, white stays white,
  // the levels keep their order, and the middle grey stays a mid-tone.
  DepthOfField everywhere = demo;
  everywhere.focalFalloff = 0.0f;  // the ramp in focus across the picture
  const auto graded = composeOf(levels.GetName(), levels.GetName(), 0.0f, everywhere);
  EXPECT_EQ(PixelAt(graded, size, 0, 30).r, 0);
  EXPECT_EQ(PixelAt(graded, size, 5, 30).r, 0) << "the haze's level (20 of 255) is black";
  EXPECT_LE(PixelAt(graded, size, 10, 30).r, 20) << "a dark grey (40 of 255) goes towards black";
  EXPECT_GE(PixelAt(graded, size, 63, 30).r, 250);
  for (int x = 1; x < size; ++x) {
    EXPECT_GE(PixelAt(graded, size, x, 30).r, PixelAt(graded, size, x - 1, 30).r) << x;
  }
  EXPECT_GT(gradedGrey, 96);
  EXPECT_LT(gradedGrey, 128);

  // The flash is an accent: at its peak the picture brightens and warms a little in its
  // middle and darkens a little in its corners, and the mean rises by less than a sixth
  // of the range, never towards a white frame. Half faded, it is less than half as strong.
  auto mean = [&](const std::vector<unsigned char>& pixels) {
    double sum = 0;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        const Rgba p = PixelAt(pixels, size, x, y);
        sum += 0.299 * p.r + 0.587 * p.g + 0.114 * p.b;
      }
    }
    return sum / (size * size);
  };
  const auto calm = composeOf(levels.GetName(), levels.GetName(), 0.0f, everywhere);
  const auto peak = composeOf(levels.GetName(), levels.GetName(), 1.0f, everywhere);
  const auto half = composeOf(levels.GetName(), levels.GetName(), 0.5f, everywhere);
  const double rise = mean(peak) - mean(calm);
  EXPECT_GT(rise, 4.0);
  EXPECT_LT(rise, 40.0);
  EXPECT_GT(mean(half) - mean(calm), 0.0);
  EXPECT_LT(mean(half) - mean(calm), rise / 2.0);
  const Rgba middleBefore = PixelAt(calm, size, 32, 32), middleDuring = PixelAt(peak, size, 32, 32);
  EXPECT_GT(middleDuring.r, middleBefore.r + 8);
  EXPECT_GT(middleDuring.r - middleBefore.r, middleDuring.b - middleBefore.b) << "the flash is warm";
  EXPECT_LT(PixelAt(peak, size, 60, 1).g, PixelAt(calm, size, 60, 1).g) << "the corners darken";
  EXPECT_LT(PixelAt(peak, size, 2, 32).r, 40) << "black stays dark under the flash";

  // Noise changes the picture from row to row, the same along a row.
  DepthOfField noisy = demo;
  noisy.noiseStrength = 0.3f;
  picture = compose(0.0f, noisy);
  int rowsChanged = 0;
  for (int y = 0; y < size; ++y) {
    const int v = PixelAt(picture, size, 40, y).r;
    EXPECT_EQ(PixelAt(picture, size, 60, y).r, v);
    rowsChanged += std::abs(v - gradedGrey) > 3;
  }
  EXPECT_GT(rowsChanged, size / 2);
  glDeleteTextures(1, &depth.name);
  glDeleteTextures(1, &noise);
  BindFrameBuffer(0);
  CheckGlError("composite");
}

}  // namespace
