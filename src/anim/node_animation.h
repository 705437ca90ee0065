#pragma once
// Node animations: trees of nodes, each with a fixed local matrix and a position,
// rotation and scale that are constants or keyed tracks. Meshes and animated cameras
// attach to nodes by id; every frame the tree is updated at the current time and
// writes the resulting matrices into the attached objects.
//
// One class serves for the whole tree and for each node of it; the loader returns a
// root (id 0, identity, default constants) whose children are the file's nodes.
#include <memory>
#include <string>
#include <vector>

#include "anim/animation_file.h"
#include "anim/interpolators.h"
#include "anim/math.h"
#include "base/interfaces.h"

class Animation : public IDisposable {
 public:
  // The spin of a spinning node starts after this time (seconds) ...
  static constexpr float kSpinStart = 82.5f;
  // ... and a rotation key turning more than this many radians marks a spinning node.
  static constexpr float kSpinThreshold = 7.0f;

  Animation() = default;
  Animation(const Animation&) = delete;
  Animation& operator=(const Animation&) = delete;
  // Destroys the tracks and the children; the attached object is left alone.
  ~Animation() override = default;

  // A root whose children are the file's top-level nodes, with the file's rotations
  // turned into the program's axes (see the .cpp).
  static std::unique_ptr<Animation> FromData(const animation_file::AnimationData& data);

  // Evaluates the tree at time (seconds) below parent and writes the matrices of the
  // attached objects; elapsed (seconds since the last frame) turns spinning nodes.
  void Update(float time, const sm::Mat4& parent, float elapsed);

  // Every node below and including this one with a non-zero id attaches the first
  // object of meshes with the same id; children before their parent, and a node
  // without a match keeps what it had. meshes is any list of pointers (raw or owning)
  // to ITransformable objects, e.g. a model's meshes.
  template <typename Range>
  void AttachMeshes(const Range& meshes);
  // Every node below and including this one whose id is non-zero and equals the
  // camera's id attaches the camera.
  void AttachCamera(ITransformable* camera);
  // This node if its id matches, else the first match among the children, depth-first
  // in order; null when none.
  Animation* FindNode(int nodeId);

  // What updating the tree accumulates from frame to frame (a spinning node's angle,
  // the last rotation axis), for every node in depth-first order: a player that
  // rewinds the timeline puts it back as it was at a saved moment.
  struct Motion {
    float spinAngle = 0.0f;
    sm::Vec3 axis;
  };
  void SaveMotion(std::vector<Motion>& out) const;
  // Takes the nodes' motion from `in` starting at `next`, advancing it; a list that
  // ends early leaves the remaining nodes as they are.
  void RestoreMotion(const std::vector<Motion>& in, std::size_t& next);

  int id = 0;
  sm::Mat4 local;
  sm::Vec3 position{0, 0, 0};
  sm::Quat rotation;
  sm::Vec3 scale{1, 1, 1};
  // Null when the constant is used.
  std::unique_ptr<TCBInterpolator<sm::Vec3>> positionTrack;
  std::unique_ptr<TCBInterpolator<sm::Quat>> rotationTrack;
  std::unique_ptr<TCBInterpolator<sm::Vec3>> scaleTrack;
  std::vector<std::unique_ptr<Animation>> children;
  ITransformable* attached = nullptr;  // not owned
  bool spin = false;
  float spinAngle = 0;  // radians
  float spinRate = 0;

 private:
  // The axis of the node's current rotation. A rotation of exactly zero has no axis,
  // so the last one seen is kept (the vertical axis before any): a spinning node then
  // keeps turning about a defined axis.
  sm::Vec3 axis_{0, 1, 0};
};

class AnimationLoader : public IAssetLoader {
 public:
  // Null when the file cannot be read or is truncated or inconsistent; the reason
  // goes to the log.
  IDisposable* Load(const char* path, sm::IServiceProvider* provider) override;
  // The same with the reason handed back (it names the file).
  static std::unique_ptr<Animation> LoadAnimation(const std::string& path, std::string& error);
};

template <typename Range>
void Animation::AttachMeshes(const Range& meshes) {
  for (const auto& child : children) child->AttachMeshes(meshes);
  if (id == 0) return;
  for (const auto& mesh : meshes) {
    ITransformable& object = *mesh;
    if (object.GetId() == id) {
      attached = &object;
      return;
    }
  }
}
