// The contact shadows' placement: on the floor under the feet and the body, dark when
// the feet are planted, gone when they are well off the floor.
#include <gtest/gtest.h>

#include <cmath>

#include "anim/math.h"
#include "scenes/contact_shadow.h"

namespace {

using contact_shadow::Blob;
using contact_shadow::kAnkleHeight;
using contact_shadow::kBlobCount;

// A pose with the hips 400 over the ankles and the feet 100 apart along x (pose space).
Robot::Frame Standing(float ankleY) {
  Robot::Frame pose;
  pose.joints[3] = sm::Vec3(0, ankleY + 400, 0);
  pose.joints[19] = sm::Vec3(-50, ankleY, 10);
  pose.joints[15] = sm::Vec3(50, ankleY, -10);
  return pose;
}

TEST(ContactShadow, PlantedFeetGiveDarkBlobsOnTheFloorUnderThemAndTheBody) {
  Blob blobs[kBlobCount];
  const sm::Mat4 placement = sm::Translation(1000, 0, -2000);
  contact_shadow::BlobsFor(Standing(kAnkleHeight), placement, blobs);
  EXPECT_NEAR(blobs[0].centre.x, 950, 1e-3);
  EXPECT_NEAR(blobs[0].centre.z, -1990, 1e-3);
  EXPECT_NEAR(blobs[1].centre.x, 1050, 1e-3);
  EXPECT_NEAR(blobs[2].centre.x, 1000, 1e-3);
  for (const Blob& blob : blobs) {
    EXPECT_GT(blob.centre.y, 0.0f);
    EXPECT_LT(blob.centre.y, 2.0f) << "a blob floats above the floor";
    EXPECT_GT(blob.darkness, 0.3f);
    EXPECT_LE(blob.darkness, 1.0f);
  }
  EXPECT_GT(blobs[2].radius, blobs[0].radius) << "the body's blob is the wide, soft one";
  EXPECT_LT(blobs[2].darkness, blobs[0].darkness);
}

TEST(ContactShadow, LiftedFeetFadeTheirBlobsAndAHangingRobotCastsNone) {
  Blob planted[kBlobCount], low[kBlobCount], high[kBlobCount];
  const sm::Mat4 placement = sm::RotationMatrix(1.0f, 0, 1, 0);
  contact_shadow::BlobsFor(Standing(kAnkleHeight), placement, planted);
  contact_shadow::BlobsFor(Standing(kAnkleHeight + 90), placement, low);
  contact_shadow::BlobsFor(Standing(kAnkleHeight + 600), placement, high);
  EXPECT_LT(low[0].darkness, planted[0].darkness);
  EXPECT_GT(low[0].darkness, 0.0f);
  EXPECT_GT(low[0].radius, planted[0].radius) << "a lifted foot's shadow spreads";
  EXPECT_LT(low[2].darkness, planted[2].darkness);
  for (const Blob& blob : high) EXPECT_EQ(blob.darkness, 0.0f);
  // A turned placement turns the blobs about the hips, on the floor.
  EXPECT_NEAR(std::hypot(planted[0].centre.x - planted[2].centre.x, planted[0].centre.z - planted[2].centre.z),
              std::hypot(50.0f, 10.0f), 1e-2);
}

}  // namespace
