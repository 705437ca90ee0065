#pragma once
// A stand-in for the controller's side of the scenes: named content held in maps, the
// five model slots as flags, the shared robot and a camera. Tests (and the data-set
// tests, to place the robot and the arms with the scenes' own code) fill it with what
// they need; a lookup of anything not added comes back null and is remembered.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "anim/node_animation.h"
#include "assets/model.h"
#include "assets/texture.h"
#include "platform/gl.h"
#include "scenes/robot.h"
#include "scenes/scene_world.h"

namespace scene_testing {

class FakeWorld : public ISceneWorld {
 public:
  FakeWorld() {
    for (bool& slot : slots) slot = true;
  }

  Model* FindModel(const std::string& name) override { return Find(models_, name); }
  Texture* FindTexture(const std::string& name) override { return Find(textures_, name); }
  Animation* FindAnimation(const std::string& name) override { return Find(animations_, name); }
  void SetSlotEnabled(int slot, bool enabled) override {
    if (slot >= 0 && slot < kModelSlots) slots[slot] = enabled;
  }
  Robot::Character& GetRobot() override { return robot; }
  const sm::Mat4& CameraProjection() override { return projection; }
  const sm::Mat4& CameraView() override { return view; }

  Model* AddModel(const std::string& name, std::unique_ptr<Model> model) {
    Model* raw = model.get();
    models_[name] = std::move(model);
    return raw;
  }
  Texture* AddTexture(const std::string& name, std::unique_ptr<Texture> texture) {
    Texture* raw = texture.get();
    textures_[name] = std::move(texture);
    return raw;
  }
  // A texture without storage: enough for scenes that only hold and compare it. With
  // no GL context current the GL calls do nothing and its name stays 0.
  Texture* AddTexture(const std::string& name) {
    return AddTexture(name, std::make_unique<Texture>(1, 1, 0, nullptr, GL_REPEAT, GL_NEAREST, GL_NEAREST, false));
  }
  Animation* AddAnimation(const std::string& name, std::unique_ptr<Animation> animation) {
    Animation* raw = animation.get();
    animations_[name] = std::move(animation);
    return raw;
  }
  // Takes the named thing out of the world again (its owner keeps nothing).
  void Remove(const std::string& name) {
    models_.erase(name);
    textures_.erase(name);
    animations_.erase(name);
  }

  static constexpr int kModelSlots = 5;
  bool slots[kModelSlots];
  Robot::Character robot;
  sm::Mat4 projection;
  sm::Mat4 view;
  std::vector<std::string> misses;  // names looked up but not found, in order

 private:
  template <typename T>
  T* Find(const std::map<std::string, std::unique_ptr<T>>& map, const std::string& name) {
    const auto found = map.find(name);
    if (found != map.end()) return found->second.get();
    misses.push_back(name);
    return nullptr;
  }

  std::map<std::string, std::unique_ptr<Model>> models_;
  std::map<std::string, std::unique_ptr<Texture>> textures_;
  std::map<std::string, std::unique_ptr<Animation>> animations_;
};

}  // namespace scene_testing
