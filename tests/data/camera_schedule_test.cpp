// The generated cameras as the program schedules them: one camera per shot of the shot
// list, each shown from the cut before it to its own, cutting on the music's accents and
// the scene events, with a slow zoom in a sensible range; and the property script
// records the same cuts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "anim/node_animation.h"
#include "anim/property_script.h"
#include "anim/show_times.h"
#include "assets/camera_file.h"
#include "data/data_set.h"
#include "datagen/direction/shot_list.h"
#include "datagen/timeline_events.h"
#include "demo/camera_schedule.h"
#include "demo/timeline_tunables.h"

namespace {

std::vector<camera_file::CameraRecord> Records() {
  std::vector<camera_file::CameraRecord> records;
  std::string error;
  EXPECT_TRUE(camera_file::ReadFile(data_set::PathOf("cameras/cameras.cam"), records, error)) << error;
  return records;
}

TEST(CameraSchedule, OneCameraPerShotEachShownUntilItsCut) {
  auto cameras = data_set::LoadedAnimation("cameras");
  CameraSchedule schedule;
  std::string error;
  ASSERT_TRUE(schedule.Build(Records(), *cameras, error)) << error;
  const auto& shots = datagen::CameraShots();
  ASSERT_EQ(schedule.Size(), shots.size());
  for (std::size_t i = 0; i < shots.size(); ++i) {
    EXPECT_FLOAT_EQ(schedule.At(i).endTime, shots[i].end) << "camera " << i;
    if (i > 0) {
      EXPECT_LT(schedule.At(i - 1).endTime, schedule.At(i).endTime) << "two cameras end together";
    }
  }
  EXPECT_GE(schedule.At(shots.size() - 1).endTime, show::AsFloat(show::kMusicEnd));
  // The schedule walks through every camera in order and covers the whole run.
  std::size_t expected = 0;
  for (float t = 0.0f; t <= 240.0f; t += 0.01f) {
    while (expected + 1 < shots.size() && t > shots[expected].end) ++expected;
    ASSERT_EQ(schedule.Current(t), &schedule.At(expected)) << t;
  }
}

TEST(CameraSchedule, CutsLandOnTheMusicOrTheStory) {
  std::vector<double> accents = datagen::timeline::FlashTimes();
  for (const auto& beat : datagen::timeline::Beats(0.0, 240.0)) {
    if (beat.beat == 0) accents.push_back(beat.time);  // bar lines
  }
  for (const auto& event : datagen::timeline::AllEvents()) {
    if (event.kind == datagen::timeline::EventKind::kScene) accents.push_back(event.time);
  }
  const auto& shots = datagen::CameraShots();
  for (std::size_t i = 0; i + 1 < shots.size(); ++i) {
    const float cut = shots[i].end;
    const double nearest = *std::min_element(accents.begin(), accents.end(), [cut](double a, double b) {
      return std::fabs(a - cut) < std::fabs(b - cut);
    });
    EXPECT_NEAR(nearest, cut, 0.01) << "the cut after shot " << i;
  }
  // The cuts the scene switches need.
  const auto cutAt = [&](float t) {
    return std::any_of(shots.begin(), shots.end(), [t](const datagen::CameraShot& s) { return s.end == t; });
  };
  EXPECT_TRUE(cutAt(show::AsFloat(show::kSceneSwitch)));
  EXPECT_TRUE(cutAt(show::AsFloat(show::kBackToHall)));
}

TEST(CameraSchedule, ZoomsSlowlyWithinASensibleFieldOfView) {
  for (const auto& record : Records()) {
    ASSERT_TRUE(record.fieldOfView.animated);
    ASSERT_GE(record.fieldOfView.keys.size(), 2u);
    float previous = record.fieldOfView.keys.front().value;
    for (const auto& key : record.fieldOfView.keys) {
      EXPECT_GE(key.value, 0.45f) << "camera " << record.id;
      EXPECT_LE(key.value, 1.15f) << "camera " << record.id;
      EXPECT_LT(std::fabs(key.value - previous), 0.1f) << "camera " << record.id << " zooms too fast";
      previous = key.value;
    }
    EXPECT_FALSE(record.second.animated);
  }
}

TEST(PropertyScript, LoadsCleanlyAndRecordsTheCuts) {
  std::unique_ptr<SignalPair> signal;
  PropertyMap properties;
  std::vector<std::unique_ptr<EditableCamera>> cameras;
  ASSERT_TRUE(LoadPropertyScript(data_set::PathOf("properties/props.scr"), {signal, properties, cameras}));
  EXPECT_EQ(cameras.size(), 6u) << "the authoring cameras";
  // Every camera names four existing tracks: position and rotation (3 floats each) and
  // two floats.
  for (const auto& [id, property] : properties) {
    const auto* camera = dynamic_cast<const CameraProperty*>(property.get());
    if (camera == nullptr) continue;
    for (int part : {camera->PositionId(), camera->RotationId()}) {
      const auto* track = dynamic_cast<const AnimProperty*>(properties.Find(part));
      ASSERT_NE(track, nullptr) << camera->Name();
      EXPECT_NE(track->Keys<sm::Vec3>(), nullptr) << camera->Name();
    }
    for (int part : {camera->FirstFloatId(), camera->SecondFloatId()}) {
      const auto* track = dynamic_cast<const AnimProperty*>(properties.Find(part));
      ASSERT_NE(track, nullptr) << camera->Name();
      EXPECT_NE(track->Keys<float>(), nullptr) << camera->Name();
    }
  }
  // The camera changer steps to each shot's index as the shot begins.
  const auto* changer = dynamic_cast<const AnimProperty*>(properties.FindByName("camera_changer"));
  ASSERT_NE(changer, nullptr);
  const auto& shots = datagen::CameraShots();
  ASSERT_EQ(changer->Keys<int>()->KeyCount(), static_cast<int>(shots.size()));
  for (std::size_t i = 0; i < shots.size(); ++i) {
    EXPECT_EQ(changer->Keys<int>()->ValueAt(shots[i].start + 0.001f), static_cast<int>(i)) << "shot " << i;
  }
}

TEST(PropertyScript, HoldsOnlyConstantsTheTimelineReadsAtTheValuesItWasBuiltWith) {
  std::unique_ptr<SignalPair> signal;
  PropertyMap properties;
  std::vector<std::unique_ptr<EditableCamera>> cameras;
  ASSERT_TRUE(LoadPropertyScript(data_set::PathOf("properties/props.scr"), {signal, properties, cameras}));
  // Every constant is one the timeline reads: a value nothing reads would mislead an
  // author who edits it.
  int constants = 0;
  for (const auto& entry : properties) {
    const auto& property = entry.second;  // a plain name: lambdas cannot capture bindings in C++17
    if (dynamic_cast<const ValueProperty*>(property.get()) == nullptr) continue;
    ++constants;
    EXPECT_NE(std::find_if(std::begin(tunable_name::kAll), std::end(tunable_name::kAll),
                           [&](const char* name) { return property->Name() == name; }),
              std::end(tunable_name::kAll))
        << "nothing reads " << property->Name();
  }
  EXPECT_EQ(constants, static_cast<int>(std::size(tunable_name::kAll))) << "each tunable once";
  // The shipped values are the built-in ones: the demo plays as it was made.
  const TimelineTunables shipped = ReadTunables(properties);
  const TimelineTunables builtIn;
  EXPECT_EQ(shipped.flashFadePerSecond, builtIn.flashFadePerSecond);
  EXPECT_EQ(shipped.greetingFadePerSecond, builtIn.greetingFadePerSecond);
  EXPECT_EQ(shipped.creditFadeSeconds, builtIn.creditFadeSeconds);
  EXPECT_EQ(shipped.followLightHeight, builtIn.followLightHeight);
  EXPECT_EQ(shipped.depthOfField.focal, builtIn.depthOfField.focal);
  EXPECT_EQ(shipped.depthOfField.focalFalloff, builtIn.depthOfField.focalFalloff);
}

}  // namespace
