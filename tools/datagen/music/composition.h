#pragma once
// The composition: writes the whole score of the soundtrack over the arrangement.
#include "datagen/music/arrangement.h"
#include "datagen/music/score.h"

namespace datagen {
namespace music {

// Every note of the soundtrack, sorted by time. The accents of the timeline (every flash
// and every greeting change) are notes marked as accents at exactly their times; the
// groove makes room for them (see MakeRoomForAccents).
Score Compose(const Arrangement& arrangement);

// So that each accent is heard as a new event, nothing else starts in the 100 ms before
// it: drum hits there (and just after it, where the accent's own hit plays) are dropped,
// ringing drums from further back, and pitched notes that would start there start with
// the accent instead. An accent that another follows within 120 ms is softened to a
// grace note before it.
void MakeRoomForAccents(Score& score);

}  // namespace music
}  // namespace datagen
