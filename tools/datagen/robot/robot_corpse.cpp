// The body: a pelvis drum around the hip centre that holds both hip sockets, a ribbed
// waist, an armoured chest with a glowing core and status lamps, a backpack, and the
// shoulder yoke. From the hip centre (origin) up +y to the neck at kTorso, +z forward,
// +x toward the robot's left.
//
// The program puts the hip joints 40 up and about 28 forward of the hip centre,
// whatever the body does, while the body turns about the hip centre: a drum whose axis
// runs through the hip centre from side to side looks the same however far the body
// leans, so the legs stay seated in it.
#include "datagen/geometry/shapes.h"
#include "datagen/robot/robot_parts.h"
#include "datagen/robot/skeleton.h"

namespace datagen::robot {

MeshBuilder CorpseGeometry() {
  MeshBuilder m;
  // The pelvis drum, wide enough for both hips (the left one sits further out).
  const float drumLeft = kLeftHipOut + 58.0f, drumRight = -(kRightHipOut + 58.0f);
  Cylinder(m, kFrame, Frame::AlongY(V3(drumRight, 0, 0), V3(1, 0, 0)), 57, 57, drumLeft - drumRight, 24);
  for (float x : {drumRight - 8.0f, drumLeft}) {
    Cylinder(m, kArmour, Frame::AlongY(V3(x, 0, 0), V3(1, 0, 0)), 47, 47, 8, 20);
    Cylinder(m, kAccent, Frame::AlongY(V3(x + (x > 0 ? 8.0f : -2.0f), 0, 0), V3(1, 0, 0)), 20, 20, 2, 14);
  }
  // The waist: a dark column with chrome ribs.
  Cylinder(m, kFrame, Frame::At(0, 40, -4), 44, 44, 96, 20);
  for (float y : {66.0f, 88.0f, 110.0f}) Cylinder(m, kChrome, Frame::At(0, y, -4), 50, 50, 8, 20);
  // The chest.
  BevelBox(m, kArmour, Frame::At(0, 210, 2), V3(104, 88, 64), 18);
  // Its front plate with the glowing core and a row of lamps.
  BevelBox(m, kFrame, Frame::At(0, 216, 64), V3(66, 50, 8), 6);
  Cylinder(m, kAccent, Frame::AlongY(V3(0, 232, 70), V3(0, 0, 1)), 27, 25, 5, 24);
  Cylinder(m, kEyes, Frame::AlongY(V3(0, 232, 74), V3(0, 0, 1)), 19, 16, 5, 24);
  for (float x : {-39.0f, -13.0f, 13.0f, 39.0f}) Box(m, kLamps, Frame::At(x, 184, 72.5f), V3(7, 5, 2));
  // Orange trim along the chest's lower edge, vents on its sides.
  BevelBox(m, kAccent, Frame::At(0, 130, 10), V3(96, 8, 60), 4);
  for (float side : {-1.0f, 1.0f}) {
    for (float y : {190.0f, 210.0f, 230.0f}) Box(m, kFrame, Frame::At(side * 104, y, 8), V3(2, 5, 36));
  }
  // The backpack with two exhausts.
  BevelBox(m, kFrame, Frame::At(0, 206, -80), V3(78, 70, 22), 8);
  BevelBox(m, kArmour, Frame::At(0, 206, -100), V3(62, 56, 4), 3);
  for (float x : {-46.0f, 46.0f}) {
    Cylinder(m, kChrome, Frame::At(x, 262, -84), 13, 11, 42, 14);
  }
  // The shoulder yoke and the collar round the neck.
  Cylinder(m, kFrame, Frame::AlongY(V3(-kShoulderHalfWidth - 8, kTorso - 12, 0), V3(1, 0, 0)), 34, 34,
           2 * kShoulderHalfWidth + 16, 18);
  Cylinder(m, kChrome, Frame::At(0, kTorso - 14, 0), 42, 36, 18, 20);
  return m;
}

}  // namespace datagen::robot
