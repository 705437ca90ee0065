#include "app/frame_loop.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

// Records the calls the loop makes, in order.
struct RecordingClient {
  std::vector<std::string> calls;
  std::vector<float> times;
  int updateFailsAt = -1;  // frame index whose Update returns false
  int renderFailsAt = -1;
  int frame = 0;

  bool Update(float timeMs, float) {
    calls.push_back("update");
    times.push_back(timeMs);
    return frame != updateFailsAt;
  }
  bool Render(float, float) {
    calls.push_back("render");
    return frame++ != renderFailsAt;
  }
};

FrameTimer SteadyTimer(std::int64_t stepTicks) {
  auto now = std::make_shared<std::int64_t>(0);
  return FrameTimer([now, stepTicks] { return (*now += stepTicks); }, 1000);
}

TEST(FrameLoop, EscapeEndsTheLoopAfterTheQueueIsEmptied) {
  RecordingClient client;
  int pumps = 0;
  FrameLoopEnvironment environment{[&] { ++pumps; return true; }, [&] { return pumps == 3; }};
  FrameTimer timer = SteadyTimer(10);
  RunFrameLoop(client, timer, environment);
  EXPECT_EQ(pumps, 3);
  EXPECT_EQ(client.calls.size(), 4u);  // two frames, each update then render
}

TEST(FrameLoop, AQuitMessageLeavesAtOnce) {
  RecordingClient client;
  FrameLoopEnvironment environment{[] { return false; }, [] { return false; }};
  FrameTimer timer = SteadyTimer(10);
  RunFrameLoop(client, timer, environment);
  EXPECT_TRUE(client.calls.empty());
}

TEST(FrameLoop, AFailedUpdateStillRendersItsFrame) {
  RecordingClient client;
  client.updateFailsAt = 1;
  FrameLoopEnvironment environment{[] { return true; }, [] { return false; }};
  FrameTimer timer = SteadyTimer(10);
  RunFrameLoop(client, timer, environment);
  EXPECT_EQ(client.calls, (std::vector<std::string>{"update", "render", "update", "render"}));
}

TEST(FrameLoop, AFailedRenderEndsTheLoop) {
  RecordingClient client;
  client.renderFailsAt = 2;
  FrameLoopEnvironment environment{[] { return true; }, [] { return false; }};
  FrameTimer timer = SteadyTimer(10);
  RunFrameLoop(client, timer, environment);
  EXPECT_EQ(client.calls.size(), 6u);
}

TEST(FrameLoop, TimeIsTheSumOfTheSteps) {
  RecordingClient client;
  client.renderFailsAt = 3;
  FrameLoopEnvironment environment{[] { return true; }, [] { return false; }};
  FrameTimer timer = SteadyTimer(16);  // 16 ticks at 1000 Hz: 16 ms per frame
  RunFrameLoop(client, timer, environment);
  EXPECT_EQ(client.times, (std::vector<float>{16.0f, 32.0f, 48.0f, 64.0f}));
}

}  // namespace
