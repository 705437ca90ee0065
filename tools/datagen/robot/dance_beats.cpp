#include "datagen/robot/dance_beats.h"

#include <cmath>
#include <memory>

#include "anim/property_script.h"
#include "datagen/robot/robot_metrics.h"

namespace datagen::robot {
namespace {

// The soundtrack's tempo: its accents were played at about 147 beats per minute.
constexpr float kBeatSeconds = 60.0f / 147.0f;

}  // namespace

std::vector<float> DanceAccents() {
  // Read from the demo's own signal track, so the dance cannot drift from the flashes.
  const std::unique_ptr<SignalPair> signal = MakeSignalPair();
  const IInterpolator<int>* track = signal->track.Track<int>();
  std::vector<float> accents;
  int last = signal->lastValue;
  for (int i = 0; i < track->KeyCount(); ++i) {
    float time = 0.0f;
    int value = 0;
    bool hold = false;
    track->GetKey(i, time, value, hold);
    if (value != last && time >= kDanceTimelineStart) accents.push_back(time - kDanceTimelineStart);
    last = value;
  }
  return accents;
}

std::vector<float> DanceBeats() {
  // A steady beat through the first accent of the dance.
  const float anchor = DanceAccents().front();
  std::vector<float> beats;
  const int before = static_cast<int>(std::ceil(anchor / kBeatSeconds)) + 1;
  const int count = static_cast<int>(metrics::kDanceLength / kBeatSeconds) + before + 2;
  for (int i = -before; i < count; ++i) beats.push_back(anchor + static_cast<float>(i) * kBeatSeconds);
  return beats;
}

}  // namespace datagen::robot
