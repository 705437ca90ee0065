#include "capture/frame_grid.h"

#include <algorithm>
#include <cmath>

FrameGrid FrameGrid::ForSection(int fps, double fromSeconds, double toSeconds) {
  FrameGrid grid;
  grid.fps = fps;
  grid.first = grid.Nearest(fromSeconds);
  grid.end = std::max(grid.Nearest(toSeconds), grid.first + 1);
  return grid;
}

float FrameGrid::TimeMs(long frame) const {
  return static_cast<float>(static_cast<double>(frame) * 1000.0 / fps);
}

long FrameGrid::Nearest(double seconds) const { return std::lround(seconds * fps); }

std::vector<long> SheetFrames(const FrameGrid& grid, int count) {
  std::vector<long> frames;
  const double slice = static_cast<double>(grid.Count()) / count;
  for (int i = 0; i < count; ++i) {
    const long frame = grid.first + static_cast<long>(std::floor((i + 0.5) * slice));
    frames.push_back(std::min(frame, grid.end - 1));
  }
  return frames;
}

std::vector<long> SheetFramesAt(const FrameGrid& grid, const std::vector<double>& seconds) {
  std::vector<long> frames;
  for (double t : seconds) frames.push_back(std::clamp(grid.Nearest(t), grid.first, grid.end - 1));
  return frames;
}
