#pragma once
// The generated world loaded as the demo loads it (the content registry and its
// loaders, the material passes, the draw lists and render targets) and drawn through
// the demo's own frame from a viewpoint. Stands in for the controller and the scenes
// where those do not exist yet: it places the doors, the arms and the robot for the
// viewpoint's time, picks the shadow light and draws the monitor, greeting and
// credits overlays.
#include <memory>
#include <string>
#include <vector>

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

  // Draws one frame of the viewpoint into the framebuffer (0: the window); glFinish
  // included, so the time it takes can be measured around the call. With passMs, each
  // pass is finished and timed into it (milliseconds, in FramePass order).
  void Render(const Viewpoint& viewpoint, unsigned framebuffer, std::vector<double>* passMs = nullptr);

  // Total triangles in the enabled slots and the global lists the last frame drew
  // with (after culling).
  std::size_t DrawnTriangles() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace preview
