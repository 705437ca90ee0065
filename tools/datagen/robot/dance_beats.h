#pragma once
// The music under the dance, in the dance's own time (timeline seconds minus the dance's
// start): the accents the demo flashes on, and the beat between them. The dance hits a
// pose on every accent and grooves on the beat.
#include <vector>

#include "anim/show_times.h"

namespace datagen::robot {

// The timeline time at which the dance animation's time 0 is played.
constexpr float kDanceTimelineStart = show::AsFloat(show::kDanceStart);

// Every change of the demo's flash signal after the dance starts, in dance time (the
// soundtrack has an accent on each).
std::vector<float> DanceAccents();

// The soundtrack's beats through the dance, in dance time, ascending, from before 0 to
// past its end.
std::vector<float> DanceBeats();

}  // namespace datagen::robot
