#pragma once
// Key poses over time: the choreography of the releasing, breaking and dancing motions.
// Between two keys every body value moves from one pose to the next with the first
// key's ease; a foot that keeps its placement over two keys therefore stays planted.
#include <utility>
#include <vector>

#include "datagen/robot/skeleton.h"

namespace datagen::robot {

enum class Ease {
  kSmooth,  // eases out of one pose and into the next
  kLinear,
  kIn,      // slow start, arrives at speed
  kOut,     // leaves at speed, settles into the next pose
  kHit,     // holds, then snaps into the next pose just before its time (robotic moves)
};

class KeyPoses {
 public:
  // Keys are added in time order.
  void Add(float time, const BodyPose& pose, Ease ease = Ease::kSmooth);
  // Holds the last pose until time.
  void Hold(float time, Ease ease = Ease::kSmooth);

  // The pose at time; before the first key the first pose, after the last the last.
  BodyPose At(float time) const;

  const BodyPose& Last() const { return keys_.back().pose; }
  float LastTime() const { return keys_.back().time; }
  bool Empty() const { return keys_.empty(); }

 private:
  struct Key {
    float time;
    BodyPose pose;
    Ease ease;
  };
  std::vector<Key> keys_;
};

// How far along a segment an ease has moved at fraction u of its span (seconds long).
float Eased(Ease ease, float u, float span);

// Every pose of a motion sampled at a rate, from 0 to length inclusive.
template <typename PoseAt>
std::vector<std::pair<float, BodyPose>> Sample(float length, float keysPerSecond, PoseAt&& at) {
  std::vector<std::pair<float, BodyPose>> samples;
  const int count = static_cast<int>(length * keysPerSecond + 0.5f);
  for (int i = 0; i <= count; ++i) {
    const float t = static_cast<float>(i) / keysPerSecond;
    samples.emplace_back(t, at(t));
  }
  return samples;
}

}  // namespace datagen::robot
