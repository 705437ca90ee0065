// The camera changer's keys written into the property script from the shot list: where
// they go, how their times are written, and the scripts that cannot take them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "anim/property_script.h"
#include "datagen/direction/camera_changer.h"
#include "datagen/direction/shot_list.h"

namespace {

using datagen::CameraShot;
using datagen::KeyTimeText;
using datagen::WithCameraChangerKeys;

std::vector<CameraShot> Shots(std::initializer_list<float> starts) {
  std::vector<CameraShot> shots;
  for (float start : starts) {
    CameraShot shot;
    shot.start = start;
    shots.push_back(shot);
  }
  return shots;
}

TEST(CameraChanger, KeysGoOnTheLinesAfterTheTrackAndTheRestStaysAsWritten) {
  const std::string script =
      "ValueProperty 3 1 0 value_a 0.5\n"
      "\n"
      "AnimProperty 2 20 0 camera_changer\n"
      "endkeys\n"
      "AnimProperty 3 21 0 track_a\n"
      "  k 0.0 0 1.0\n"
      "endkeys\n"
      "end\n";
  std::string out, error;
  ASSERT_TRUE(WithCameraChangerKeys(script, Shots({0.0f, 9.994f, 120.0f}), out, error)) << error;
  EXPECT_EQ(out,
            "ValueProperty 3 1 0 value_a 0.5\n"
            "\n"
            "AnimProperty 2 20 0 camera_changer\n"
            "  k 0.0 0 0\n"
            "  k 9.994 0 1\n"
            "  k 120.0 0 2\n"
            "endkeys\n"
            "AnimProperty 3 21 0 track_a\n"
            "  k 0.0 0 1.0\n"
            "endkeys\n"
            "end\n");
  // A track and its end word on one line still get the keys between them.
  ASSERT_TRUE(WithCameraChangerKeys("AnimProperty 2 4 0 camera_changer endkeys end", Shots({0.0f}), out, error));
  EXPECT_EQ(out, "AnimProperty 2 4 0 camera_changer\n  k 0.0 0 0\nendkeys end");
}

TEST(CameraChanger, TheWrittenScriptStepsToEachShotAsItBegins) {
  const std::vector<CameraShot>& shots = datagen::CameraShots();
  std::string out, error;
  ASSERT_TRUE(WithCameraChangerKeys("AnimProperty 2 20 0 camera_changer\nendkeys\nend\n", shots, out, error)) << error;
  std::istringstream in(out);
  std::unique_ptr<SignalPair> signal;
  PropertyMap properties;
  std::vector<std::unique_ptr<EditableCamera>> cameras;
  ASSERT_TRUE(LoadPropertyScript(in, "written", {signal, properties, cameras}));
  const auto* changer = dynamic_cast<const AnimProperty*>(properties.FindByName("camera_changer"));
  ASSERT_NE(changer, nullptr);
  const auto* keys = changer->Keys<int>();
  ASSERT_NE(keys, nullptr);
  ASSERT_EQ(keys->KeyCount(), static_cast<int>(shots.size()));
  for (int i = 0; i < keys->KeyCount(); ++i) {
    float time = -1.0f;
    bool hold = true;
    int value = -1;
    ASSERT_TRUE(keys->GetKey(i, time, hold, value));
    EXPECT_EQ(time, shots[static_cast<std::size_t>(i)].start) << "shot " << i << " starts at another time";
    EXPECT_EQ(value, i);
    EXPECT_FALSE(hold);
  }
}

TEST(CameraChanger, ScriptsWithoutOneEmptyTrackAreRefused) {
  std::string out, error;
  // No track of that name (a constant of that name is not the track).
  EXPECT_FALSE(WithCameraChangerKeys("ValueProperty 2 1 0 camera_changer 3\nend\n", Shots({0.0f}), out, error));
  EXPECT_NE(error.find("declares no"), std::string::npos) << error;
  // Keys written by hand would be a second cut list.
  error.clear();
  EXPECT_FALSE(WithCameraChangerKeys("AnimProperty 2 1 0 camera_changer\n  k 0.0 0 0\nendkeys\nend\n", Shots({0.0f}),
                                     out, error));
  EXPECT_NE(error.find("keys of its own"), std::string::npos) << error;
  error.clear();
  EXPECT_FALSE(WithCameraChangerKeys("AnimProperty 2 1 0 camera_changer", Shots({0.0f}), out, error));
  EXPECT_FALSE(error.empty());
  error.clear();
  EXPECT_FALSE(WithCameraChangerKeys(
      "AnimProperty 2 1 0 camera_changer\nendkeys\nAnimProperty 2 2 0 camera_changer\nendkeys\nend\n", Shots({0.0f}),
      out, error));
  EXPECT_NE(error.find("twice"), std::string::npos) << error;
}

TEST(CameraChanger, KeyTimesAreTheShortestTextThatReadsBackExactly) {
  EXPECT_EQ(KeyTimeText(0.0f), "0.0");
  EXPECT_EQ(KeyTimeText(115.0f), "115.0");
  EXPECT_EQ(KeyTimeText(102.810f), "102.81");
  EXPECT_EQ(KeyTimeText(117.6063f), "117.6063");
  for (const CameraShot& shot : datagen::CameraShots()) {
    const std::string text = KeyTimeText(shot.start);
    EXPECT_EQ(std::strtof(text.c_str(), nullptr), shot.start) << text;
    EXPECT_EQ(text.find('e'), std::string::npos) << text;
  }
}

}  // namespace
