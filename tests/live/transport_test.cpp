// The live player's transport and layout: the loop, the jumps between events, the end
// of the timeline, the keys, the picture's fit and the strip's times.
#include <gtest/gtest.h>

#include <vector>

#include "anim/show_times.h"
#include "live/live_layout.h"
#include "live/live_reload.h"
#include "live/transport.h"
#include "platform/input.h"

namespace {

TEST(Transport, ClampsToTheTimelineAndTheGrid) {
  const Transport transport(show::kMusicEnd);
  EXPECT_EQ(transport.Clamp(-5.0), 0.0);
  EXPECT_EQ(transport.Clamp(500.0), show::kMusicEnd);
  EXPECT_EQ(transport.Clamp(0.0 / 0.0), 0.0);
  EXPECT_EQ(transport.FrameAt(110.0), 6600);
  EXPECT_EQ(transport.FrameAt(1.0 / 60.0 * 0.6), 1);  // nearest frame
  EXPECT_EQ(transport.FrameAt(1000.0), static_cast<long>(show::kMusicEnd) * 60);
  EXPECT_DOUBLE_EQ(Transport::SecondsOf(6600), 110.0);
}

TEST(Transport, LoopsOnceBothEndsAreSetInOrder) {
  Transport transport(show::kMusicEnd);
  bool stop = true;
  EXPECT_DOUBLE_EQ(transport.Advance(50.0, stop), 50.0);
  EXPECT_FALSE(stop);
  transport.SetLoopStart(30.0);
  EXPECT_FALSE(transport.Looping());
  transport.SetLoopEnd(20.0);  // an end before the start plays no loop
  EXPECT_FALSE(transport.Looping());
  transport.SetLoopEnd(40.0);
  ASSERT_TRUE(transport.Looping());
  EXPECT_DOUBLE_EQ(transport.Advance(39.99, stop), 39.99);
  EXPECT_DOUBLE_EQ(transport.Advance(40.0, stop), 30.0);
  EXPECT_FALSE(stop);
  EXPECT_DOUBLE_EQ(transport.Advance(100.0, stop), 30.0);
  transport.ClearLoop();
  EXPECT_FALSE(transport.Looping());
  EXPECT_DOUBLE_EQ(transport.Advance(show::kMusicEnd + 0.5, stop), show::kMusicEnd);
  EXPECT_TRUE(stop);
  EXPECT_FALSE(transport.SetLoop(300.0, 400.0));  // both past the end: nothing between them
  EXPECT_TRUE(transport.SetLoop(200.0, 400.0));
  EXPECT_DOUBLE_EQ(transport.LoopTo(), show::kMusicEnd);
}

TEST(Transport, JumpsBetweenEvents) {
  const std::vector<double> events = {10.0, 20.0, 20.0, 30.0};
  EXPECT_DOUBLE_EQ(Transport::NextEvent(events, 0.0), 10.0);
  EXPECT_DOUBLE_EQ(Transport::NextEvent(events, 10.0), 20.0);  // standing on one moves past it
  EXPECT_DOUBLE_EQ(Transport::NextEvent(events, 10.005), 20.0);
  EXPECT_DOUBLE_EQ(Transport::NextEvent(events, 30.0), 30.0);  // none after the last
  EXPECT_DOUBLE_EQ(Transport::PreviousEvent(events, 30.0), 20.0);
  EXPECT_DOUBLE_EQ(Transport::PreviousEvent(events, 25.0), 20.0);
  EXPECT_DOUBLE_EQ(Transport::PreviousEvent(events, 10.0), 0.0);
  EXPECT_DOUBLE_EQ(Transport::NextEvent({}, 5.0), 5.0);
}

TEST(Transport, KeysMapToActions) {
  namespace vk = platform::vk;
  EXPECT_EQ(ActionForKey(vk::kSpace, false).kind, KeyAction::kTogglePlay);
  EXPECT_DOUBLE_EQ(ActionForKey(vk::kLeft, false).seconds, -1.0);
  EXPECT_DOUBLE_EQ(ActionForKey(vk::kRight, true).seconds, 10.0);
  EXPECT_EQ(ActionForKey(vk::kPageUp, false).kind, KeyAction::kPreviousEvent);
  EXPECT_EQ(ActionForKey(vk::kPageDown, false).kind, KeyAction::kNextEvent);
  EXPECT_EQ(ActionForKey(vk::kHome, false).kind, KeyAction::kStart);
  EXPECT_EQ(ActionForKey(vk::kComma, false).kind, KeyAction::kFrameBack);
  EXPECT_EQ(ActionForKey(vk::kPeriod, false).kind, KeyAction::kFrameOn);
  EXPECT_EQ(ActionForKey(vk::kLeftBracket, false).kind, KeyAction::kLoopStart);
  EXPECT_EQ(ActionForKey(vk::kRightBracket, false).kind, KeyAction::kLoopEnd);
  EXPECT_EQ(ActionForKey(vk::kBackslash, false).kind, KeyAction::kLoopClear);
  EXPECT_EQ(ActionForKey('H', false).kind, KeyAction::kToggleOverlay);
  EXPECT_EQ(ActionForKey('F', false).kind, KeyAction::kToggleManualCamera);
  EXPECT_EQ(ActionForKey('B', false).kind, KeyAction::kEditingKey);
  EXPECT_EQ(ActionForKey('L', false).kind, KeyAction::kEditingKey);
  EXPECT_EQ(ActionForKey(vk::kEscape, false).kind, KeyAction::kQuit);
  EXPECT_EQ(ActionForKey('W', false).kind, KeyAction::kNone);  // the manual camera polls it
}

TEST(Transport, DebounceFiresOnceAfterAQuietSpell) {
  Debounce debounce;
  EXPECT_FALSE(debounce.Due(10.0));
  debounce.Touch(10.0);
  debounce.Touch(10.2);  // a run of writes
  EXPECT_FALSE(debounce.Due(10.4));
  EXPECT_TRUE(debounce.Due(10.5));
  EXPECT_FALSE(debounce.Due(11.0));
}

TEST(LiveLayout, PictureKeepsItsAspect) {
  const LiveRect same = PictureRect(1280, 720, 1280, 720);
  EXPECT_EQ(same.x, 0);
  EXPECT_EQ(same.width, 1280);
  EXPECT_EQ(same.height, 720);
  const LiveRect wide = PictureRect(1000, 300, 1280, 720);  // bars left and right
  EXPECT_EQ(wide.height, 300);
  EXPECT_EQ(wide.width, 533);
  EXPECT_EQ(wide.x, (1000 - 533) / 2);
  EXPECT_EQ(wide.y, 0);
  const LiveRect tall = PictureRect(640, 900, 1280, 720);  // bars above and below
  EXPECT_EQ(tall.width, 640);
  EXPECT_EQ(tall.height, 360);
  EXPECT_EQ(tall.y, 270);
  EXPECT_EQ(PictureRect(0, 100, 1280, 720).width, 0);
}

TEST(LiveLayout, StripMapsColumnsToTimes) {
  const double kEnd = show::kMusicEnd;
  const LiveRect strip = StripRect(1280, 720);
  EXPECT_EQ(strip.x, 10);
  EXPECT_EQ(strip.width, 1260);
  EXPECT_EQ(strip.y + strip.height, 710);
  EXPECT_TRUE(strip.Contains(10, strip.y));
  EXPECT_FALSE(strip.Contains(10, strip.y - 1));
  EXPECT_DOUBLE_EQ(StripSecondsAt(strip, strip.x, kEnd), 0.0);
  EXPECT_DOUBLE_EQ(StripSecondsAt(strip, strip.x + strip.width - 1, kEnd), kEnd);
  EXPECT_DOUBLE_EQ(StripSecondsAt(strip, 0, kEnd), 0.0);        // left of it: the start
  EXPECT_DOUBLE_EQ(StripSecondsAt(strip, 5000, kEnd), kEnd);   // right of it: the end
  for (double t : {0.0, 17.3, show::kRobotRelease, kEnd}) {
    const int column = StripColumnOf(strip, t, kEnd);
    EXPECT_NEAR(StripSecondsAt(strip, column, kEnd), t, kEnd / strip.width);
  }
  const LiveRect tiny = StripRect(8, 8);
  EXPECT_GE(tiny.width, 1);
  EXPECT_GE(tiny.height, 1);
}

TEST(LiveReload, KnowsWhichFilesAreContent) {
  EXPECT_EQ(ContentKindOf("effects/lighting.cfx"), "effect");
  EXPECT_EQ(ContentKindOf("effects/lighting.glsl"), "effect-code");
  EXPECT_EQ(ContentKindOf("materials/floor.mat"), "material");
  EXPECT_EQ(ContentKindOf("textures/floor.png"), "texture");
  EXPECT_EQ(ContentKindOf("images/env_x_pos.jpg"), "texture");
  EXPECT_EQ(ContentKindOf("models/factory_hal.geo"), "model");
  EXPECT_EQ(ContentKindOf("animations/cameras.ani"), "animation");
  EXPECT_EQ(ContentKindOf("cameras/cameras.cam"), "camera");
  EXPECT_EQ(ContentKindOf("properties/props.scr"), "property-script");
  EXPECT_EQ(ContentKindOf("Robot/dance_anim"), "pose");
  EXPECT_EQ(ContentKindOf("Robot/frame"), "pose");
  EXPECT_EQ(ContentKindOf("music/osprey.mp3"), "music");
  EXPECT_EQ(ContentKindOf("textures/.floor.png.swp"), "");
  EXPECT_EQ(ContentKindOf("notes"), "");
  EXPECT_EQ(ContentKindOf("a.b/notes"), "");
  EXPECT_EQ(RelevantChanges({"x.png", "notes.txt~", "x.png", "y.mat"}), (std::vector<std::string>{"x.png", "y.mat"}));
}

}  // namespace
