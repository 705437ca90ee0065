#include "datagen/robot/robot_rig.h"

#include <algorithm>
#include <cmath>

#include "datagen/geometry/frame.h"
#include "datagen/world/layout.h"

namespace datagen::robot {
namespace {

// The matrix with axes x, y, z as its first three columns and t as its translation.
sm::Mat4 Columns(V3 x, V3 y, V3 z, V3 t) {
  Frame frame;
  frame.origin = t;
  frame.x = x;
  frame.y = y;
  frame.z = z;
  return frame.Matrix();
}

V3 Horizontal(V3 v) { return Normalize(V3(v.x, 0, v.z)); }

}  // namespace

Pose Adjusted(const Pose& pose) {
  Pose out = pose;
  const V3 hips = pose[kHips];
  for (V3& joint : out.joints) joint -= hips;
  const V3 d1 = Horizontal(out[kRightShoulder] - out[kNeck]);
  const V3 right = d1 * 20.0f + V3(0, 40, 30) - out[kRightHip];
  for (int j = kRightHip; j <= kRightToes; ++j) out[j] += right;
  const V3 d2 = Horizontal(out[kLeftShoulder] - out[kNeck]);
  const V3 left = d2 * 40.0f + V3(0, 40, 30) - out[kLeftHip];
  for (int j = kLeftHip; j <= kLeftToes; ++j) out[j] += left;
  return out;
}

sm::Mat4 LookAtFrame(V3 target, V3 eye) {
  const V3 z = Normalize(eye - target);
  const V3 x = Normalize(Cross(V3(0, 1, 0), z));
  const V3 y = Cross(z, x);
  return Columns(x, y, z, eye);
}

sm::Mat4 AimFrame(V3 at, V3 toward, V3 up) {
  const V3 z = Normalize(at - toward);
  const V3 x = Normalize(Cross(up, z));
  return Columns(Cross(x, z), z, x, at);
}

sm::Mat4 RiseFrame(V3 up, V3 at, V3 toward) {
  const V3 y = Normalize(toward - at);
  const V3 z = Normalize(Cross(up, y));
  return Columns(Cross(z, y), y, z, at);
}

const std::array<PartInfo, kPartCount>& Parts() {
  static const std::array<PartInfo, kPartCount> parts = {{
      {"robot_head", kHeadTop, true},
      {"robot_corpse", kNeck, true},
      {"robot_shoulder_right", kRightShoulder, false},
      {"robot_shoulder_left", kLeftShoulder, false},
      {"robot_elbow_right", kRightElbow, false},
      {"robot_elbow_left", kLeftElbow, false},
      {"robot_thigh_right", kRightKnee, true},
      {"robot_thigh_left", kLeftKnee, true},
      {"robot_tibia_right", kRightAnkle, true},
      {"robot_tibia_left", kLeftAnkle, true},
      {"robot_foot_right", kRightToes, false},
      {"robot_foot_left", kLeftToes, false},
  }};
  return parts;
}

std::array<sm::Mat4, kPartCount> PartFrames(const Pose& p) {
  const V3 u = -Horizontal(p[kRightShoulder] - p[kNeck]);
  const sm::Mat4 halfTurn = sm::RotationMatrix(3.1415f, 0, 0, 1);
  return {{
      RiseFrame(u, p[kNeck], p[kHeadTop]),
      RiseFrame(u, p[kHips], p[kNeck]),
      LookAtFrame(p[kRightElbow], p[kRightShoulder]),
      LookAtFrame(p[kLeftElbow], p[kLeftShoulder]),
      LookAtFrame(p[kRightHand], p[kRightElbow]),
      sm::Product(halfTurn, LookAtFrame(p[kLeftHand], p[kLeftElbow])),
      AimFrame(p[kRightHip], p[kRightKnee], u),
      AimFrame(p[kLeftHip], p[kLeftKnee], u),
      AimFrame(p[kRightKnee], p[kRightAnkle], u),
      AimFrame(p[kLeftKnee], p[kLeftAnkle], u),
      LookAtFrame(p[kRightToes], p[kRightAnkle]),
      LookAtFrame(p[kLeftToes], p[kLeftAnkle]),
  }};
}

sm::Mat4 ReleasePlacement() {
  const V3 a = layout::kReleaseHip;
  return sm::Product(sm::RotationMatrix(3.1415f, 0, 1, 0), sm::Translation(a.x, a.y, a.z));
}

sm::Mat4 DancePlacement() {
  const V3 b = layout::kDanceHip;
  return sm::Product(sm::RotationMatrix(3.1415f, 0, 1, 0), sm::Translation(b.x, b.y, b.z));
}

ArmFrames SolveArm(V3 base, V3 wrist) {
  const V3 v = wrist - base;
  const float d = Length(v);
  const V3 n = v / d;
  const float upper = layout::kArmUpper, fore = layout::kArmFore;
  const float f = (fore * fore - upper * upper + d * d) / (2.0f * d);
  const float g = std::sqrt(std::max(0.0f, fore * fore - f * f));
  const V3 h = Normalize(Cross(V3(0, 1, 0), n));
  const V3 k = Cross(n, h);
  ArmFrames frames;
  frames.elbow = base + n * (d - f) + k * g;
  frames.base = LookAtFrame(V3(wrist.x, base.y, wrist.z), base);
  frames.upper = LookAtFrame(frames.elbow, base);
  frames.fore = LookAtFrame(wrist, frames.elbow);
  return frames;
}

V3 TransformPoint(const sm::Mat4& m, V3 p) { return V3(sm::Transformed(m, p.ToSm())); }

V3 TransformDirection(const sm::Mat4& m, V3 d) {
  return V3(m.a[0] * d.x + m.a[4] * d.y + m.a[8] * d.z, m.a[1] * d.x + m.a[5] * d.y + m.a[9] * d.z,
            m.a[2] * d.x + m.a[6] * d.y + m.a[10] * d.z);
}

}  // namespace datagen::robot
