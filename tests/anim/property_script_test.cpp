#include "anim/property_script.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "anim/show_times.h"
#include "base/log.h"
#include "support/temp_dir.h"

namespace {

using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

class PropertyScriptTest : public ::testing::Test {
 protected:
  void SetUp() override { OpenLog(dir_.File("log.txt")); }
  void TearDown() override { CloseLog(); }

  // Loads text as the file "props.scr" in the test's folder.
  bool Load(const std::string& text) {
    WriteFile(Path(), text);
    return LoadPropertyScript(Path(), target_);
  }
  std::string Path() const { return dir_.File("props.scr"); }
  std::string Log() const { return ReadFile(dir_.File("log.txt")); }

  template <typename T>
  T ValueAt(int id, float time) {
    auto* anim = dynamic_cast<AnimProperty*>(properties_.Find(id));
    EXPECT_NE(anim, nullptr) << "no track with id " << id;
    if (anim == nullptr || anim->Keys<T>() == nullptr) return T();
    return anim->Keys<T>()->ValueAt(time);
  }

  std::vector<int> Ids() const {
    std::vector<int> ids;
    for (const auto& entry : properties_) ids.push_back(entry.first);
    return ids;
  }

  TempDir dir_;
  std::unique_ptr<SignalPair> signal_;
  PropertyMap properties_;
  std::vector<std::unique_ptr<EditableCamera>> cameras_;
  PropertyScriptTarget target_{signal_, properties_, cameras_};
};

TEST_F(PropertyScriptTest, AFileWithOnlyEndStillInstallsTheSignal) {
  EXPECT_TRUE(Load("end"));
  EXPECT_TRUE(properties_.Empty());
  ASSERT_NE(signal_, nullptr);
  EXPECT_EQ(signal_->lastValue, 0);
  EXPECT_EQ(signal_->track.Keys()->KeyCount(), 145);
  EXPECT_EQ(Log(), "");
}

TEST_F(PropertyScriptTest, ReadsEveryKindAcrossAnyWhiteSpace) {
  ASSERT_TRUE(Load(
      "ValueProperty 3 10 0 value_a 0.5\n"
      "AnimProperty 3 11 0 track_a\n"
      "  k 0.0 0 0.0\n  k 20.5 0 1.25\n\tk 22.0 1 0.0\n  endkeys\n"
      "AnimProperty 2 12 0 camera_changer k 0.0 0 0 k 31.0 0 1 endkeys "
      "AnimProperty 5 13 0 position_a\r\n k 0.0 0 0.0 150.0 -40.0\r\n endkeys\n"
      "ValueProperty 2 15 7 count -12 ValueProperty 5 16 0 spot 1 2.5 -3e2\n"
      "CameraProperty 0 14 0 camera_a 13 15 16 17\n"
      "end\n"
      "this is never read"));
  EXPECT_EQ(Ids(), (std::vector<int>{10, 11, 12, 13, 14, 15, 16}));

  const auto* value = dynamic_cast<const ValueProperty*>(properties_.Find(10));
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->Name(), "value_a");
  EXPECT_EQ(value->Type(), 3);
  EXPECT_EQ(*value->FloatValue(), 0.5f);
  EXPECT_EQ(*dynamic_cast<const ValueProperty&>(*properties_.Find(15)).IntValue(), -12);
  const sm::Vec3 spot = *dynamic_cast<const ValueProperty&>(*properties_.Find(16)).Vec3Value();
  EXPECT_EQ(spot.y, 2.5f);
  EXPECT_EQ(spot.z, -300.0f);
  EXPECT_EQ(spot.w, 1.0f);

  EXPECT_EQ(ValueAt<float>(11, 22.5f), 0.0f);
  EXPECT_EQ(ValueAt<float>(11, 20.5f), 1.25f);
  EXPECT_EQ(ValueAt<int>(12, 30.9f), 0);  // steps, named camera_changer
  EXPECT_EQ(ValueAt<int>(12, 31.0f), 1);
  EXPECT_EQ(ValueAt<sm::Vec3>(13, 99.0f).y, 150.0f);

  const auto* camera = dynamic_cast<const CameraProperty*>(properties_.Find(14));
  ASSERT_NE(camera, nullptr);
  EXPECT_EQ(camera->PositionId(), 13);
  EXPECT_EQ(camera->RotationId(), 15);
  EXPECT_EQ(camera->FirstFloatId(), 16);
  EXPECT_EQ(camera->SecondFloatId(), 17);
  ASSERT_EQ(cameras_.size(), 1u);
  EXPECT_EQ(cameras_[0]->Name(), "camera_a");
  EXPECT_EQ(cameras_[0]->Position(0.0f).z, -40.0f);
  EXPECT_EQ(Log(), "");
}

TEST_F(PropertyScriptTest, KeyWordsAreNotExaminedAndOnlyHoldOneHolds) {
  ASSERT_TRUE(Load(
      "AnimProperty 3 1 0 a\n"
      "  ValueProperty 0 1 0.0\n"  // any word but endkeys starts a key
      "  end 1 2 5.0\n"                // hold 2 is no hold
      "  ENDKEYS 2 0 1.0\n"
      "endkeys\n"
      "AnimProperty 3 2 0 b k 0 -1 0.0 k 1 0 5.0 k 2 0 1.0 endkeys\n"
      "end"));
  auto* a = dynamic_cast<AnimProperty*>(properties_.Find(1))->Keys<float>();
  ASSERT_EQ(a->KeyCount(), 3);
  float time = 0.0f;
  bool hold = false;
  float value = 0.0f;
  a->GetKey(0, time, hold, value);
  EXPECT_TRUE(hold);
  a->GetKey(1, time, hold, value);
  EXPECT_FALSE(hold);
  EXPECT_EQ(value, 5.0f);
  EXPECT_EQ(ValueAt<float>(1, 0.5f), 0.0f);  // the hold key steps
  EXPECT_GT(ValueAt<float>(2, 0.5f), 0.0f);  // hold -1 does not
  EXPECT_NE(ValueAt<float>(1, 1.5f), 5.0f);  // key 1 (hold 2) curves on
}

TEST_F(PropertyScriptTest, TypeCodeNineCarriesNoValueButAnIntTrack) {
  ASSERT_TRUE(Load(
      "ValueProperty 9 1 0 flag\n"
      "ValueProperty 3 2 0 next 4.0\n"
      "AnimProperty 9 3 0 cue k 0 0 0 k 1 0 10 endkeys\n"
      "AnimProperty 2 4 0 cue2 k 0 0 0 k 1 0 10 endkeys\n"
      "end"));
  EXPECT_FALSE(dynamic_cast<const ValueProperty&>(*properties_.Find(1)).HasValue());
  EXPECT_EQ(*dynamic_cast<const ValueProperty&>(*properties_.Find(2)).FloatValue(), 4.0f);
  for (float t : {0.1f, 0.33f, 0.5f, 0.9f}) EXPECT_EQ(ValueAt<int>(3, t), ValueAt<int>(4, t));
  EXPECT_EQ(ValueAt<int>(3, 0.5f), 5);
}

TEST_F(PropertyScriptTest, KeyOrderInTheFileDoesNotMatterAndLaterDuplicatesWin) {
  ASSERT_TRUE(Load(
      "AnimProperty 5 1 0 up k 0 0 0 0 0 k 1 0 1 2 3 k 2 0 4 4 4 k 3 0 0 9 1 endkeys\n"
      "AnimProperty 5 2 0 down k 3 0 0 9 1 k 2 0 4 4 4 k 1 0 1 2 3 k 0 0 0 0 0 endkeys\n"
      "AnimProperty 3 3 0 dup k 0 0 1 k 1 0 2 k 0 1 7 endkeys\n"
      "ValueProperty 2 2 0 later 1\n"
      "end"));
  // The descending track was replaced by the later entry with the same id.
  EXPECT_EQ(properties_.Find(2)->Name(), "later");
  ASSERT_TRUE(Load(
      "AnimProperty 5 1 0 up k 0 0 0 0 0 k 1 0 1 2 3 k 2 0 4 4 4 k 3 0 0 9 1 endkeys\n"
      "AnimProperty 5 2 0 down k 3 0 0 9 1 k 2 0 4 4 4 k 1 0 1 2 3 k 0 0 0 0 0 endkeys\n"
      "end"));
  for (float t = -0.5f; t < 3.5f; t += 0.125f) {
    const sm::Vec3 up = ValueAt<sm::Vec3>(1, t);
    const sm::Vec3 down = ValueAt<sm::Vec3>(2, t);
    EXPECT_EQ(up.x, down.x) << t;
    EXPECT_EQ(up.y, down.y) << t;
    EXPECT_EQ(up.z, down.z) << t;
  }
}

TEST_F(PropertyScriptTest, ADuplicateKeyTimeReplacesValueAndHold) {
  ASSERT_TRUE(Load("AnimProperty 3 3 0 dup k 0 0 1 k 1 0 2 k 0 1 7 endkeys end"));
  auto* keys = dynamic_cast<AnimProperty&>(*properties_.Find(3)).Keys<float>();
  ASSERT_EQ(keys->KeyCount(), 2);
  EXPECT_EQ(keys->ValueAt(0.5f), 7.0f);  // value 7 and now a hold key
}

TEST_F(PropertyScriptTest, KeywordsAreCaseSensitive) {
  EXPECT_FALSE(Load("ValueProperty 3 1 0 a 1.0\nvalueProperty 3 2 0 b 2.0\nend"));
  EXPECT_EQ(Ids(), (std::vector<int>{1}));
  EXPECT_NE(Log().find("unknown kind \"valueProperty\""), std::string::npos) << Log();

  // "End" does not end the script, and "Endkeys" is one more key word.
  OpenLog(dir_.File("log.txt"));
  EXPECT_FALSE(Load("ValueProperty 3 1 0 a 1.0 End"));
  EXPECT_NE(Log().find("unknown kind \"End\""), std::string::npos) << Log();
  OpenLog(dir_.File("log.txt"));
  EXPECT_FALSE(Load("AnimProperty 3 1 0 a k 0 0 1 Endkeys end"));
  EXPECT_NE(Log().find("number expected, found \"end\""), std::string::npos) << Log();
}

struct BadInput {
  const char* what;
  const char* text;
  std::vector<int> kept;
  const char* problem;
  int token;
};

TEST_F(PropertyScriptTest, BadInputStopsReadingKeepsEarlierEntriesAndLogsOneLine) {
  const BadInput cases[] = {
      {"empty file", "", {}, "input ends before \"end\" (token 1, byte 0)", 1},
      {"ends after an entry", "ValueProperty 3 1 0 a 1.0\n", {1}, "input ends before \"end\" (token 7, byte 26)", 7},
      {"ends inside keys", "ValueProperty 3 1 0 a 1.0 AnimProperty 3 2 0 b k 0 0 1 k 1 0", {1},
       "input ends before \"end\" (token 19", 19},
      {"word for an id", "ValueProperty 3 1 0 a 1.0 CameraProperty 0 x 0 c 1 2 3 4 end", {1},
       "integer expected, found \"x\" (token 9, byte 43)", 9},
      {"word for a float", "ValueProperty 3 1 0 a 1.0 ValueProperty 3 2 0 b one end", {1},
       "number expected, found \"one\"", 12},
      {"float overflow", "ValueProperty 3 1 0 a 1e39 end", {}, "number expected, found \"1e39\"", 6},
      {"int out of range", "ValueProperty 2 1 0 a 1 ValueProperty 2 2 0 b 99999999999 end", {1},
       "integer out of range, found \"99999999999\"", 12},
      {"id out of range", "ValueProperty 2 4294967297 0 a 1 end", {}, "integer out of range", 3},
      {"unknown kind", "ValueProperty 2 1 0 a 1 ColorProperty 2 2 0 b 1 end", {1}, "unknown kind \"ColorProperty\"",
       7},
      {"track type", "ValueProperty 2 1 0 a 1 AnimProperty 4 2 0 b k 0 0 1 endkeys end", {1},
       "unsupported track type code 4 (token 8, byte 37)", 8},
      {"bad camera id", "CameraProperty 0 1 0 c 1 2 3 4 CameraProperty 0 2 0 d 1 2 3.5 4 end", {1},
       "integer expected, found \".5\"", 18},  // "3.5" reads as 3, then ".5"
  };
  for (const BadInput& c : cases) {
    SCOPED_TRACE(c.what);
    PropertyMap fresh;
    std::swap(properties_, fresh);
    OpenLog(dir_.File("log.txt"));
    signal_.reset();
    EXPECT_FALSE(Load(c.text));
    EXPECT_EQ(Ids(), c.kept);
    ASSERT_NE(signal_, nullptr);  // the signal is there whatever the file holds
    const std::string log = Log();
    EXPECT_EQ(log.find("error: property script \"" + Path() + "\": "), 0u) << log;
    EXPECT_NE(log.find(c.problem), std::string::npos) << log;
    EXPECT_NE(log.find("(token " + std::to_string(c.token) + ","), std::string::npos) << log;
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
  }
}

TEST_F(PropertyScriptTest, AMissingFileIsLoggedAndKeepsWhatTheMapHeld) {
  properties_.Insert(std::make_unique<ValueProperty>(3, "before", property_type::kInt));
  properties_.Insert(std::make_unique<CameraProperty>(4, "cam", 0, 3, 3, 3, 3));
  EXPECT_FALSE(LoadPropertyScript(dir_.File("missing.scr"), target_));
  EXPECT_EQ(Ids(), (std::vector<int>{3, 4}));
  EXPECT_EQ(cameras_.size(), 1u);
  ASSERT_NE(signal_, nullptr);
  EXPECT_EQ(Log(), "error: property script \"" + dir_.File("missing.scr") +
                       "\": file cannot be opened (token 1, byte 0)\n");
}

TEST_F(PropertyScriptTest, CamerasAreBuiltForEveryCameraPropertyInIdOrder) {
  properties_.Insert(std::make_unique<CameraProperty>(50, "earlier", 0, 1, 1, 1, 1));
  cameras_.push_back(nullptr);  // whatever was there is replaced
  ASSERT_TRUE(Load(
      "CameraProperty 0 9 0 nine 1 2 3 4\n"
      "ValueProperty 5 1 0 pos 1 2 3\n"
      "CameraProperty 0 2 0 two 1 1 1 1\n"
      "end"));
  ASSERT_EQ(cameras_.size(), 3u);
  EXPECT_EQ(cameras_[0]->Name(), "two");
  EXPECT_EQ(cameras_[1]->Name(), "nine");
  EXPECT_EQ(cameras_[2]->Name(), "earlier");
  EXPECT_EQ(cameras_[1]->Position(0.0f).y, 2.0f);
}

TEST_F(PropertyScriptTest, TheSignalAlternatesOnTheBuiltInBeat) {
  ASSERT_TRUE(Load("end"));
  const KeyedValue& track = signal_->track;
  EXPECT_EQ(track.Name(), "");
  EXPECT_EQ(track.Type(), KeyedValue::kInt);
  EXPECT_EQ(track.Mode(), KeyedValue::kStep);
  const IInterpolator<int>* keys = track.Track<int>();
  ASSERT_NE(keys, nullptr);
  ASSERT_EQ(keys->KeyCount(), 145);
  float previous = -1.0f;
  for (int i = 0; i < 145; ++i) {
    float time = 0.0f;
    int value = -1;
    bool hold = true;
    keys->GetKey(i, time, value, hold);
    EXPECT_EQ(value, i % 2) << i;  // 0, 1, 0, 1, ... ending in 0
    EXPECT_FALSE(hold);
    EXPECT_GT(time, previous);
    previous = time;
  }
  float time = 0.0f;
  int value = 0;
  bool hold = false;
  keys->GetKey(1, time, value, hold);
  const float first = show::AsFloat(show::kSignalTimes[0]);
  EXPECT_EQ(time, first);
  keys->GetKey(144, time, value, hold);
  EXPECT_EQ(time, show::AsFloat(show::kSignalTimes[show::kSignalSwitchCount - 1]));
  EXPECT_EQ(track.IntAt(std::nextafter(first, 0.0f)), 0);
  EXPECT_EQ(track.IntAt(first), 1);
  EXPECT_EQ(track.IntAt(85.0f), 1);  // a long high stretch before the release hit
  EXPECT_EQ(track.IntAt(300.0f), 0);
}

// The writer and the reader agree: what is written reads back as the same properties.
TEST_F(PropertyScriptTest, WrittenScriptsReadBackTheSame) {
  PropertyMap map;
  auto f = std::make_unique<ValueProperty>(1, "third", property_type::kFloat);
  *f->FloatValue() = 1.0f / 3.0f;
  map.Insert(std::move(f));
  auto v = std::make_unique<ValueProperty>(2, "where", property_type::kVec3);
  *v->Vec3Value() = sm::Vec3(-1e-7f, 123456.789f, 3.4e38f);
  map.Insert(std::move(v));
  map.Insert(std::make_unique<ValueProperty>(3, "nothing", property_type::kIntTrack));
  auto track = AnimProperty::Create(5, "camera_changer", property_type::kIntTrack);
  track->Keys<int>()->AddKey(2.5f, true, -7);
  track->Keys<int>()->AddKey(0.1f, false, 2147483647);
  map.Insert(std::move(track));
  auto path = AnimProperty::Create(-2, "path", property_type::kVec3);
  path->Keys<sm::Vec3>()->AddKey(0.7f, false, sm::Vec3(0.1f, 0.2f, 0.3f));
  map.Insert(std::move(path));
  map.Insert(std::make_unique<CameraProperty>(8, "cam", 4, -2, 2, 1, 77));

  std::ostringstream first;
  ASSERT_TRUE(WritePropertyScript(first, map));
  ASSERT_TRUE(Load(first.str()));
  std::ostringstream second;
  ASSERT_TRUE(WritePropertyScript(second, properties_));
  EXPECT_EQ(second.str(), first.str());

  EXPECT_EQ(*dynamic_cast<const ValueProperty&>(*properties_.Find(1)).FloatValue(), 1.0f / 3.0f);
  EXPECT_EQ(dynamic_cast<const ValueProperty&>(*properties_.Find(2)).Vec3Value()->x, -1e-7f);
  EXPECT_EQ(dynamic_cast<const ValueProperty&>(*properties_.Find(2)).Vec3Value()->z, 3.4e38f);
  EXPECT_EQ(ValueAt<int>(5, 1.0f), 2147483647);  // still a step track
  EXPECT_EQ(ValueAt<sm::Vec3>(-2, 0.0f).y, 0.2f);
  EXPECT_EQ(dynamic_cast<const CameraProperty&>(*properties_.Find(8)).SecondFloatId(), 77);
  EXPECT_EQ(properties_.Find(8)->Type(), 4);
}

TEST_F(PropertyScriptTest, NamesThatCannotBeReadBackAreNotWritten) {
  for (const char* bad : {"", "two words", "tab\there", "line\nbreak"}) {
    PropertyMap map;
    map.Insert(std::make_unique<ValueProperty>(1, "fine", property_type::kInt));
    map.Insert(std::make_unique<ValueProperty>(2, bad, property_type::kInt));
    std::ostringstream out;
    EXPECT_FALSE(WritePropertyScript(out, map)) << bad;
    EXPECT_EQ(out.str(), "");
  }
}

TEST_F(PropertyScriptTest, TheShippedScriptLoadsCompletely) {
  const std::string path = std::string(DRIFT_SOURCE_DIR) + "/content/properties/props.scr";
  ASSERT_TRUE(LoadPropertyScript(path, target_));
  EXPECT_EQ(Log(), "");
  EXPECT_FALSE(cameras_.empty()) << "the shipped script describes its authoring cameras";
  bool kinds[3] = {false, false, false};
  for (const auto& entry : properties_) {
    kinds[0] |= dynamic_cast<const ValueProperty*>(entry.second.get()) != nullptr;
    kinds[1] |= dynamic_cast<const AnimProperty*>(entry.second.get()) != nullptr;
    kinds[2] |= dynamic_cast<const CameraProperty*>(entry.second.get()) != nullptr;
  }
  EXPECT_TRUE(kinds[0] && kinds[1] && kinds[2]);
  ASSERT_NE(properties_.FindByName("camera_changer"), nullptr);
  // Written out and read again, it gives the same script.
  std::ostringstream first;
  ASSERT_TRUE(WritePropertyScript(first, properties_));
  PropertyMap copy;
  std::unique_ptr<SignalPair> signal;
  std::vector<std::unique_ptr<EditableCamera>> cameras;
  std::istringstream in(first.str());
  ASSERT_TRUE(LoadPropertyScript(in, "copy", {signal, copy, cameras}));
  std::ostringstream second;
  ASSERT_TRUE(WritePropertyScript(second, copy));
  EXPECT_EQ(second.str(), first.str());
}

TEST(SignalChangeTimes, AreTheBuiltInSignalTimesAndOnlyRealChangesCount) {
  const std::vector<float> times = SignalChangeTimes(*MakeSignalPair());
  ASSERT_EQ(times.size(), std::size(show::kSignalTimes));
  for (std::size_t i = 0; i < times.size(); ++i) EXPECT_EQ(times[i], show::AsFloat(show::kSignalTimes[i])) << i;

  // A key that repeats the value before it starts nothing; the first key counts against
  // the last value seen.
  SignalPair pair;
  pair.track = KeyedValue("", KeyedValue::kInt, KeyedValue::kStep);
  pair.lastValue = 1;
  IInterpolator<int>* track = pair.track.Track<int>();
  track->SetKey(0.0f, 1, false);
  track->SetKey(2.0f, 1, false);
  track->SetKey(3.0f, 0, false);
  track->SetKey(4.0f, 1, false);
  EXPECT_EQ(SignalChangeTimes(pair), (std::vector<float>{3.0f, 4.0f}));
  EXPECT_TRUE(SignalChangeTimes(SignalPair{}).empty());
}

}  // namespace
