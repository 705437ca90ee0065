#pragma once
// Tracks for node animation files, authored in the program's own terms: absolute
// positions and orientations over time. The file's conventions are applied here, in
// one place: keyed rotations are stored relative to the key before, with the file's
// axis order and sense of rotation; constant rotations keep their axes.
#include <cstdint>
#include <vector>

#include "anim/animation_file.h"
#include "datagen/animation/orientation.h"
#include "datagen/geometry/vec.h"

namespace datagen {

struct PositionKey {
  float time;
  V3 position;
};

struct OrientationKey {
  float time;
  Quat orientation;
};

animation_file::VectorBlock VectorKeys(const std::vector<PositionKey>& keys);
animation_file::VectorBlock ConstantVector(V3 value);
// Keys that make the node's rotation equal each orientation at its time.
animation_file::RotationBlock RotationKeys(const std::vector<OrientationKey>& keys);
animation_file::RotationBlock ConstantRotation(const Quat& orientation);

// A node with the given tracks, unit scale and no children; local is its mesh's offset.
animation_file::NodeData MakeNode(std::int32_t id, animation_file::VectorBlock position,
                                  animation_file::RotationBlock rotation, const sm::Mat4& local = sm::Mat4());

// The orientation of a camera node at eye looking at target with the world's up: the
// program views along the node's -y with -z up, a quarter turn from the usual
// look-at frame.
Quat CameraOrientation(V3 eye, V3 target);

}  // namespace datagen
