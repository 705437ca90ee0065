#pragma once
// A folder of numbered PNG frames, "frame_000000.png" on, numbered by grid frame. Each
// frame is written under a temporary name and renamed when complete, so the folder
// only ever holds complete frames, whenever the capture stops. A small settings file
// remembers the size and rate, so a resumed capture cannot mix two kinds of frames.
#include <string>

#include "assets/image.h"
#include "capture/frame_grid.h"

class FrameFolder {
 public:
  // Creates the folder when missing and removes what an interrupted write left behind.
  // With resume, the settings must match the ones
  // the folder was started with. False with error set otherwise.
  bool Open(const std::string& folder, int width, int height, int fps, bool resume, std::string& error);

  static std::string FileName(long frame);
  std::string PathOf(long frame) const;
  bool Has(long frame) const;
  // The first frame of the section that is not in the folder yet (the grid's end when
  // all are).
  long FirstMissing(const FrameGrid& grid) const;

  // False with error set when the frame cannot be written (nothing is left then).
  bool Write(long frame, const Image& picture, std::string& error) const;

 private:
  void RemoveUnfinished() const;
  std::string folder_;
};
