#pragma once
// Routes for things that travel: a polyline with rounded corners, walked by distance,
// and a timetable of legs along it (from one distance to another between two times,
// with easing), sampled into keys. Dense keys keep the program's spline
// interpolation on the route instead of overshooting it.
#include <vector>

#include "datagen/geometry/vec.h"

namespace datagen {

class Route {
 public:
  // The corners are rounded with arcs of up to cornerRadius (less where the
  // neighbouring segments are short).
  Route(const std::vector<V3>& corners, float cornerRadius);

  float Length() const { return distances_.empty() ? 0.0f : distances_.back(); }
  // The point at a distance along the route (clamped to its ends).
  V3 At(float distance) const;
  // The unit direction of travel there.
  V3 DirectionAt(float distance) const;

 private:
  std::vector<V3> points_;
  std::vector<float> distances_;
};

enum class Ease { kLinear, kIn, kOut, kInOut };

float Eased(Ease ease, float s);

// One leg of a timetable: from distance d0 at time t0 to d1 at time t1.
struct Leg {
  float t0, t1;
  float d0, d1;
  Ease ease = Ease::kLinear;
};

// The distance along the route at time t: the leg that covers t, held before the
// first and after the last.
float DistanceAt(const std::vector<Leg>& legs, float t);

}  // namespace datagen
