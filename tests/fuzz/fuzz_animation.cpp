// Node animation files: any bytes are rejected or accepted without over-reading, an
// accepted file survives a write and a second read unchanged, and the tree built from
// it can be updated (whatever numbers the file holds).
#include <cstddef>
#include <cstdint>

#include "anim/animation_file.h"
#include "anim/node_animation.h"

namespace {

struct Target : ITransformable {
  bool IsCamera() override { return camera; }
  int GetId() override { return id; }
  float* GetTransform() override { return transform.a; }
  float* GetBaseTransform() override { return base.a; }
  bool camera = false;
  int id = 0;
  sm::Mat4 transform;
  sm::Mat4 base;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  animation_file::AnimationData animation;
  std::string error;
  if (!animation_file::Parse(data, size, animation, error)) return 0;
  const std::string written = animation_file::Write(animation);
  animation_file::AnimationData again;
  if (!animation_file::Parse(written.data(), written.size(), again, error)) __builtin_trap();
  if (animation_file::Write(again) != written) __builtin_trap();

  const std::unique_ptr<Animation> root = Animation::FromData(animation);
  Target meshes[2];
  if (!animation.nodes.empty()) {
    meshes[0].id = animation.nodes[0].id;
    meshes[1].id = animation.nodes.back().id;
  }
  Target camera;
  camera.camera = true;
  camera.id = animation.nodes.empty() || animation.nodes[0].children.empty() ? 1 : animation.nodes[0].children[0].id;
  root->AttachMeshes(std::vector<Target*>{&meshes[0], &meshes[1]});
  root->AttachCamera(&camera);
  for (const float time : {-1.0f, 0.0f, 0.5f, 83.0f, 1e9f}) root->Update(time, sm::Mat4(), 0.02f);
  root->FindNode(meshes[1].id);
  return 0;
}
