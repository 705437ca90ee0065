#include "datagen/music/tempo_map.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <unordered_map>

namespace datagen {
namespace music {

TempoMap::TempoMap(std::vector<GridAnchor> anchors, double sixteenthBefore)
    : anchors_(std::move(anchors)), sixteenthBefore_(sixteenthBefore), sixteenthAfter_(sixteenthBefore) {
  if (anchors_.empty()) anchors_.push_back({0.0, 0});
  if (anchors_.size() >= 2) {
    const GridAnchor& a = anchors_[anchors_.size() - 2];
    const GridAnchor& b = anchors_.back();
    sixteenthAfter_ = (b.time - a.time) / (b.position - a.position);
  }
}

namespace {

// Reads the anchors as a piecewise-linear map from one of their coordinates to the other
// (both rise together), running on at the given paces beyond the first and last anchor.
template <typename From, typename To>
double Along(const std::vector<GridAnchor>& anchors, double x, From from, To to, double paceBefore, double paceAfter) {
  if (x <= from(anchors.front())) return to(anchors.front()) + (x - from(anchors.front())) * paceBefore;
  if (x >= from(anchors.back())) return to(anchors.back()) + (x - from(anchors.back())) * paceAfter;
  const auto next = std::upper_bound(anchors.begin(), anchors.end(), x,
                                     [&](double value, const GridAnchor& a) { return value < from(a); });
  const GridAnchor& a = *(next - 1);
  const GridAnchor& b = *next;
  return to(a) + (x - from(a)) * (to(b) - to(a)) / (from(b) - from(a));
}

double TimeOf(const GridAnchor& a) { return a.time; }
double PositionOf(const GridAnchor& a) { return a.position; }

}  // namespace

double TempoMap::TimeAt(double position) const {
  return Along(anchors_, position, PositionOf, TimeOf, sixteenthBefore_, sixteenthAfter_);
}

double TempoMap::PositionAt(double time) const {
  return Along(anchors_, time, TimeOf, PositionOf, 1.0 / sixteenthBefore_, 1.0 / sixteenthAfter_);
}

int TempoMap::BarAt(double time) const {
  return static_cast<int>(std::floor(PositionAt(time) / kSixteenthsPerBar + 1e-9));
}

int TempoMap::NearestBar(double time) const {
  return static_cast<int>(std::floor(PositionAt(time) / kSixteenthsPerBar + 0.5));
}

double TempoMap::SixteenthAt(double time) const {
  const double position = PositionAt(time);
  return TimeAt(std::floor(position) + 1.0) - TimeAt(std::floor(position));
}

double MetreCost(int positionInBar) {
  const int m = ((positionInBar % kSixteenthsPerBar) + kSixteenthsPerBar) % kSixteenthsPerBar;
  if (m == 0) return 0.0;
  if (m == 8) return 0.2;
  if (m % 4 == 0) return 0.5;
  if (m % 2 == 0) return 1.5;
  return 3.0;
}

namespace {

// One way the grid can pass through an accent: where the accent sits in its bar, how
// many sixteenths the stretch before it has, and the cheapest way to get here.
struct Candidate {
  int metre;          // position in bar, 0..15
  int sixteenths;     // of the stretch ending here (0 for the first accent)
  double sixteenth;   // seconds per sixteenth of that stretch
  bool shortStretch;  // the stretch was short enough for its tempo to count as a change
  double cost;
  int previousAccent;  // -1 for the first
  int previousCandidate;
};

// Accents closer than the merge window become one event at their mean time.
std::vector<double> MergeClose(const std::vector<double>& accents, double window) {
  std::vector<double> merged;
  double sum = 0.0, last = 0.0;
  int count = 0;
  for (double t : accents) {
    if (count > 0 && t - last >= window) {
      merged.push_back(sum / count);
      sum = 0.0;
      count = 0;
    }
    sum += t;
    last = t;
    ++count;
  }
  if (count > 0) merged.push_back(sum / count);
  return merged;
}

}  // namespace

TempoMap FitTempoMap(const std::vector<double>& accents, const std::vector<double>& downbeats,
                     const TempoFitSettings& settings) {
  const double nominal = 15.0 / settings.nominalBpm;
  const std::vector<double> times = MergeClose(accents, settings.mergeWindow);
  const int n = static_cast<int>(times.size());
  if (n == 0) return TempoMap({{0.0, 0}}, nominal);

  std::vector<bool> forced(n, false);
  forced[0] = true;
  for (double d : downbeats) {
    for (int i = 0; i < n; ++i) {
      if (std::fabs(times[i] - d) < settings.mergeWindow) forced[i] = true;
    }
  }
  const double metreWeight = settings.metreWeight;
  const auto metre = [&](int position) { return metreWeight * MetreCost(position); };

  std::vector<std::vector<Candidate>> candidates(n);
  candidates[0].push_back({0, 0, nominal, false, 0.0, -1, -1});
  constexpr int kReach = 10;  // accents one stretch may pass over
  for (int i = 1; i < n; ++i) {
    std::unordered_map<int, Candidate> best;
    for (int j = std::max(0, i - kReach); j < i; ++j) {
      bool crossesForced = false;
      for (int f = j + 1; f < i; ++f) crossesForced = crossesForced || forced[f];
      if (crossesForced) continue;
      const double span = times[i] - times[j];
      const bool shortStretch = span <= settings.longGap;
      if (i - j > 1 && !shortStretch) continue;
      const double steady = nominal > 0.0 ? span / nominal : 1.0;
      const int low =
          shortStretch ? std::max(1, static_cast<int>(steady * 0.8)) : std::max(1, static_cast<int>(steady) - 12);
      const int high = shortStretch ? static_cast<int>(steady * 1.25) + 1 : static_cast<int>(steady) + 12;
      const double factor = times[j] >= settings.steadyFrom ? settings.steadyFactor : 1.0;
      for (int c = 0; c < static_cast<int>(candidates[j].size()); ++c) {
        const Candidate& from = candidates[j][c];
        for (int k = low; k <= high; ++k) {
          const int position = (from.metre + k) % kSixteenthsPerBar;
          if (forced[i] && position != 0) continue;
          const double sixteenth = span / k;
          const double drift = std::log(sixteenth / nominal);
          double cost = from.cost + settings.tempoWeight * drift * drift + metre(position);
          if (shortStretch && from.shortStretch) {
            const double change = std::log(sixteenth / from.sixteenth);
            cost += settings.changeWeight * factor * change * change;
          }
          for (int f = j + 1; f < i; ++f) {
            const double x = (times[f] - times[j]) / sixteenth;
            const double nearest = std::round(x);
            const double off = (x - nearest) * sixteenth;
            cost += settings.offGridCost + settings.offGridWeight * off * off +
                    metre(from.metre + static_cast<int>(nearest));
          }
          const int key = position + kSixteenthsPerBar * k;
          auto found = best.find(key);
          if (found == best.end() || cost < found->second.cost) {
            best[key] = {position, k, sixteenth, shortStretch, cost, j, c};
          }
        }
      }
    }
    std::vector<Candidate>& kept = candidates[i];
    for (const auto& entry : best) kept.push_back(entry.second);
    // Ties broken by the key fields, so the result never depends on hash order.
    std::sort(kept.begin(), kept.end(), [](const Candidate& a, const Candidate& b) {
      if (a.cost != b.cost) return a.cost < b.cost;
      if (a.sixteenths != b.sixteenths) return a.sixteenths < b.sixteenths;
      return a.metre < b.metre;
    });
    if (static_cast<int>(kept.size()) > settings.beamWidth) kept.resize(settings.beamWidth);
    if (kept.empty()) {
      // No grid reaches this accent (it cannot happen with the settings' ranges, but a
      // broken table must not break the build): bridge it at the nominal tempo.
      const Candidate& from = candidates[i - 1].front();
      const int k = std::max(1, static_cast<int>(std::lround((times[i] - times[i - 1]) / nominal)));
      kept.push_back(
          {(from.metre + k) % kSixteenthsPerBar, k, (times[i] - times[i - 1]) / k, false, from.cost, i - 1, 0});
    }
  }

  // Walk back from the cheapest grid at the last accent.
  std::vector<std::pair<int, int>> path;  // (accent, candidate)
  for (int i = n - 1, c = 0; i >= 0;) {
    path.emplace_back(i, c);
    const Candidate& at = candidates[i][c];
    c = at.previousCandidate;
    i = at.previousAccent;
  }
  std::reverse(path.begin(), path.end());
  std::vector<GridAnchor> anchors;
  int position = 0;
  for (const auto& step : path) {
    position += candidates[step.first][step.second].sixteenths;
    anchors.push_back({times[step.first], position});
  }
  return TempoMap(std::move(anchors), nominal);
}

}  // namespace music
}  // namespace datagen
