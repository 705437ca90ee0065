// The head: a helmet of painted plates on a ribbed neck, a dark visor with two glowing
// eyes, ear discs and an antenna with a lamp. From the neck (origin) up +y to the top of
// the head at kHead, +z toward the face, +x toward the robot's left.
#include "datagen/geometry/shapes.h"
#include "datagen/robot/robot_parts.h"
#include "datagen/robot/skeleton.h"

namespace datagen::robot {

MeshBuilder HeadGeometry() {
  MeshBuilder m;
  // The neck: a dark column with two rings.
  Cylinder(m, kFrame, Frame::At(0, -10, 0), 24, 24, 52, 16);
  for (float y : {6.0f, 24.0f}) Cylinder(m, kChrome, Frame::At(0, y, 0), 29, 29, 7, 16);
  // The helmet, its top exactly at the head's joint.
  BevelBox(m, kArmour, Frame::At(0, kHead - 54, -4), V3(60, 54, 60), 16);
  // A ridge along the crown.
  BevelBox(m, kAccent, Frame::At(0, kHead - 1, -8), V3(9, 6, 48), 3);
  // The visor, with the eyes set into it.
  BevelBox(m, kFrame, Frame::At(0, 94, 52), V3(49, 20, 12), 5);
  for (float x : {-20.0f, 20.0f}) {
    Cylinder(m, kEyes, Frame::AlongY(V3(x, 94, 60), V3(0, 0, 1)), 10, 8, 6, 14);
  }
  // The mouth grille.
  BevelBox(m, kChrome, Frame::At(0, 57, 53), V3(30, 10, 8), 3);
  for (float x : {-18.0f, -6.0f, 6.0f, 18.0f}) Box(m, kFrame, Frame::At(x, 57, 61.5f), V3(3, 7, 1));
  // Ear discs.
  for (float side : {-1.0f, 1.0f}) {
    Cylinder(m, kFrame, Frame::AlongY(V3(side * 58, 88, -6), V3(side, 0, 0)), 26, 26, 12, 18);
    Cylinder(m, kChrome, Frame::AlongY(V3(side * 69, 88, -6), V3(side, 0, 0)), 14, 10, 5, 14);
  }
  // An antenna with a lamp on its tip, on the left of the crown.
  CylinderBetween(m, kChrome, V3(34, kHead - 6, -30), V3(34, kHead + 46, -34), 3, 8);
  Sphere(m, kLamps, V3(34, kHead + 50, -34), 6, 10, 6);
  return m;
}

}  // namespace datagen::robot
