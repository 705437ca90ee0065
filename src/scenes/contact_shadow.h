#pragma once
// Soft contact shadows under the robot: a dark patch on the floor under each foot and
// a wider, fainter one under the body, which the shadow map alone does not give (its
// filter spreads a foot's shadow thin, and a foot on the floor seemed to float). They
// fade as the feet leave the floor, so a jump or the hanging robot lifts them off.
#include "anim/math.h"
#include "anim/robot_frame.h"

namespace contact_shadow {

// One dark disc on the floor (y = 0): its centre, radius and darkness at the centre
// (0 = none), falling smoothly to nothing at the rim.
struct Blob {
  sm::Vec3 centre;
  float radius = 0.0f;
  float darkness = 0.0f;
};

constexpr int kBlobCount = 3;

// The blobs for a pose placed in the world: the right foot, the left foot, the body.
// The feet's joints (ankles) ride about kAnkleHeight above the floor when planted.
constexpr float kAnkleHeight = 60.0f;
void BlobsFor(const Robot::Frame& pose, const sm::Mat4& placement, Blob (&blobs)[kBlobCount]);

// Draws the blobs over the opaque scene: depth-tested against the floor, writing no
// depth, darkening by alpha. Leaves the GL state as it found it.
void Draw(const Blob (&blobs)[kBlobCount], const sm::Mat4& projection, const sm::Mat4& view);

}  // namespace contact_shadow
