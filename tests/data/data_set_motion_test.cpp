// What moves in the generated data set, checked the way the program plays it: the
// camera schedule, the robot's pose files, its path through the world, the arms'
// reach, and the signals that switch boards, credits and sparks.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

#include "anim/show_times.h"
#include "base/byte_io.h"
#include "assets/camera_file.h"
#include "assets/model.h"
#include "assets/robot_pose_file.h"
#include "data/data_set.h"
#include "datagen/robot/robot_metrics.h"
#include "datagen/world/layout.h"
#include "scenes/robot.h"

namespace {

using namespace data_set;
namespace layout = datagen::layout;
using datagen::V3;

// The last key time of a node's keyed tracks (a constant track counts 0).
float EndTime(const animation_file::NodeData& node) {
  float end = 0;
  if (node.position.keyed && !node.position.keys.empty()) end = std::max(end, node.position.keys.back().time);
  if (node.rotation.keyed && !node.rotation.keys.empty()) end = std::max(end, node.rotation.keys.back().time);
  if (node.scale.keyed && !node.scale.keys.empty()) end = std::max(end, node.scale.keys.back().time);
  return end;
}

// A node's attached object: reads back the matrices the animation writes.
struct Probe {
  Mesh mesh;
  explicit Probe(int id) { mesh.nodeId = id; }
  V3 Origin() const { return V3(mesh.baseTransform.a[12], mesh.baseTransform.a[13], mesh.baseTransform.a[14]); }
};

void CheckNoSpin(const std::vector<animation_file::NodeData>& nodes, const std::string& name) {
  for (const auto& node : nodes) {
    for (const auto& key : node.rotation.keys) {
      EXPECT_LE(std::fabs(key.angle), 7.0f) << name << " node " << node.id;
    }
    CheckNoSpin(node.children, name);
  }
}

TEST(DataSetMotion, NoNodeSpinsByAccident) {
  for (const std::string& name : AnimationNames()) CheckNoSpin(AnimationData(name).nodes, name);
}

TEST(DataSetMotion, CamerasCutInOrderAndHoldTheLastView) {
  std::vector<camera_file::CameraRecord> cameras;
  std::string error;
  ASSERT_TRUE(camera_file::ReadFile(PathOf("cameras/cameras.cam"), cameras, error)) << error;
  ASSERT_FALSE(cameras.empty());
  const auto animation = AnimationData("cameras");
  std::map<int, float> ends;
  for (const auto& node : animation.nodes) ends[node.id] = EndTime(node);
  std::set<int> ids;
  std::set<float> endTimes;
  float last = 0;
  for (const auto& camera : cameras) {
    EXPECT_NE(camera.id, 0);
    EXPECT_TRUE(ids.insert(camera.id).second) << "camera " << camera.id << " twice";
    ASSERT_TRUE(ends.count(camera.id)) << "camera " << camera.id << " has no node";
    EXPECT_GT(ends[camera.id], 0.0f) << "a camera without keys is never shown";
    EXPECT_TRUE(endTimes.insert(ends[camera.id]).second) << "two cameras end at " << ends[camera.id];
    last = std::max(last, ends[camera.id]);
    for (const auto* block : {&camera.fieldOfView, &camera.second}) {
      if (block->animated) {
        EXPECT_FALSE(block->keys.empty());
      }
    }
    const float fov = camera.fieldOfView.animated ? camera.fieldOfView.keys.at(0).value : camera.fieldOfView.constant;
    EXPECT_GT(fov, 0.4f);
    EXPECT_LT(fov, 1.3f);
  }
  EXPECT_GE(last, show::AsFloat(show::kMusicEnd));
  // The cuts the scene switches need.
  EXPECT_TRUE(endTimes.count(show::AsFloat(show::kSceneSwitch)));
  EXPECT_TRUE(endTimes.count(show::AsFloat(show::kBackToHall)));
}

TEST(DataSetMotion, RobotPoseFilesAreCompleteWithRigidBones) {
  robot_pose_file::Joints rest;
  std::string error;
  ASSERT_TRUE(robot_pose_file::ReadRestFrame(PathOf("Robot/frame"), rest, error)) << error;
  const std::pair<int, int> bones[] = {{4, 5}, {5, 6}, {8, 9}, {9, 10}, {12, 13}, {13, 14},
                                       {16, 17}, {17, 18}, {14, 15}, {18, 19}, {3, 1}, {1, 0}};
  const auto length = [](const robot_pose_file::Joints& f, int a, int b) {
    const sm::Vec3 &p = f.joints[a], &q = f.joints[b];
    return std::sqrt((p.x - q.x) * (p.x - q.x) + (p.y - q.y) * (p.y - q.y) + (p.z - q.z) * (p.z - q.z));
  };
  for (const char* file : {"releasing_anim", "run_anim", "breaking_wall_anim", "dance_anim"}) {
    std::vector<robot_pose_file::PoseKey> keys;
    ASSERT_TRUE(robot_pose_file::ReadAnimation(PathOf(std::string("Robot/") + file), keys, error)) << error;
    ASSERT_FALSE(keys.empty()) << file;
    std::string bytes;
    ASSERT_TRUE(bytes::ReadWholeFile(PathOf(std::string("Robot/") + file), bytes, error));
    EXPECT_EQ(bytes.size(), 4 + 244 * keys.size()) << file;
    for (std::size_t k = 0; k < keys.size(); ++k) {
      if (k > 0) {
        EXPECT_GT(keys[k].time, keys[k - 1].time) << file;
      }
      for (const auto& [a, b] : bones) {
        EXPECT_NEAR(length(keys[k].frame, a, b), length(keys[0].frame, a, b), 0.05f) << file << " key " << k;
      }
      // Arm and foot bones are placed by a frame that has no answer for a vertical bone.
      for (const auto& [a, b] : {std::pair(4, 5), std::pair(5, 6), std::pair(8, 9), std::pair(9, 10),
                                 std::pair(14, 15), std::pair(18, 19)}) {
        const sm::Vec3 &p = keys[k].frame.joints[a], &q = keys[k].frame.joints[b];
        EXPECT_GT(std::hypot(p.x - q.x, p.z - q.z), 0.5f) << file << " key " << k << " bone " << a << "-" << b;
      }
    }
    if (std::string(file) == "releasing_anim") {
      EXPECT_GT(keys.back().time, 10.1f);
    }
    if (std::string(file) == "dance_anim") {
      EXPECT_GE(keys.back().time, 21.1f);
    }
    if (std::string(file) == "run_anim") {
      // A closed cycle: the last key (which only sets the period) repeats the first.
      for (int j = 0; j < 20; ++j) {
        EXPECT_FLOAT_EQ(keys.back().frame.joints[j].x, keys[0].frame.joints[j].x);
        EXPECT_FLOAT_EQ(keys.back().frame.joints[j].y, keys[0].frame.joints[j].y);
        EXPECT_FLOAT_EQ(keys.back().frame.joints[j].z, keys[0].frame.joints[j].z);
      }
    }
    // The program adjusts every frame; the files already hold the adjusted frames.
    Robot::Frame adjusted = keys[0].frame;
    Robot::AdjustFrame(adjusted);
    for (int j = 0; j < 20; ++j) {
      EXPECT_NEAR(adjusted.joints[j].x, keys[0].frame.joints[j].x, 0.01f) << file << " joint " << j;
      EXPECT_NEAR(adjusted.joints[j].z, keys[0].frame.joints[j].z, 0.01f) << file << " joint " << j;
    }
  }
}

TEST(DataSetMotion, TheRobotPathRunsFromTheRigThroughTheGlass) {
  auto animation = LoadedAnimation("robot_path");
  Probe probe(data_set::Model("robot_path").meshes.at(0).nodeId);
  animation->AttachMeshes(std::vector<Mesh*>{&probe.mesh});
  const auto at = [&](float t) {
    animation->Update(t, sm::Mat4(), 0.0f);
    return probe.Origin();
  };
  const V3 start = at(show::AsFloat(show::kRunStart));
  EXPECT_NEAR(start.x, layout::kReleaseHip.x, 0.5f);
  // The run's hips ride lower than standing: the legs take up the difference on the rig.
  EXPECT_NEAR(start.y, layout::kRigPlatformTop + datagen::robot::metrics::kRunHipHeight, 0.5f);
  EXPECT_NEAR(start.z, layout::kReleaseHip.z, 0.5f);
  // Standing at the glass.
  const V3 stop = at(show::AsFloat(show::kRobotStands));
  for (float t = 136.5f; t < 164.48f; t += 0.5f) {
    EXPECT_LT(datagen::Length(at(t) - stop), 1.0f) << t;
  }
  EXPECT_LT(stop.x, layout::kGlassPlaneX);
  // The follow light looks from 2 s back: the robot must have moved in between.
  for (float t = 120.05f; t < show::AsFloat(show::kRobotStands); t += 0.25f) {
    const V3 d = at(t) - at(t - 2.0f);
    EXPECT_GT(std::hypot(d.x, d.z), 10.0f) << t;
  }
  for (float t = show::AsFloat(show::kRunAgain); t < show::AsFloat(show::kBackToHall); t += 0.25f) {
    const V3 d = at(t) - at(t - 2.0f);
    EXPECT_GT(std::hypot(d.x, d.z), 10.0f) << t;
  }
  // Through the pane at the impact, and beyond it afterwards.
  EXPECT_GT(at(show::AsFloat(show::kWallImpact)).x, layout::kGlassPlaneX - 200.0f);
  EXPECT_GT(at(170.0f).x, layout::kGlassPlaneX);
  const auto keys = AnimationData("robot_path").nodes.at(0).position.keys;
  EXPECT_GE(keys.back().time, show::AsFloat(show::kDanceLight));
  // Inside the shards' side walls all along.
  for (float t = show::AsFloat(show::kRunStart); t < show::AsFloat(show::kDanceLight); t += 0.5f) {
    const V3 p = at(t);
    EXPECT_GT(p.z, layout::kShardLimitLow);
    EXPECT_LT(p.z, layout::kShardLimitHigh);
  }
}

TEST(DataSetMotion, TheArmsReachTheirTorchesWithABend) {
  for (int arm = 1; arm <= 2; ++arm) {
    const std::string name = arm == 1 ? "mech_arm_01_end" : "mech_arm_02_end";
    const V3 base = arm == 1 ? layout::kArm1Base : layout::kArm2Base;
    auto animation = LoadedAnimation(name);
    const auto model = data_set::Model(name);
    const auto* end = FindMesh(model, "arm_end");
    ASSERT_NE(end, nullptr);
    Probe probe(end->nodeId);
    animation->AttachMeshes(std::vector<Mesh*>{&probe.mesh});
    for (float t = 0; t <= 240.0f; t += 0.1f) {
      animation->Update(t, sm::Mat4(), 0.0f);
      const V3 e = probe.Origin();
      const float d = datagen::Length(e - base);
      ASSERT_GE(d, 250.0f) << name << " at " << t;
      ASSERT_LE(d, 820.0f) << name << " at " << t;
      ASSERT_GE(std::hypot(e.x - base.x, e.z - base.z), 150.0f) << name << " at " << t;
    }
  }
}

// A value's track as the program holds it.
KeyedValue Track(const std::string& model, const std::string& mesh, const std::string& value) {
  const auto data = data_set::Model(model);
  const auto* found = mesh.empty() ? &data.meshes.at(0) : FindMesh(data, mesh);
  const auto* v = found == nullptr ? nullptr : FindValue(*found, value);
  EXPECT_NE(v, nullptr) << model << "/" << value;
  return v == nullptr ? KeyedValue() : MakeNodeValue(*v);
}

TEST(DataSetMotion, SignalsStartQuietAndBoardsChangeOnlyWhileHidden) {
  const KeyedValue index = Track("boards", "", "board_index");
  const KeyedValue opacity = Track("boards", "", "board_opacity");
  EXPECT_EQ(opacity.FloatAt(0.0f, -1), 0.0f);
  int previous = index.IntAt(0.0f, -1);
  for (float t = 0; t <= 240.0f; t += 0.01f) {
    const int now = index.IntAt(t, -1);
    EXPECT_GE(now, 0);
    EXPECT_LE(now, 3);
    if (now != previous) {
      EXPECT_LE(opacity.FloatAt(t, 1), 0.0f) << "the board changes while shown at " << t;
    }
    previous = now;
  }
  EXPECT_EQ(Track("credits", "", "credits_signal").IntAt(0.0f, -1), 0);
  for (const auto& [model, value] : {std::pair("mech_arm_01_end", "sparks"), std::pair("mech_arm_02_end", "sparks2")}) {
    const KeyedValue sparks = Track(model, "_ctrl_props", value);
    for (float t = show::AsFloat(show::kRobotRelease); t <= 240.0f; t += 0.05f) {
      ASSERT_EQ(sparks.IntAt(t, -1), 0) << model << " at " << t;
    }
    int bursts = 0;
    int last = 0;
    for (float t = 0; t < 110.0f; t += 0.05f) {
      const int now = sparks.IntAt(t, 0);
      if (now == 1 && last != 1) ++bursts;
      last = now;
    }
    EXPECT_GE(bursts, 5) << model << " welds in bursts";
  }
}

}  // namespace
