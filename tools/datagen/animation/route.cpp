#include "datagen/animation/route.h"

#include <algorithm>
#include <cmath>

namespace datagen {

Route::Route(const std::vector<V3>& corners, float cornerRadius) {
  for (std::size_t i = 0; i < corners.size(); ++i) {
    if (i == 0 || i + 1 == corners.size()) {
      points_.push_back(corners[i]);
      continue;
    }
    const V3 in = corners[i] - corners[i - 1], out = corners[i + 1] - corners[i];
    const float r = std::min({cornerRadius, 0.45f * datagen::Length(in), 0.45f * datagen::Length(out)});
    const V3 a = corners[i] - Normalize(in) * r, b = corners[i] + Normalize(out) * r;
    // A quadratic curve from a through the corner's pull to b.
    const int steps = 12;
    for (int k = 0; k <= steps; ++k) {
      const float s = static_cast<float>(k) / static_cast<float>(steps);
      points_.push_back(a * ((1 - s) * (1 - s)) + corners[i] * (2 * s * (1 - s)) + b * (s * s));
    }
  }
  float total = 0;
  for (std::size_t i = 0; i < points_.size(); ++i) {
    if (i > 0) total += datagen::Length(points_[i] - points_[i - 1]);
    distances_.push_back(total);
  }
}

V3 Route::At(float distance) const {
  if (points_.empty()) return V3();
  if (distance <= 0) return points_.front();
  if (distance >= Length()) return points_.back();
  const auto upper = std::upper_bound(distances_.begin(), distances_.end(), distance);
  const std::size_t i = static_cast<std::size_t>(upper - distances_.begin());
  const float span = distances_[i] - distances_[i - 1];
  const float t = span > 0 ? (distance - distances_[i - 1]) / span : 0.0f;
  return Lerp(points_[i - 1], points_[i], t);
}

V3 Route::DirectionAt(float distance) const {
  const float step = 20.0f;
  const float a = std::max(0.0f, std::min(distance - step, Length() - 2 * step));
  return Normalize(At(a + 2 * step) - At(a));
}

float Eased(Ease ease, float s) {
  s = std::clamp(s, 0.0f, 1.0f);
  switch (ease) {
    case Ease::kLinear: return s;
    case Ease::kIn: return s * s;
    case Ease::kOut: return 1.0f - (1.0f - s) * (1.0f - s);
    case Ease::kInOut: return s * s * (3.0f - 2.0f * s);
  }
  return s;
}

float DistanceAt(const std::vector<Leg>& legs, float t) {
  if (legs.empty()) return 0.0f;
  if (t <= legs.front().t0) return legs.front().d0;
  for (const Leg& leg : legs) {
    if (t <= leg.t1) {
      if (t < leg.t0) return leg.d0;
      const float s = leg.t1 > leg.t0 ? (t - leg.t0) / (leg.t1 - leg.t0) : 1.0f;
      return leg.d0 + (leg.d1 - leg.d0) * Eased(leg.ease, s);
    }
  }
  return legs.back().d1;
}

}  // namespace datagen
