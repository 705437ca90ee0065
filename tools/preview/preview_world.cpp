#include "preview/preview_world.h"

#include <chrono>
#include <cmath>

#include "anim/math.h"
#include "datagen/geometry/vec.h"
#include "assets/model.h"
#include "demo/camera.h"
#include "demo/demo_controller.h"
#include "live/live_session.h"
#include "platform/gl.h"
#include "render/draw_lists.h"

namespace preview {
namespace {

using datagen::V3;

// The view from eye towards target, with the world's up (y) kept up.
sm::Mat4 LookAtView(V3 eye, V3 target) {
  const V3 f = datagen::Normalize(target - eye);
  const V3 s = datagen::Normalize(datagen::Cross(f, V3(0, 1, 0)));
  const V3 u = datagen::Cross(s, f);
  sm::Mat4 m;
  m.a[0] = s.x, m.a[4] = s.y, m.a[8] = s.z;
  m.a[1] = u.x, m.a[5] = u.y, m.a[9] = u.z;
  m.a[2] = -f.x, m.a[6] = -f.y, m.a[10] = -f.z;
  m.a[12] = -datagen::Dot(s, eye);
  m.a[13] = -datagen::Dot(u, eye);
  m.a[14] = datagen::Dot(f, eye);
  return m;
}

// A camera that stands still at the viewpoint, looking at its target.
class StillCamera final : public ICamera {
 public:
  void LookFrom(const Viewpoint& viewpoint) {
    view_ = LookAtView(viewpoint.eye, viewpoint.target);
    fieldOfView_ = viewpoint.fieldOfView;
  }
  sm::Mat4& ViewMatrix(sm::Mat4& out) override {
    out = view_;
    return out;
  }
  float FieldOfView(float) override { return fieldOfView_; }

 private:
  sm::Mat4 view_;
  float fieldOfView_ = 1.0f;
};

}  // namespace

struct PreviewWorld::State {
  LiveSession session;
  StillCamera camera;
};

PreviewWorld::PreviewWorld() : state_(std::make_unique<State>()) {}
PreviewWorld::~PreviewWorld() = default;

bool PreviewWorld::Load(const std::string& dataFolder, int width, int height, std::string& error) {
  if (!platform::FetchGlEntryPoints()) {
    error = "the GL driver lacks the entry points the demo needs";
    return false;
  }
  const std::string folder = dataFolder.empty() || dataFolder.back() == '/' ? dataFolder : dataFolder + "/";
  if (!state_->session.Open(folder, width, height, error)) return false;
  state_->session.Controller().HoldCamera(&state_->camera);
  return true;
}

void PreviewWorld::Render(const Viewpoint& viewpoint, std::vector<double>* passMs) {
  LiveSession& session = state_->session;
  if (!session.IsOpen()) return;
  state_->camera.LookFrom(viewpoint);
  session.SeekFrame(std::lround(viewpoint.time * LiveSession::kFps));
  session.RefreshView(0.0f);  // the still camera may have moved since that frame
  if (passMs == nullptr) {
    session.Render();
  } else {
    passMs->assign(8, 0.0);
    auto last = std::chrono::steady_clock::now();
    session.Render([&](FramePass pass) {
      glFinish();
      const auto now = std::chrono::steady_clock::now();
      (*passMs)[static_cast<std::size_t>(pass)] += std::chrono::duration<double, std::milli>(now - last).count();
      last = now;
    });
  }
  glFinish();
}

bool PreviewWorld::ReadBack(Image& picture) const { return state_->session.ReadBack(picture); }

std::size_t PreviewWorld::DrawnTriangles() const {
  if (!state_->session.IsOpen()) return 0;
  const DemoController& controller = state_->session.Controller();
  std::size_t count = 0;
  const auto add = [&](const DrawList& list) {
    for (const SubMesh* sub : list) {
      if (sub->visible) count += static_cast<std::size_t>(sub->vertexCount / 3);
    }
  };
  for (const ModelSlot& slot : controller.Slots()) {
    if (slot.enabled) add(slot.all);
  }
  add(controller.GlobalLists().all);
  return count;
}

}  // namespace preview
