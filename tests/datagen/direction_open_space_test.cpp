// The plan of open space the cameras are placed and checked against: which area holds
// a point, where walls, floors and ceilings stop a sight line, and what a view reaches.
#include <gtest/gtest.h>

#include "datagen/direction/open_space.h"
#include "datagen/world/layout.h"
#include "datagen/world/passage_route.h"

namespace {

using datagen::V3;
namespace space = datagen::space;
namespace layout = datagen::layout;
using space::Area;

TEST(OpenSpace, AreasHoldTheirRoomsAndStopAtWallsFloorsAndCeilings) {
  EXPECT_EQ(space::AreaAt(V3(0, 500, 1000)), Area::kHall);
  EXPECT_EQ(space::AreaAt(V3(0, -10, 1000)), Area::kNone) << "under the floor";
  EXPECT_EQ(space::AreaAt(V3(0, layout::kHallWallTop + 10, 1000)), Area::kNone) << "over the roof";
  EXPECT_EQ(space::AreaAt(V3(layout::kHallMaxX + 30, 500, 1000)), Area::kNone) << "in the hall's wall";
  EXPECT_EQ(space::AreaAt(V3(layout::kDoorCentreX, 700, layout::kDoorWallZ - 30)), Area::kDoorway);
  EXPECT_EQ(space::AreaAt(V3(layout::kDoorCentreX + 700, 700, layout::kDoorWallZ - 30)), Area::kNone)
      << "beside the doorway";
  EXPECT_EQ(space::AreaAt(V3(layout::kDoorCentreX, 1450, layout::kDoorWallZ - 30)), Area::kNone) << "over the doors";
  // The corridor follows its centre line, as wide and tall as the passage.
  const datagen::Route& line = datagen::PassageCentreline();
  for (float s = 300; s < line.Length() - 300; s += 900) {
    const V3 c = line.At(s), across = datagen::Normalize(datagen::Cross(V3(0, 1, 0), line.DirectionAt(s)));
    EXPECT_EQ(space::AreaAt(c + V3(0, 700, 0), 100), Area::kPassage) << s;
    EXPECT_EQ(space::AreaAt(c + across * (0.5f * layout::kPassageWidth + 50) + V3(0, 700, 0)), Area::kNone) << s;
    EXPECT_EQ(space::AreaAt(c + V3(0, layout::kPassageHeight + 20, 0)), Area::kNone) << s;
  }
  EXPECT_EQ(space::AreaAt(V3(12000, 800, -17400)), Area::kPassage) << "the glass-wall room";
  EXPECT_EQ(space::AreaAt(V3(17000, 2000, -17400)), Area::kPassage) << "the hall beyond";
  EXPECT_EQ(space::AreaAt(V3(layout::kGlassPlaneX + 20, 500, layout::kGlassCentreZ)), Area::kNone) << "in the pane";
}

TEST(OpenSpace, AMarginKeepsAPointClearOfEveryBoundary) {
  EXPECT_EQ(space::AreaAt(V3(0, 30, 1000), 50), Area::kNone) << "too near the floor";
  EXPECT_EQ(space::AreaAt(V3(0, 80, 1000), 50), Area::kHall);
  EXPECT_EQ(space::AreaAt(V3(layout::kHallMaxX - 30, 800, 1000), 50), Area::kNone);
  EXPECT_FALSE(space::Clear(V3(layout::kDoorCentreX, 350, layout::kDoorWallZ), 250, false)) << "doors shut";
  EXPECT_TRUE(space::Clear(V3(layout::kDoorCentreX, 350, layout::kDoorWallZ), 250, true)) << "through the doorway";
  EXPECT_TRUE(space::Clear(V3(layout::kGlassPlaneX, 350, layout::kGlassCentreZ), 250, true)) << "through the glass";
}

TEST(OpenSpace, SightLinesPassTheGlassAndTheOpenDoorsButNoWall) {
  const V3 inHall(layout::kDoorCentreX, 700, 0), inPassage(layout::kDoorCentreX, 700, -2000);
  EXPECT_TRUE(space::ClearLine(inHall, inPassage, true));
  EXPECT_FALSE(space::ClearLine(inHall, inPassage, false));
  EXPECT_FALSE(space::ClearLine(V3(0, 700, 0), V3(0, 700, -2000), true)) << "through the hall's wall";
  const V3 room(12500, 500, layout::kGlassCentreZ), beyond(15000, 500, layout::kGlassCentreZ);
  EXPECT_TRUE(space::ClearLine(room, beyond, false));
  EXPECT_FALSE(space::ClearLine(room + V3(0, 700, 0), beyond + V3(0, 700, 0), false)) << "over the pane";
}

TEST(OpenSpace, AViewReachesTheAreasItsRaysCrossBeforeAWall) {
  // From the corridor's first stretch, looking back up it at the doorway.
  const V3 eye(layout::kDoorCentreX, 700, -2500);
  const unsigned back = space::AreasAlong(eye, V3(0, 0, 1), 8000, true);
  EXPECT_TRUE(back & space::Bit(Area::kPassage));
  EXPECT_TRUE(back & space::Bit(Area::kHall));
  EXPECT_FALSE(space::AreasAlong(eye, V3(0, 0, 1), 8000, false) & space::Bit(Area::kHall)) << "doors shut";
  EXPECT_FALSE(space::AreasAlong(eye, V3(0, 0, 1), 1000, true) & space::Bit(Area::kHall)) << "too short";
  EXPECT_FALSE(space::AreasAlong(eye, V3(0, 0, -1), 8000, true) & space::Bit(Area::kHall)) << "looking away";
  // A ray into a wall reaches only the area it starts in.
  EXPECT_EQ(space::AreasAlong(V3(0, 700, 0), V3(0, 0, -1), 8000, true), space::Bit(Area::kHall));
}

}  // namespace
