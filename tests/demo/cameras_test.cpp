// The cameras: the schedule built from the camera file over the "cameras" animation,
// the animated camera's field of view, and the manual camera's keys and drag.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "anim/node_animation.h"
#include "demo/camera_schedule.h"
#include "demo/manual_camera.h"
#include "platform/input.h"
#include "support/temp_dir.h"

namespace {

using camera_file::CameraRecord;
using camera_file::ValueBlock;

animation_file::NodeData CameraNode(int id, float lastKey) {
  animation_file::NodeData node;
  node.id = id;
  node.rotation.axisZ = 1;
  node.scale.x = node.scale.y = node.scale.z = 1;
  node.position.keyed = true;
  node.position.keys = {{0.0f, 0, 0, 0}, {lastKey, 10.0f * id, 0, 0}};
  return node;
}

// An animation with one camera node per end time (ids 1, 2, ...) and the records for them.
struct Cameras {
  explicit Cameras(const std::vector<float>& endTimes) {
    animation_file::AnimationData data;
    for (std::size_t i = 0; i < endTimes.size(); ++i) {
      const int id = static_cast<int>(i) + 1;
      data.nodes.push_back(CameraNode(id, endTimes[i]));
      CameraRecord record;
      record.id = id;
      record.fieldOfView.constant = 0.5f + 0.1f * static_cast<float>(id);
      record.second.constant = 10.0f;
      records.push_back(record);
    }
    animation = Animation::FromData(data);
  }
  std::unique_ptr<Animation> animation;
  std::vector<CameraRecord> records;
};

std::vector<int> ScheduledIds(CameraSchedule& schedule) {
  std::vector<int> ids;
  for (std::size_t i = 0; i < schedule.Size(); ++i) ids.push_back(schedule.At(i).GetId());
  return ids;
}

TEST(CameraSchedule, SortsByEndTimeKeepingTheFileOrderOfEqualTimes) {
  Cameras cameras({12.0f, 5.0f, 5.0f});  // A, B, C
  CameraSchedule schedule;
  std::string error;
  ASSERT_TRUE(schedule.Build(cameras.records, *cameras.animation, error)) << error;
  EXPECT_EQ(ScheduledIds(schedule), (std::vector<int>{2, 3, 1}));
  EXPECT_FLOAT_EQ(schedule.At(0).endTime, 5.0f);
  EXPECT_FLOAT_EQ(schedule.At(2).endTime, 12.0f);
}

TEST(CameraSchedule, HandsOverAfterEachEndTimeAndKeepsTheLastCamera) {
  Cameras cameras({5.0f, 12.0f});
  CameraSchedule schedule;
  std::string error;
  ASSERT_TRUE(schedule.Build(cameras.records, *cameras.animation, error));
  EXPECT_EQ(schedule.Current(0.0f)->GetId(), 1);
  EXPECT_EQ(schedule.Current(5.0f)->GetId(), 1);
  EXPECT_EQ(schedule.Current(5.01f)->GetId(), 2);
  EXPECT_EQ(schedule.Current(100.0f)->GetId(), 2);
  // The schedule never goes back, so cuts stay where they were made.
  EXPECT_EQ(schedule.Current(1.0f)->GetId(), 2);
}

TEST(CameraSchedule, OneCameraIsCurrentAtEveryTime) {
  Cameras cameras({3.0f});
  CameraSchedule schedule;
  std::string error;
  ASSERT_TRUE(schedule.Build(cameras.records, *cameras.animation, error));
  for (float t : {-1.0f, 0.0f, 3.0f, 50.0f}) EXPECT_EQ(schedule.Current(t)->GetId(), 1) << t;
}

TEST(CameraSchedule, EndTimeIsTheLatestLastKeyOfTheNodesTracks) {
  Cameras cameras({4.0f});
  Animation* node = cameras.animation->FindNode(1);
  node->rotationTrack = std::make_unique<TCBInterpolator<sm::Quat>>();
  node->rotationTrack->SetKey(9.0f, sm::Quat(), false);
  node->scaleTrack = std::make_unique<TCBInterpolator<sm::Vec3>>();  // empty: counts 0
  CameraSchedule schedule;
  std::string error;
  ASSERT_TRUE(schedule.Build(cameras.records, *cameras.animation, error));
  EXPECT_FLOAT_EQ(schedule.At(0).endTime, 9.0f);
}

TEST(CameraSchedule, TheNodeAnimationWritesTheCamerasView) {
  Cameras cameras({4.0f});
  CameraSchedule schedule;
  std::string error;
  ASSERT_TRUE(schedule.Build(cameras.records, *cameras.animation, error));
  cameras.animation->Update(4.0f, sm::Mat4(), 0.0f);
  sm::Mat4 view;
  schedule.Current(4.0f)->ViewMatrix(view);
  // The node stands at (10, 0, 0): the eye maps to the origin.
  const sm::Vec3 eye = sm::Transformed(view, sm::Vec3(10, 0, 0));
  EXPECT_NEAR(eye.x, 0.0f, 1e-4f);
  EXPECT_NEAR(eye.y, 0.0f, 1e-4f);
  EXPECT_NEAR(eye.z, 0.0f, 1e-4f);
}

TEST(CameraSchedule, RefusesNoCamerasAndCamerasWithoutANode) {
  Cameras cameras({4.0f});
  CameraSchedule schedule;
  std::string error;
  EXPECT_FALSE(schedule.Build({}, *cameras.animation, error));
  EXPECT_EQ(schedule.Current(1.0f), nullptr);

  std::vector<CameraRecord> records = cameras.records;
  records.push_back(records.front());
  records.back().id = 77;
  EXPECT_FALSE(schedule.Build(records, *cameras.animation, error));
  EXPECT_NE(error.find("camera 77"), std::string::npos) << error;
  EXPECT_EQ(schedule.Size(), 0u);
}

TEST(CameraSchedule, LoadsTheCameraFile) {
  Cameras cameras({2.0f, 1.0f});
  testing_support::TempDir dir;
  std::string error;
  ASSERT_TRUE(camera_file::WriteFile(dir.File("cameras.cam"), cameras.records, error)) << error;
  CameraSchedule schedule;
  ASSERT_TRUE(schedule.Load(dir.File("cameras.cam"), *cameras.animation, error)) << error;
  EXPECT_EQ(ScheduledIds(schedule), (std::vector<int>{2, 1}));

  EXPECT_FALSE(schedule.Load(dir.File("missing.cam"), *cameras.animation, error));
  EXPECT_NE(error.find("missing.cam"), std::string::npos) << error;
}

TEST(AnimCamera, FieldOfViewIsTheConstantOrTheTrack) {
  CameraRecord constant;
  constant.fieldOfView.constant = 0.7f;
  EXPECT_FLOAT_EQ(AnimCamera(constant).FieldOfView(3.0f), 0.7f);

  CameraRecord keyed;
  keyed.fieldOfView.animated = true;
  keyed.fieldOfView.keys = {{0.0f, 0.5f}, {10.0f, 1.0f}};
  AnimCamera camera(keyed);
  EXPECT_FLOAT_EQ(camera.FieldOfView(0.0f), 0.5f);
  EXPECT_FLOAT_EQ(camera.FieldOfView(10.0f), 1.0f);
  EXPECT_FLOAT_EQ(camera.FieldOfView(20.0f), 1.0f);

  // Flagged as animated with no keys: still a track, read as 60 degrees.
  CameraRecord empty;
  empty.fieldOfView.animated = true;
  empty.fieldOfView.constant = 0.3f;
  EXPECT_FLOAT_EQ(AnimCamera(empty).FieldOfView(1.0f), AnimCamera::kDefaultFieldOfView);
}

// Keys, the left button and the cursor as a test sets them.
class FakeInput final : public IInputState {
 public:
  bool IsKeyDown(int key) override { return keys.count(key) != 0; }
  bool IsLeftButtonDown() override { return leftButton; }
  void CursorPosition(int& x, int& y) override {
    x = cursorX;
    y = cursorY;
  }
  void ScreenSize(int& width, int& height) override {
    width = 1280;
    height = 720;
  }
  std::set<int> keys;
  bool leftButton = false;
  int cursorX = 100;
  int cursorY = 100;
};

class ManualCamera : public ::testing::Test {
 protected:
  // The position change after holding the keys for 10 ms.
  sm::Vec3 Move(std::set<int> keys, float yaw = 0.0f, float pitch = 0.0f) {
    ManCam camera(input);
    camera.yaw = yaw;
    camera.pitch = pitch;
    input.keys = std::move(keys);
    const sm::Vec3 start = camera.position;
    camera.Update(10.0f);
    EXPECT_FLOAT_EQ(camera.position.w, 1.0f);
    return sm::Vec3(camera.position.x - start.x, camera.position.y - start.y, camera.position.z - start.z);
  }
  FakeInput input;
};

void ExpectNear(const sm::Vec3& actual, float x, float y, float z) {
  EXPECT_NEAR(actual.x, x, 1e-3f);
  EXPECT_NEAR(actual.y, y, 1e-3f);
  EXPECT_NEAR(actual.z, z, 1e-3f);
}

TEST_F(ManualCamera, KeysMoveAlongTheViewAtTwoTenthsPerMillisecond) {
  ExpectNear(Move({'W'}), 0, 0, -2);
  ExpectNear(Move({'S'}), 0, 0, 2);
  ExpectNear(Move({'A'}), -2, 0, 0);
  ExpectNear(Move({'D'}), 2, 0, 0);
  ExpectNear(Move({'Q'}), 0, 2, 0);
  ExpectNear(Move({'E'}), 0, -2, 0);
  ExpectNear(Move({'W', 'D', 'Q'}), 2, 2, -2);
  ExpectNear(Move({'W', 'S'}), 0, 0, 0);
}

TEST_F(ManualCamera, PitchAndYawTurnTheMovement) {
  ExpectNear(Move({'W'}, 0.0f, 90.0f), 0, -2, 0);
  ExpectNear(Move({'W'}, 90.0f, 0.0f), 2, 0, 0);
  ExpectNear(Move({'A'}, 0.0f, 45.0f), -2, 0, 0);
  // Beyond 90 degrees of pitch the sides swap.
  ExpectNear(Move({'A'}, 0.0f, 135.0f), 2, 0, 0);
}

TEST_F(ManualCamera, LeftControlIsTenTimesFaster) {
  ExpectNear(Move({'W', platform::vk::kLeftControl}), 0, 0, -20);
  ExpectNear(Move({'Q', platform::vk::kLeftControl}), 0, 20, 0);
}

TEST_F(ManualCamera, DraggingTurnsHalfADegreePerPixel) {
  input.cursorX = 500;
  input.cursorY = 300;
  ManCam camera(input);
  input.leftButton = true;
  input.cursorX = 520;
  input.cursorY = 290;
  camera.Update(1.0f);
  EXPECT_FLOAT_EQ(camera.yaw, 10.0f);
  EXPECT_FLOAT_EQ(camera.pitch, -5.0f);

  // The cursor on the screen centre's x (640) turns no yaw, but is remembered.
  input.cursorX = 640;
  input.cursorY = 300;
  camera.Update(1.0f);
  EXPECT_FLOAT_EQ(camera.yaw, 10.0f);
  EXPECT_FLOAT_EQ(camera.pitch, 0.0f);
  input.cursorX = 650;
  camera.Update(1.0f);
  EXPECT_FLOAT_EQ(camera.yaw, 15.0f);

  // Without the button the cursor does nothing.
  input.leftButton = false;
  input.cursorX = 900;
  camera.Update(1.0f);
  EXPECT_FLOAT_EQ(camera.yaw, 15.0f);
}

TEST_F(ManualCamera, ViewMatrixLooksFromThePositionAlongTheAngles) {
  ManCam camera(input);
  EXPECT_FLOAT_EQ(camera.FieldOfView(5.0f), 1.0471976f);
  camera.position = sm::Vec3(10, 20, 30);
  camera.yaw = 90.0f;
  sm::Mat4 view;
  camera.ViewMatrix(view);
  ExpectNear(sm::Transformed(view, sm::Vec3(10, 20, 30)), 0, 0, 0);
  // Yaw 90: W moves towards +x, so a point ahead on +x lies on the view's -z axis.
  ExpectNear(sm::Transformed(view, sm::Vec3(15, 20, 30)), 0, 0, -5);
}

}  // namespace
