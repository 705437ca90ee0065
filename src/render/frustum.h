#pragma once
// The camera's view volume for culling: which sub-mesh boxes may be on screen.
#include "anim/math.h"

// The camera position and axes, the clip distances and the field of view.
struct Frustum {
  sm::Vec3 position{0, 0, 0};
  sm::Vec3 z{0, 0, 0};  // the viewing direction
  sm::Vec3 x{0, 0, 0};  // right
  sm::Vec3 y{0, 0, 0};  // up, unit length
  float nearDistance = 0.0f;
  float farDistance = 0.0f;
  float fieldOfView = 0.0f;  // radians, vertical
  float aspect = 0.0f;       // width / height
  float tang = 0.0f;         // tan(fieldOfView / 2)
};

// An axis-aligned box in the coordinates the vertices are stored in.
struct Box {
  float minX, maxX, minY, maxY, minZ, maxZ;
};

// Takes the camera from the inverse of the view matrix: its position, the viewing
// direction (the negated third column), right (first column) and up (second column,
// normalised; a zero column stays zero).
void UpdateFrustum(Frustum& frustum, const sm::Mat4& view, float nearDistance, float farDistance,
                   float fieldOfViewDegrees, float aspect);

// Conservative: false only when all eight corners lie beyond the same boundary (the
// near or far distance, or one of the four sides), so every box that may show passes.
bool BoxInFrustum(const Frustum& frustum, const Box& box);
