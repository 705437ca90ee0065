#include "demo/demo_world.h"

#include "anim/node_animation.h"
#include "assets/demo_content.h"
#include "assets/model.h"
#include "assets/texture.h"
#include "demo/timeline.h"

namespace {

template <typename T>
T* Find(const std::string& name) {
  return DemoContent::Exists() ? DemoContent::Instance()->Get<T>(name) : nullptr;
}

}  // namespace

Model* DemoWorld::FindModel(const std::string& name) { return Find<Model>(name); }
Texture* DemoWorld::FindTexture(const std::string& name) { return Find<Texture>(name); }
Animation* DemoWorld::FindAnimation(const std::string& name) { return Find<Animation>(name); }

void DemoWorld::SetSlotEnabled(int slot, bool enabled) {
  if (slot >= 0 && slot < kModelSlotCount) slots_[static_cast<std::size_t>(slot)].enabled = enabled;
}

const sm::Mat4& DemoWorld::CameraProjection() { return timeline_.Projection(); }
const sm::Mat4& DemoWorld::CameraView() { return timeline_.View(); }
