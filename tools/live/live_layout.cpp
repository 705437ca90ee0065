#include "live/live_layout.h"

#include <algorithm>
#include <cmath>

LiveRect StripRect(int windowWidth, int windowHeight) {
  constexpr int kMargin = 10;
  constexpr int kHeight = 24;
  LiveRect rect;
  rect.width = std::max(1, windowWidth - 2 * kMargin);
  rect.height = std::max(1, std::min(kHeight, windowHeight - 2 * kMargin));
  rect.x = std::min(kMargin, std::max(0, windowWidth - rect.width) / 2);
  rect.y = std::max(0, windowHeight - kMargin - rect.height);
  return rect;
}

double StripSecondsAt(const LiveRect& strip, int x, double end) {
  if (strip.width <= 1 || end <= 0.0) return 0.0;
  const double fraction = static_cast<double>(x - strip.x) / (strip.width - 1);
  return std::clamp(fraction, 0.0, 1.0) * end;
}

int StripColumnOf(const LiveRect& strip, double seconds, double end) {
  if (end <= 0.0) return strip.x;
  const double fraction = std::clamp(seconds / end, 0.0, 1.0);
  return strip.x + static_cast<int>(std::lround(fraction * (strip.width - 1)));
}
