// The foot: a flat-soled block with a painted top, an orange toe cap and a heel, from
// the ankle ball. Modelled with the sole flat (y up, toes toward -z, x toward the
// robot's right), then tipped so the foot bone from the ankle to the toes joint (the
// sole's front edge) lies along -z as the foot's look-at frame places it.
#include <cmath>

#include "datagen/geometry/shapes.h"
#include "datagen/robot/robot_parts.h"
#include "datagen/robot/skeleton.h"

namespace datagen::robot {

MeshBuilder FootGeometry() {
  MeshBuilder m;
  const float sole = -kAnkleHeight;
  const float toes = -kFoot * std::cos(FlatFootPitch());
  Sphere(m, kFrame, V3(0, 0, 0), 29, 28, 16);
  BevelBox(m, kFrame, Frame::At(0, sole + 13, 0.5f * (kHeelBack + toes)), V3(kSoleHalfWidth, 13, 0.5f * (kHeelBack - toes)), 5);
  BevelBox(m, kArmour, Frame::At(0, sole + 32, toes * 0.35f), V3(34, 11, 54), 6);
  BevelBox(m, kAccent, Frame::At(0, sole + 16, toes + 12), V3(kSoleHalfWidth - 1, 14, 12), 5);
  BevelBox(m, kArmour, Frame::At(0, sole + 18, kHeelBack - 10), V3(30, 16, 10), 4);
  m.Transform(sm::RotationMatrix(FlatFootPitch(), 1, 0, 0));
  return m;
}

}  // namespace datagen::robot
