#pragma once
// The geometry of the robot's twelve parts, each modelled around its joint in the frame
// the program places it with (robot_rig.h), and stored the way that frame needs:
//
//   head, corpse, thighs, shins   placed by mirroring frames (x toward the robot's
//                                 right): modelled with x toward its left and stored
//                                 with x negated, so the two mirrors cancel
//   upper arms, forearms          along -z from the joint, round about that axis: the
//                                 look-at frame turns them freely about it
//   feet                          from the ankle, toes toward -z, x toward the right,
//                                 the sole flat when the foot bone points down at
//                                 FlatFootPitch()
#include <array>

#include "datagen/geometry/mesh_builder.h"
#include "datagen/robot/robot_rig.h"

namespace datagen::robot {

// The robot's paints.
extern const Paint kArmour;   // painted plates
extern const Paint kAccent;   // safety-orange trim
extern const Paint kFrame;    // dark steel: joints, waist, hands
extern const Paint kChrome;   // polished pistons and rods
extern const Paint kEyes;     // the eyes and the chest's core (glow)
extern const Paint kLamps;    // small status lamps (glow)

// Each part as built (right-handed, before any mirroring).
MeshBuilder HeadGeometry();
MeshBuilder CorpseGeometry();
MeshBuilder UpperArmGeometry();
MeshBuilder ForearmGeometry();
MeshBuilder ThighGeometry();
MeshBuilder ShinGeometry();
MeshBuilder FootGeometry();

// Every part as stored in its model file, in Parts() order.
std::array<MeshBuilder, kPartCount> PartGeometry();

// The twelve parts baked in the releasing animation's first pose at placement A: the
// robot hanging in the rig before its release ("robot_lying"), in world coordinates.
MeshBuilder LyingRobotGeometry();

// The shoulder's dome radius: the front of the robot as it hits the glass.
constexpr float kShoulderDomeRadius = 62.0f;

}  // namespace datagen::robot
