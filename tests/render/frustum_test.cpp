// The culling frustum: camera axes from the view matrix, and which boxes pass.
#include "render/frustum.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

Box Around(float x, float y, float z, float half) { return {x - half, x + half, y - half, y + half, z - half, z + half}; }

// Camera at the origin looking down -z, 90° vertical field of view (tang 1), near 10,
// far 1000, the given aspect.
Frustum Looking(float aspect = 1.0f) {
  Frustum f;
  UpdateFrustum(f, sm::Mat4(), 10.0f, 1000.0f, 90.0f, aspect);
  return f;
}

TEST(Frustum, TakesTheCameraFromTheInverseViewMatrix) {
  // The camera stands at (100, 20, 0) and looks along +x: its world matrix turns -z
  // into +x, and the view matrix is that matrix's inverse.
  const sm::Mat4 cameraWorld = sm::Product(sm::RotationMatrix(-1.5707964f, 0, 1, 0), sm::Translation(100, 20, 0));
  Frustum f;
  UpdateFrustum(f, sm::Inverted(cameraWorld), 10.0f, 800000.0f, 60.0f, 16.0f / 9.0f);
  EXPECT_NEAR(f.position.x, 100.0f, 1e-3f);
  EXPECT_NEAR(f.position.y, 20.0f, 1e-3f);
  EXPECT_NEAR(f.z.x, 1.0f, 1e-5f);
  EXPECT_NEAR(f.z.z, 0.0f, 1e-5f);
  EXPECT_NEAR(f.y.y, 1.0f, 1e-5f);
  EXPECT_NEAR(f.x.z, 1.0f, 1e-5f);
  EXPECT_FLOAT_EQ(f.fieldOfView, 60.0f * 3.1415927f / 180.0f);
  EXPECT_NEAR(f.tang, std::tan(3.1415927f / 6.0f), 1e-6f);
  EXPECT_FLOAT_EQ(f.aspect, 16.0f / 9.0f);
  EXPECT_EQ(f.nearDistance, 10.0f);
  EXPECT_EQ(f.farDistance, 800000.0f);
  EXPECT_TRUE(BoxInFrustum(f, Around(300, 20, 0, 5)));  // ahead
  EXPECT_FALSE(BoxInFrustum(f, Around(0, 20, 0, 5)));   // behind

  // A scaled view matrix: the up axis is normalised, the right axis is not.
  sm::Mat4 scaled;
  scaled.a[0] = 0.5f;
  scaled.a[5] = 0.25f;
  UpdateFrustum(f, scaled, 1, 2, 90, 1);
  EXPECT_FLOAT_EQ(f.x.x, 2.0f);
  EXPECT_FLOAT_EQ(f.y.y, 1.0f);
}

TEST(Frustum, KeepsBoxesThatMayShowAndRejectsThoseBeyondOneBoundary) {
  const Frustum f = Looking();
  struct Case {
    Box box;
    bool visible;
    const char* what;
  };
  const Case cases[] = {
      {Around(0, 0, -100, 5), true, "straight ahead"},
      {Around(0, 0, 50, 5), false, "behind the camera"},
      {{-5, 5, -5, 5, -15, 5}, true, "straddling the near plane"},
      {Around(0, 0, -5, 2), false, "between the camera and the near plane"},
      {Around(0, 0, -2000, 5), false, "beyond the far plane"},
      {{-5, 5, -5, 5, -1100, -900}, true, "straddling the far plane"},
      {Around(0, 120, -100, 5), false, "above the top"},
      {Around(0, -120, -100, 5), false, "below the bottom"},
      {Around(-120, 0, -100, 5), false, "left of the left side"},
      {Around(120, 0, -100, 5), false, "right of the right side"},
      {Around(0, 100, -100, 5), true, "across the top"},
      {Around(-103, 0, -100, 5), true, "across the left side"},
      {Around(0, 0, 0, 5000), true, "around the camera"},
      {{-5, 5, 200, 210, -100, -90}, false, "above, though ahead"},
      {{150, 400, 150, 400, -100, -90}, false, "beyond the top-right corner"},
      // Reaching from beside the camera to far ahead: the far end is inside.
      {{-200, -150, -5, 5, -900, 20}, true, "a long wall on the left"},
  };
  for (const Case& c : cases) EXPECT_EQ(BoxInFrustum(f, c.box), c.visible) << c.what;
}

TEST(Frustum, TheAspectWidensTheSidesOnly) {
  const Box wideOnly = Around(150, 0, -100, 5);   // within 2 × tang of the axis
  const Box highOnly = Around(0, 150, -100, 5);
  EXPECT_FALSE(BoxInFrustum(Looking(1.0f), wideOnly));
  EXPECT_TRUE(BoxInFrustum(Looking(2.0f), wideOnly));
  EXPECT_FALSE(BoxInFrustum(Looking(2.0f), highOnly));
}

}  // namespace
