// The per-frame update: the timeline time from the clock, the end of the music, the
// flash, the boards, the scene choice, the cameras and the projection.
#include "demo/timeline.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "anim/keyed_value.h"
#include "anim/property_script.h"
#include "anim/show_times.h"
#include "demo/camera.h"
#include "demo/manual_camera.h"
#include "demo/timeline_clock.h"
#include "render/scene_interface.h"

namespace {

// A music position the test sets, with a record of what the update asked of it.
class FakeClock final : public ITimelineClock {
 public:
  void Start(double s) override { starts.push_back(s); }
  double Seconds() override {
    ++reads;
    return seconds;
  }
  void Release() override { ++releases; }
  double seconds = 0.0;
  std::vector<double> starts;
  int reads = 0;
  int releases = 0;
};

// A scene that claims the times the test says, recording what happens to it.
class FakeScene final : public IScene {
 public:
  explicit FakeScene(std::string name, std::vector<std::string>& events) : name_(std::move(name)), events_(events) {}
  void Update(float time, float) override {
    lastUpdate = time;
    events_.push_back(name_ + " update");
  }
  void DrawOpaque(float, float) override {}
  void DrawGlow(float, float) override {}
  void DrawTranslucent(float, float) override {}
  void SetActive(bool active) override { events_.push_back(name_ + (active ? " on" : " off")); }
  bool IsActiveAt(float) override { return claims; }
  std::vector<Model*>& GetModels() override { return models_; }
  void AdjustLight(sm::Mat4&) override {}
  bool claims = false;
  float lastUpdate = -1.0f;

 private:
  std::string name_;
  std::vector<std::string>& events_;
  std::vector<Model*> models_;
};

class FakeCamera final : public ICamera {
 public:
  sm::Mat4& ViewMatrix(sm::Mat4& out) override {
    out = view;
    return out;
  }
  float FieldOfView(float) override { return fieldOfView; }
  sm::Mat4 view;
  float fieldOfView = 1.0f;
};

// A step track of ints through the keys (time, value).
KeyedValue StepTrack(const std::vector<std::pair<float, int>>& keys) {
  KeyedValue track("signal", KeyedValue::kInt, KeyedValue::kStep);
  for (const auto& [time, value] : keys) track.SetInt(time, value);
  return track;
}

class Timeline : public ::testing::Test {
 protected:
  void SetUp() override { timeline.Start(1280, 720, sm::Mat4(), &camera); }
  void Wire() { timeline.Wire(parts); }

  DemoTimeline timeline;
  TimelineParts parts;
  FakeCamera camera;
  std::vector<std::string> events;
};

TEST_F(Timeline, TheFirstUpdateStartsTheMusicAtTheFrameTimeAndReadsTheTimeBack) {
  FakeClock clock;
  clock.seconds = 0.0205;
  parts.clock = &clock;
  Wire();
  timeline.Update(16.0f, 16.0f);
  EXPECT_EQ(clock.starts, std::vector<double>{0.016f});
  EXPECT_EQ(clock.reads, 1);
  EXPECT_FLOAT_EQ(timeline.TimeMs(), 20.5f);
  EXPECT_TRUE(timeline.MusicStarted());

  clock.seconds = 1.5;
  timeline.Update(40.0f, 24.0f);
  EXPECT_EQ(clock.starts.size(), 1u) << "the music starts once";
  EXPECT_FLOAT_EQ(timeline.TimeMs(), 1500.0f) << "the music, not the frame clock, gives the time";
}

TEST_F(Timeline, At223SecondsTheMusicIsFreedAndTheFrameClockTakesOver) {
  FakeClock clock;
  parts.clock = &clock;
  Wire();
  clock.seconds = 222.99;
  timeline.Update(100.0f, 16.0f);
  EXPECT_EQ(clock.releases, 0);
  EXPECT_FALSE(timeline.MusicEnded());

  clock.seconds = show::kMusicEnd;
  timeline.Update(223500.0f, 16.0f);
  EXPECT_EQ(clock.releases, 1) << "freed in the very frame that reaches 223 s";
  EXPECT_FLOAT_EQ(timeline.TimeMs(), 223000.0f) << "that frame still shows the music's time";
  EXPECT_TRUE(timeline.MusicEnded());

  const int reads = clock.reads;
  timeline.Update(223516.0f, 16.0f);
  EXPECT_FLOAT_EQ(timeline.TimeMs(), 223516.0f);
  timeline.Update(300000.0f, 16.0f);
  EXPECT_FLOAT_EQ(timeline.TimeMs(), 300000.0f) << "the picture keeps moving";
  EXPECT_EQ(clock.reads, reads) << "the freed stream is not read again";
  EXPECT_EQ(clock.releases, 1);
}

TEST_F(Timeline, WithoutMusicTheFrameClockRunsFromTheFirstFrame) {
  Wire();
  timeline.Update(16.0f, 16.0f);
  EXPECT_FLOAT_EQ(timeline.TimeMs(), 16.0f);
  timeline.Update(250000.0f, 16.0f);
  EXPECT_FLOAT_EQ(timeline.TimeMs(), 250000.0f);
}

TEST_F(Timeline, EveryChangeOfTheSignalStartsAFlashThatFadesInHalfASecond) {
  SignalPair signal{StepTrack({{0.0f, 0}, {1.0f, 1}, {2.0f, 0}}), 0};
  parts.signal = &signal;
  Wire();
  timeline.Update(500.0f, 16.0f);
  EXPECT_FLOAT_EQ(timeline.Flash(), 0.0f);
  timeline.Update(1000.0f, 16.0f);
  EXPECT_FLOAT_EQ(timeline.Flash(), 1.0f) << "0 -> 1";
  EXPECT_EQ(signal.lastValue, 1);
  timeline.Update(1250.0f, 250.0f);
  EXPECT_FLOAT_EQ(timeline.Flash(), 0.5f);
  timeline.Update(1500.0f, 250.0f);
  EXPECT_FLOAT_EQ(timeline.Flash(), 0.0f);
  timeline.Update(1900.0f, 400.0f);
  EXPECT_FLOAT_EQ(timeline.Flash(), 0.0f) << "never below 0";
  timeline.Update(2000.0f, 100.0f);
  EXPECT_FLOAT_EQ(timeline.Flash(), 1.0f) << "1 -> 0 flashes too";
  EXPECT_EQ(signal.lastValue, 0);
}

TEST_F(Timeline, AFlashFadesAtTheRateItIsGiven) {
  SignalPair signal{StepTrack({{0.0f, 0}, {1.0f, 1}}), 0};
  parts.signal = &signal;
  Wire();
  timeline.SetFlashFadePerSecond(4.0f);  // a quarter of a second
  timeline.Update(1000.0f, 16.0f);
  ASSERT_FLOAT_EQ(timeline.Flash(), 1.0f);
  timeline.Update(1125.0f, 125.0f);
  EXPECT_FLOAT_EQ(timeline.Flash(), 0.5f);
  timeline.Update(1250.0f, 125.0f);
  EXPECT_FLOAT_EQ(timeline.Flash(), 0.0f);
}

TEST_F(Timeline, BoardsAreReadFromTheirTracks) {
  KeyedValue index = StepTrack({{0.0f, 0}, {10.0f, 2}});
  KeyedValue opacity("board_opacity", KeyedValue::kFloat, KeyedValue::kLinear);
  opacity.SetFloat(0.0f, 0.0f);
  opacity.SetFloat(20.0f, 1.0f);
  parts.boardIndex = &index;
  parts.boardOpacity = &opacity;
  Wire();
  timeline.Update(15000.0f, 16.0f);
  EXPECT_EQ(timeline.BoardIndex(), 2);
  EXPECT_FLOAT_EQ(timeline.BoardOpacity(), 0.75f);
}

TEST_F(Timeline, TheSceneThatClaimsTheTimeBecomesCurrent) {
  FakeScene a("A", events);
  FakeScene b("B", events);
  parts.assembling = &a;
  parts.breakingWall = &b;
  Wire();
  ASSERT_EQ(timeline.CurrentScene(), &a);

  a.claims = true;
  timeline.Update(1000.0f, 16.0f);
  EXPECT_EQ(events, (std::vector<std::string>{"A update"})) << "A is current already";

  events.clear();
  a.claims = false;
  b.claims = true;
  timeline.Update(121000.0f, 16.0f);
  EXPECT_EQ(events, (std::vector<std::string>{"A off", "B on", "B update"}));
  EXPECT_EQ(timeline.CurrentScene(), &b);
  EXPECT_FLOAT_EQ(b.lastUpdate, 121.0f);

  events.clear();
  b.claims = false;
  timeline.Update(122000.0f, 16.0f);
  EXPECT_EQ(events, (std::vector<std::string>{"B update"})) << "nobody claims: the current scene stays";
}

TEST_F(Timeline, BothScenesClaimingSwitchesEveryFrame) {
  FakeScene a("A", events);
  FakeScene b("B", events);
  a.claims = b.claims = true;
  parts.assembling = &a;
  parts.breakingWall = &b;
  Wire();
  timeline.Update(1000.0f, 16.0f);
  EXPECT_EQ(timeline.CurrentScene(), &b);
  timeline.Update(1016.0f, 16.0f);
  EXPECT_EQ(timeline.CurrentScene(), &a);
  EXPECT_EQ(events, (std::vector<std::string>{"A off", "B on", "B update", "B off", "A on", "A update"}));
}

TEST_F(Timeline, TheProjectionIsRebuiltOnlyWhenTheFieldOfViewChanges) {
  // A field of view that is exactly the 60 degrees the first projection was made for.
  const float sixtyDegrees = static_cast<float>(60.0 * 3.1415927410125732 / 180.0);
  ASSERT_EQ(static_cast<float>(static_cast<double>(sixtyDegrees) * 180.0 / 3.1415927410125732), 60.0f);
  sm::Mat4 marker;
  marker.a[0] = 123.0f;
  timeline.Start(1280, 720, marker, &camera);
  Wire();
  camera.fieldOfView = sixtyDegrees;
  timeline.Update(16.0f, 16.0f);
  EXPECT_FLOAT_EQ(timeline.Projection().a[0], 123.0f) << "unchanged field of view, projection kept";

  camera.fieldOfView = 0.5f;
  timeline.Update(32.0f, 16.0f);
  const float degrees = static_cast<float>(0.5 * 180.0 / 3.1415927410125732);
  EXPECT_FLOAT_EQ(timeline.FieldOfViewDegrees(), degrees);
  sm::Mat4 expected;
  sm::Perspective(expected, degrees, 1280.0f / 720.0f, 10.0f, 8000.0f);
  for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(timeline.Projection().a[i], expected.a[i]) << i;
}

TEST_F(Timeline, TheViewComesFromTheCurrentCamera) {
  camera.view = sm::Translation(1, 2, 3);
  Wire();
  timeline.Update(16.0f, 16.0f);
  EXPECT_EQ(timeline.CurrentCamera(), &camera);
  EXPECT_FLOAT_EQ(timeline.View().a[13], 2.0f);
  EXPECT_FLOAT_EQ(timeline.ViewFrustum().position.y, -2.0f);
}

class HeldKeys final : public IInputState {
 public:
  bool IsKeyDown(int key) override { return key == 'W'; }
  bool IsLeftButtonDown() override { return false; }
  void CursorPosition(int& x, int& y) override { x = y = 0; }
  void ScreenSize(int& w, int& h) override { w = h = 0; }
};

TEST_F(Timeline, TheManualCameraMovesOnlyAfterItsViewIsTaken) {
  HeldKeys keys;
  ManCam manual(keys);
  timeline.Start(1280, 720, sm::Mat4(), &manual);
  Wire();
  const float z = manual.position.z;
  timeline.Update(10.0f, 10.0f);
  EXPECT_FLOAT_EQ(manual.position.z, z - 2.0f);
  EXPECT_NEAR(timeline.View().a[14], -z, 1e-3f) << "this frame shows where the camera was";
}

}  // namespace

TEST_F(Timeline, ARestoredStateReplaysTheSameFrames) {
  SignalPair signal{StepTrack({{0.0f, 0}, {1.0f, 1}, {1.5f, 0}}), 0};
  FakeScene a("a", events);
  a.claims = true;
  parts.signal = &signal;
  parts.assembling = &a;
  Wire();
  timeline.Update(900.0f, 100.0f);
  const DemoTimeline::State saved = timeline.SaveState();
  const int savedSignal = signal.lastValue;
  std::vector<float> flashes;
  for (float t = 1000.0f; t <= 2000.0f; t += 100.0f) {
    timeline.Update(t, 100.0f);
    flashes.push_back(timeline.Flash());
  }
  timeline.RestoreState(saved);
  signal.lastValue = savedSignal;
  EXPECT_FLOAT_EQ(timeline.TimeMs(), 900.0f);
  std::vector<float> again;
  for (float t = 1000.0f; t <= 2000.0f; t += 100.0f) {
    timeline.Update(t, 100.0f);
    again.push_back(timeline.Flash());
  }
  EXPECT_EQ(flashes, again);
}

TEST_F(Timeline, AHeldCameraLooksInsteadOfTheCurrentOneUntilReleased) {
  Wire();
  FakeCamera held;
  held.view = sm::Translation(1, 2, 3);
  timeline.HoldCamera(&held);
  timeline.Update(100.0f, 16.0f);
  EXPECT_EQ(timeline.CurrentCamera(), &held);
  EXPECT_FLOAT_EQ(timeline.View().a[12], 1.0f);
  held.view = sm::Translation(4, 5, 6);
  timeline.RefreshView(16.0f);  // the time stands, the view follows the camera
  EXPECT_FLOAT_EQ(timeline.View().a[12], 4.0f);
  EXPECT_FLOAT_EQ(timeline.TimeMs(), 100.0f);
  timeline.HoldCamera(nullptr);
  EXPECT_EQ(timeline.HeldCamera(), nullptr);
}
