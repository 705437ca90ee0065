#pragma once
// A coarse plan of where the world is open: the rooms and the corridor as volumes that
// a camera may stand in and see through, bounded by their walls, floors and ceilings.
// The hall's doorway joins the hall to the passage while the doors are open; the glass
// pane is see-through. The free-standing columns behind the doors count as walls; other
// details (lamps, crates, the hall's rig) are left out.
//
// The cameras are planned against it and checked with it: no eye inside a wall, no
// subject hidden behind one, and no view that reaches a part of the world the current
// scene has switched off.
#include "datagen/geometry/vec.h"

namespace datagen::space {

enum class Area {
  kNone,      // inside a wall, below the floor, above a ceiling or outside the world
  kHall,      // the factory hall (drawn up to show::kSceneSwitch and from show::kBackToHall)
  kDoorway,   // the opening through the hall's -z wall
  kPassage,   // the corridor, the glass-wall room and the hall beyond (kPassageOpen ... kBackToHall)
};

// Which area holds the point, keeping margin clear of every boundary; the glass pane
// (see-through, but nothing stands in it) and the doorway's thickness count as kNone
// and kDoorway.
Area AreaAt(V3 point, float margin = 0.0f);

// Whether a sight line may pass the point: open space, the doorway while the doors are
// open, and the glass pane.
bool SeeThrough(V3 point, bool doorsOpen);

// Whether a body at point has margin of open space round it along each axis: the
// doorway (while the doors are open) and the glass pane count as open.
bool Clear(V3 point, float margin, bool doorsOpen);

// Whether the straight line from a to b passes open space only (checked every 20 units).
bool ClearLine(V3 a, V3 b, bool doorsOpen);

// What a ray from eye along direction reaches before a wall stops it or length runs out:
// a bit per area (1 << Area).
unsigned AreasAlong(V3 eye, V3 direction, float length, bool doorsOpen);

constexpr unsigned Bit(Area area) { return 1u << static_cast<unsigned>(area); }

}  // namespace datagen::space
