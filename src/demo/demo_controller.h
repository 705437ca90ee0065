#pragma once
// The one object that owns a run of the demo: window, GL state, content, timeline,
// and the per-frame update and render.
#include <memory>
#include <string>

#include "anim/math.h"
#include "app/singleton.h"
#include "platform/input.h"

namespace platform {
class GlWindow;
}

class DemoController final : public platform::IKeyboardCallback, public GenericSingleton<DemoController> {
 public:
  // Reopens the log, so the file's content begins with the controller.
  DemoController();
  ~DemoController();

  bool Init(int width, int height, int bitsPerPixel, int refreshRate);
  bool LoadContent(const std::string& dataFolder);
  bool Prepare();
  bool Update(float timeMs, float dtMs);
  bool Render(float timeMs, float dtMs);
  // Releases what exists, each piece once; safe on a partly initialised controller
  // and when called again.
  void Shutdown();

  int Width() const { return width_; }
  int Height() const { return height_; }
  float FieldOfView() const { return fieldOfView_; }
  const sm::Mat4& Projection() const { return projection_; }
  const std::string& DataFolder() const { return dataFolder_; }

 private:
  std::unique_ptr<platform::GlWindow> window_;
  std::string dataFolder_;
  int width_ = 0;
  int height_ = 0;
  float fieldOfView_ = 60.0f;  // degrees, cached so the projection is rebuilt only on change
  sm::Mat4 projection_;
};
