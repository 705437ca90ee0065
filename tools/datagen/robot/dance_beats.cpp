#include "datagen/robot/dance_beats.h"

#include "datagen/robot/robot_metrics.h"
#include "datagen/timeline_events.h"

namespace datagen::robot {

std::vector<float> DanceAccents() {
  std::vector<float> accents;
  for (double flash : timeline::FlashTimes()) {
    if (flash >= kDanceTimelineStart) accents.push_back(static_cast<float>(flash - kDanceTimelineStart));
  }
  return accents;
}

std::vector<float> DanceBeats() {
  // The soundtrack's own grid: its tempo follows the hand-timed accents, so the dance's
  // groove does too.
  std::vector<float> beats;
  for (const timeline::Beat& beat :
       timeline::Beats(kDanceTimelineStart - 2.0, kDanceTimelineStart + metrics::kDanceLength + 2.0)) {
    beats.push_back(static_cast<float>(beat.time - kDanceTimelineStart));
  }
  return beats;
}

}  // namespace datagen::robot
