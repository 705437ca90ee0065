#pragma once
// The generated world drawn from a viewpoint by the real demo: the live player's
// session seeks the timeline to the viewpoint's time and a still camera takes the view
// there, so the doors, arms, robot, light, overlays and greetings are the demo's own at
// that time.
#include <memory>
#include <string>
#include <vector>

#include "assets/image.h"
#include "preview/viewpoints.h"

namespace preview {

class PreviewWorld {
 public:
  PreviewWorld();
  ~PreviewWorld();
  PreviewWorld(const PreviewWorld&) = delete;
  PreviewWorld& operator=(const PreviewWorld&) = delete;

  // Needs a current GL context. dataFolder is the unpacked data set. False with error
  // set when the data set does not load (the log names the files).
  bool Load(const std::string& dataFolder, int width, int height, std::string& error);

  // Draws one frame of the viewpoint; glFinish included, so the time it takes can be
  // measured around the call. With passMs, each pass is finished and timed into it
  // (milliseconds, in FramePass order).
  void Render(const Viewpoint& viewpoint, std::vector<double>* passMs = nullptr);
  // The last frame drawn: 24 bits, rows bottom-up.
  bool ReadBack(Image& picture) const;

  // Total triangles in the enabled slots and the global lists the last frame drew
  // with (after culling).
  std::size_t DrawnTriangles() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace preview
