#include "datagen/animation/node_keys.h"

#include <cmath>

namespace datagen {

animation_file::VectorBlock VectorKeys(const std::vector<PositionKey>& keys) {
  animation_file::VectorBlock block;
  block.keyed = true;
  for (const PositionKey& key : keys) block.keys.push_back({key.time, key.position.x, key.position.y, key.position.z});
  return block;
}

animation_file::VectorBlock ConstantVector(V3 value) {
  animation_file::VectorBlock block;
  block.x = value.x;
  block.y = value.y;
  block.z = value.z;
  return block;
}

animation_file::RotationBlock RotationKeys(const std::vector<OrientationKey>& keys) {
  animation_file::RotationBlock block;
  block.keyed = true;
  Quat previous;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    // The loader turns each key's relative rotation R into the running product
    // R * previous; R is the step from the previous orientation to this one.
    const Quat relative = i == 0 ? keys[i].orientation : keys[i].orientation * Conjugate(previous);
    previous = keys[i].orientation;
    V3 axis;
    float angle = 0;
    ToAxisAngle(relative, axis, angle);
    // The file negates angles and stores axes z-up: (x, y, z) is read as (x, z, -y).
    block.keys.push_back({keys[i].time, -angle, axis.x, -axis.z, axis.y});
  }
  return block;
}

animation_file::RotationBlock ConstantRotation(const Quat& orientation) {
  animation_file::RotationBlock block;
  V3 axis;
  float angle = 0;
  ToAxisAngle(orientation, axis, angle);
  block.angle = -angle;
  block.axisX = axis.x;
  block.axisY = axis.y;
  block.axisZ = axis.z;
  return block;
}

animation_file::NodeData MakeNode(std::int32_t id, animation_file::VectorBlock position,
                                  animation_file::RotationBlock rotation, const sm::Mat4& local) {
  animation_file::NodeData node;
  node.id = id;
  node.local = local;
  node.position = std::move(position);
  node.rotation = std::move(rotation);
  node.scale = ConstantVector(V3(1, 1, 1));
  return node;
}

Quat CameraOrientation(V3 eye, V3 target) {
  const V3 back = Normalize(eye - target);
  V3 right = Normalize(Cross(V3(0, 1, 0), back));
  if (Length(right) == 0) right = V3(1, 0, 0);
  const V3 up = Cross(back, right);
  return FromBasis(right, up, back) * AxisAngle(V3(1, 0, 0), 0.5f * kPi);
}

}  // namespace datagen
