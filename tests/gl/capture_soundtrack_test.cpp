// Without a sound card the demo plays the same timeline: the controller on its own
// soundtrack clock, under SDL's dummy driver and with no audio driver chosen at all,
// draws the frames drift-capture's session draws for the same times.
#include <stdlib.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "anim/random.h"
#include "app/frame_timer.h"
#include "assets/image.h"
#include "capture/capture_session.h"
#include "capture/frame_hashes.h"
#include "demo/demo_controller.h"
#include "offscreen_target.h"
#include "platform/offscreen_context.h"
#include "support/process.h"
#include "support/temp_dir.h"
#include "support/test_data_set.h"

namespace {

using namespace testing_support;

constexpr int kWidth = 160;
constexpr int kHeight = 96;
constexpr int kFrames = 40;
constexpr int kDrawEvery = 8;

// One frame of the run on the soundtrack: what the frame loop passed, the timeline time
// the music gave, and the picture's hash where one was drawn.
struct PlayedFrame {
  float loopMs = 0.0f;
  float stepMs = 0.0f;
  float timelineMs = 0.0f;
  bool drawn = false;
  std::uint64_t hash = 0;
};

Image ReadBack(const OffscreenTarget& target) {
  Image picture = Image::Allocate(kWidth, kHeight, 24);
  glext::glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, target.Framebuffer());
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, picture.pixels.get());
  glext::glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
  return picture;
}

// The clock reading that makes the timeline show exactly timelineMs: the music's
// seconds, as single precision, times 1000.
double ClockSecondsFor(float timelineMs) {
  float seconds = static_cast<float>(timelineMs / 1000.0);
  for (int step = 0; step < 8 && seconds * 1000.0f != timelineMs; ++step) {
    seconds = std::nextafter(seconds, seconds * 1000.0f < timelineMs ? 1e9f : -1e9f);
  }
  return seconds;
}

// Plays the data set on the controller's own soundtrack clock, in real time.
std::vector<PlayedFrame> PlayOnTheSoundtrack(const std::string& dataFolder, std::string& log) {
  std::vector<PlayedFrame> frames;
  platform::OffscreenContext context;
  EXPECT_TRUE(context.Create(kWidth, kHeight)) << context.Error();
  OffscreenTarget target(kWidth, kHeight);
  ResetRand();
  DemoController* controller = DemoController::Instance();
  ControllerOptions options;
  options.useCurrentContext = true;
  options.outputFramebuffer = target.Framebuffer();
  controller->SetOptions(options);
  const bool loaded =
      controller->Init(kWidth, kHeight, 32, 0) && controller->LoadContent(dataFolder) && controller->Prepare();
  EXPECT_TRUE(loaded);
  FrameTimer timer;
  float loopMs = 0.0f;
  for (int i = 0; loaded && i < kFrames; ++i) {
    PlayedFrame frame;
    frame.stepMs = timer.Tick();
    loopMs += frame.stepMs;
    frame.loopMs = loopMs;
    controller->Update(frame.loopMs, frame.stepMs);
    frame.timelineMs = controller->Timeline().TimeMs();
    if (i % kDrawEvery == kDrawEvery - 1) {
      controller->Render(frame.loopMs, frame.stepMs);
      frame.drawn = true;
      frame.hash = PixelHash(ReadBack(target));
    }
    frames.push_back(frame);
    SleepSeconds(0.01);
  }
  controller->Shutdown();
  DemoController::Destroy();
  log = ReadFile("log.txt");
  return frames;
}

class SoundtrackClock : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    if (driver != nullptr) savedDriver_ = driver;
    if (GetParam()[0] != '\0') {
      setenv("SDL_AUDIODRIVER", GetParam(), 1);
    } else {
      unsetenv("SDL_AUDIODRIVER");
    }
  }
  void TearDown() override {
    if (savedDriver_.empty()) {
      unsetenv("SDL_AUDIODRIVER");
    } else {
      setenv("SDL_AUDIODRIVER", savedDriver_.c_str(), 1);
    }
  }
  std::string savedDriver_;
  TempDir dir_;
};

TEST_P(SoundtrackClock, PlaysTheFramesTheCaptureDrawsForTheSameTimes) {
  ScopedWorkingDirectory inDir(dir_.Path());
  TestDataSetOptions dataSet;
  dataSet.musicSeconds = 30.0;  // no loop within the run
  std::string error;
  ASSERT_TRUE(WriteTestDataSet(dir_.File("data"), dataSet, error)) << error;
  std::string log;
  const std::vector<PlayedFrame> played = PlayOnTheSoundtrack(dir_.File("data/"), log);
  ASSERT_EQ(played.size(), static_cast<std::size_t>(kFrames));
  EXPECT_EQ(log.find("no music"), std::string::npos) << "the soundtrack drove the timeline: " << log;
  EXPECT_GT(played.back().timelineMs, played.front().timelineMs) << "the music's position moves on";
  EXPECT_LT(played.back().timelineMs, 30000.0f);

  ASSERT_TRUE(PackDataFolder(dir_.File("data"), dir_.File("demodat"), error)) << error;
  CaptureSession session;
  ASSERT_TRUE(session.Open(dir_.File("demodat"), kWidth, kHeight, FrameGrid::ForSection(60, 0, 1), error)) << error;
  int compared = 0;
  Image picture;
  for (const PlayedFrame& frame : played) {
    session.UpdateAt(ClockSecondsFor(frame.timelineMs), frame.loopMs, frame.stepMs);
    ASSERT_EQ(DemoController::Instance()->Timeline().TimeMs(), frame.timelineMs);
    if (!frame.drawn) continue;
    ASSERT_TRUE(session.Render(picture));
    EXPECT_EQ(PixelHash(picture), frame.hash) << "at " << frame.timelineMs << " ms";
    ++compared;
  }
  EXPECT_EQ(compared, kFrames / kDrawEvery);
  EXPECT_EQ(session.GlErrors().errors, 0);
}

// "dummy": SDL's silent driver; "": whatever SDL finds, and on a machine without a sound
// card the music stream falls back by itself.
INSTANTIATE_TEST_SUITE_P(Capture, SoundtrackClock, ::testing::Values("dummy", ""),
                         [](const auto& info) { return info.param[0] != '\0' ? std::string(info.param) : "Default"; });

}  // namespace
