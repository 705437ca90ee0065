#include "datagen/robot/robot_rig.h"

#include "scenes/frames.h"
#include "scenes/robot.h"

namespace datagen::robot {

const std::array<PartInfo, kPartCount>& Parts() {
  static const std::array<PartInfo, kPartCount> parts = [] {
    std::array<PartInfo, kPartCount> table{};
    for (int i = 0; i < kPartCount; ++i) {
      const Robot::PartName& part = Robot::kPartNames[i];
      // Head, body, thighs and shins are placed by RiseFrame or AimFrame, which mirror.
      const bool mirrored = part.joint == 0 || part.joint == 1 || part.joint == 13 || part.joint == 14 ||
                            part.joint == 17 || part.joint == 18;
      table[static_cast<std::size_t>(i)] = {part.model, part.joint, mirrored};
    }
    return table;
  }();
  return parts;
}

std::array<sm::Mat4, kPartCount> PartFrames(const Robot::Frame& pose) {
  const sm::Vec3* j = pose.joints;
  const sm::Vec3 u = Scaled(sm::Normalized(sm::Vec3(j[8].x - j[1].x, 0.0f, j[8].z - j[1].z)), -1.0f);
  std::array<sm::Mat4, kPartCount> frames;
  for (int i = 0; i < kPartCount; ++i) {
    sm::Mat4& frame = frames[static_cast<std::size_t>(i)];
    switch (Parts()[static_cast<std::size_t>(i)].joint) {
      case 0: frame = RiseFrame(u, j[1], j[0]); break;
      case 1: frame = RiseFrame(u, j[3], j[1]); break;
      case 4: frame = LookAt(j[5], j[4]); break;
      case 8: frame = LookAt(j[9], j[8]); break;
      case 5: frame = sm::Product(sm::RotationMatrix(3.1415f, 0, 0, 1), LookAt(j[6], j[5])); break;
      case 9: frame = LookAt(j[10], j[9]); break;
      case 13: frame = AimFrame(j[12], j[13], u); break;
      case 17: frame = AimFrame(j[16], j[17], u); break;
      case 14: frame = AimFrame(j[13], j[14], u); break;
      case 18: frame = AimFrame(j[17], j[18], u); break;
      case 15: frame = LookAt(j[15], j[14]); break;
      default: frame = LookAt(j[19], j[18]); break;
    }
  }
  return frames;
}

sm::Mat4 ReleasePlacement() {
  return sm::Product(sm::RotationMatrix(3.1415f, 0, 1, 0), sm::Translation(-6.859f, 380.929f, 1694.074f));
}

sm::Mat4 DancePlacement() {
  return sm::Product(sm::RotationMatrix(3.1415f, 0, 1, 0), sm::Translation(6.289f, 365.769f, 158.514f));
}

}  // namespace datagen::robot
