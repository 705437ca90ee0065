#pragma once
// The geometry of the robot's twelve parts, each in the frame the program places it
// with, mirrored parts already stored with x negated.
#include <array>

#include "datagen/geometry/mesh_builder.h"
#include "datagen/robot/robot_rig.h"

namespace datagen::robot {

// In Parts() order.
std::array<MeshBuilder, kPartCount> PartGeometry();

}  // namespace datagen::robot
