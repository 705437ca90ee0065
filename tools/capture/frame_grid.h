#pragma once
// The frames of a capture: frame k shows timeline time k / fps, counted from 0, so the
// same time gives the same frame whichever section it is captured in. A section runs
// from the grid frame nearest to its start up to, not including, the one nearest to
// its end.
#include <vector>

struct FrameGrid {
  int fps = 60;
  long first = 0;  // the first frame of the section
  long end = 0;    // one past the last

  static FrameGrid ForSection(int fps, double fromSeconds, double toSeconds);

  long Count() const { return end - first; }
  double Seconds(long frame) const { return static_cast<double>(frame) / fps; }
  // The frame loop's arguments for a frame: its time and the step, in milliseconds.
  float TimeMs(long frame) const;
  float StepMs() const { return 1000.0f / static_cast<float>(fps); }
  // The grid frame nearest to a time.
  long Nearest(double seconds) const;
};

// The frames a contact sheet shows: the middles of `count` equal slices of the section
// (so neither the first nor the frame after the last), or the frames nearest to the
// given times. In ascending order of time as given; a frame may repeat.
std::vector<long> SheetFrames(const FrameGrid& grid, int count);
std::vector<long> SheetFramesAt(const FrameGrid& grid, const std::vector<double>& seconds);
