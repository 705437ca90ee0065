// The scenes' per-frame work (both updates, the robot's poses, the arms and their
// sparks, the shards, the light) runs every frame and must not allocate. This test
// program counts every call of the global operator new (tests/support/allocation_counter.cpp) and plays the timeline.
#include <gtest/gtest.h>

#include "support/allocation_counter.h"
#include "scenes/log_capture.h"
#include "scenes/scene_content.h"
#include "scenes/scene_driver.h"

namespace {

using namespace scene_testing;

TEST(SceneFrames, PlayingTheWholeTimelineAllocatesNothing) {
  LogCapture log;
  FakeWorld world;
  AddAllSceneContent(world, log.Dir().Path(), 100);
  ASSERT_TRUE(world.robot.Setup(world, log.Dir().Path()));
  SceneDriver driver(world);
  ASSERT_TRUE(driver.Load());

  const long before = AllocationCount();
  sm::Mat4 light;
  float previous = 0.0f;
  for (int frame = 0; frame <= 240 * 60; ++frame) {
    const float t = static_cast<float>(frame) / 60.0f;
    driver.Frame(t, t - previous);
    driver.CurrentScene().AdjustLight(light);
    previous = t;
  }
  EXPECT_EQ(AllocationCount(), before);
  // The counter is live: a call it must see.
  void* probe = ::operator new(8);
  ::operator delete(probe);
  EXPECT_EQ(AllocationCount(), before + 1);
}

}  // namespace
