#include "scenes/contact_shadow.h"

#include <algorithm>
#include <cmath>

#include "platform/gl.h"

namespace contact_shadow {
namespace {

// Joint numbers of the pose: the ankles and the hips' centre.
constexpr int kRightAnkle = 19;
constexpr int kLeftAnkle = 15;
constexpr int kHips = 3;

// Just above the floor, so the blob is not lost in the floor's own depth.
constexpr float kFloorLift = 0.5f;

float Clamp01(float v) { return std::min(1.0f, std::max(0.0f, v)); }

// How much of the darkness is left at a height above the planted one.
float Fade(float height, float range) { return Clamp01(1.0f - std::max(0.0f, height) / range); }

}  // namespace

void BlobsFor(const Robot::Frame& pose, const sm::Mat4& placement, Blob (&blobs)[kBlobCount]) {
  const sm::Vec3 right = sm::Transformed(placement, pose.joints[kRightAnkle]);
  const sm::Vec3 left = sm::Transformed(placement, pose.joints[kLeftAnkle]);
  const sm::Vec3 hips = sm::Transformed(placement, pose.joints[kHips]);
  const sm::Vec3* feet[2] = {&right, &left};
  for (int i = 0; i < 2; ++i) {
    const sm::Vec3& foot = *feet[i];
    blobs[i].centre = sm::Vec3{foot.x, kFloorLift, foot.z};
    const float lift = foot.y - kAnkleHeight;
    blobs[i].radius = 85.0f + 0.4f * std::max(0.0f, lift);  // a lifted foot's shadow spreads
    blobs[i].darkness = 0.7f * Fade(lift, 180.0f);
  }
  const float lowest = std::min(right.y, left.y) - kAnkleHeight;
  blobs[2].centre = sm::Vec3{hips.x, kFloorLift, hips.z};
  blobs[2].radius = 260.0f;
  blobs[2].darkness = 0.38f * Fade(lowest, 300.0f);
}

void Draw(const Blob (&blobs)[kBlobCount], const sm::Mat4& projection, const sm::Mat4& view) {
  glPushAttrib(GL_CURRENT_BIT | GL_DEPTH_BUFFER_BIT | GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_POLYGON_BIT |
               GL_LIGHTING_BIT);
  if (glext::glActiveTextureARB != nullptr) glext::glActiveTextureARB(GL_TEXTURE0_ARB);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_LIGHTING);
  glDisable(GL_CULL_FACE);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glDepthMask(GL_FALSE);
  glEnable(GL_POLYGON_OFFSET_FILL);
  glPolygonOffset(-2.0f, -8.0f);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glShadeModel(GL_SMOOTH);
  glMatrixMode(GL_PROJECTION);
  glLoadMatrixf(projection.a);
  glMatrixMode(GL_MODELVIEW);
  glLoadMatrixf(view.a);
  constexpr int kSegments = 24;
  constexpr int kRings = 3;  // darkness falls off as (1 - r²)² over these rings
  for (const Blob& blob : blobs) {
    if (blob.darkness <= 0.0f || blob.radius <= 0.0f) continue;
    for (int ring = 0; ring < kRings; ++ring) {
      const float r0 = static_cast<float>(ring) / kRings, r1 = static_cast<float>(ring + 1) / kRings;
      const float a0 = blob.darkness * (1 - r0 * r0) * (1 - r0 * r0);
      const float a1 = blob.darkness * (1 - r1 * r1) * (1 - r1 * r1);
      glBegin(GL_TRIANGLE_STRIP);
      for (int s = 0; s <= kSegments; ++s) {
        const float angle = 6.2831853f * static_cast<float>(s) / kSegments;
        const float cx = std::cos(angle) * blob.radius, cz = std::sin(angle) * blob.radius;
        glColor4f(0, 0, 0, a0);
        glVertex3f(blob.centre.x + cx * r0, blob.centre.y, blob.centre.z + cz * r0);
        glColor4f(0, 0, 0, a1);
        glVertex3f(blob.centre.x + cx * r1, blob.centre.y, blob.centre.z + cz * r1);
      }
      glEnd();
    }
  }
  glPopAttrib();
}

}  // namespace contact_shadow
