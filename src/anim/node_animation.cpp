#include "anim/node_animation.h"

#include <cmath>
#include <cstring>

#include "base/log.h"

namespace {

// The file's spin rate unit: a key angle divided by this is the rate in radians per
// unit of (elapsed seconds * 8).
constexpr float kSpinRateDivisor = 25.132f;
constexpr float kSpinSpeedUp = 8.0f;
// Cameras look along -z; a camera node's frame looks along its -y, so the view gets a
// quarter turn about x.
constexpr float kCameraTilt = 1.5707963f;

std::unique_ptr<TCBInterpolator<sm::Vec3>> MakeVectorTrack(const animation_file::VectorBlock& block,
                                                           sm::Vec3& constant) {
  if (!block.keyed) {
    constant = sm::Vec3(block.x, block.y, block.z);
    return nullptr;
  }
  auto track = std::make_unique<TCBInterpolator<sm::Vec3>>();
  for (const animation_file::VectorKey& key : block.keys) {
    track->SetKey(key.time, sm::Vec3(key.x, key.y, key.z), false);
  }
  return track;
}

// Builds the rotation of a node. The files are authored with z up: keyed rotations
// swap to the program's y-up axes, (x, y, z) -> (x, z, -y), and every key is relative
// to the one before it, so the stored keys accumulate them. Constant rotations are
// taken on their own axes. Angles are negated (the files' sense of rotation is the opposite of the program's).
void MakeRotation(const animation_file::RotationBlock& block, Animation& node) {
  if (!block.keyed) {
    sm::Vec3 axis(block.axisX, block.axisY, block.axisZ);
    sm::Normalize(axis);
    sm::FromAxisAngle(node.rotation, axis, -block.angle);
    return;
  }
  node.rotationTrack = std::make_unique<TCBInterpolator<sm::Quat>>();
  sm::Quat accumulated;
  for (std::size_t i = 0; i < block.keys.size(); ++i) {
    const animation_file::RotationKey& key = block.keys[i];
    sm::Vec3 axis(key.axisX, key.axisZ, -key.axisY);
    sm::Normalize(axis);
    sm::Quat relative;
    sm::FromAxisAngle(relative, axis, -key.angle);
    if (i == 0) {
      accumulated = relative;
    } else {
      sm::Quat product;
      sm::Multiply(product, accumulated, relative);  // the earlier keys first, then this one
      accumulated = product;
    }
    sm::Normalize(accumulated);
    node.rotationTrack->SetKey(key.time, accumulated, false);
    if (std::fabs(key.angle) > Animation::kSpinThreshold) {
      node.spin = true;
      node.spinRate = std::fabs(key.angle) / kSpinRateDivisor;
    }
  }
}

std::unique_ptr<Animation> MakeNode(const animation_file::NodeData& data) {
  auto node = std::make_unique<Animation>();
  node->id = data.id;
  node->local = data.local;
  node->positionTrack = MakeVectorTrack(data.position, node->position);
  MakeRotation(data.rotation, *node);
  node->scaleTrack = MakeVectorTrack(data.scale, node->scale);
  for (const animation_file::NodeData& child : data.children) node->children.push_back(MakeNode(child));
  return node;
}

sm::Mat4 ScaleMatrix(const sm::Vec3& s) {
  sm::Mat4 m;
  m.a[0] = s.x;
  m.a[5] = s.y;
  m.a[10] = s.z;
  return m;
}

// X · Y: the matrix that applies Y first, then X.
sm::Mat4 Then(const sm::Mat4& x, const sm::Mat4& y) { return sm::Product(y, x); }

void Store(float* target, const sm::Mat4& m) { std::memcpy(target, m.a, sizeof m.a); }

}  // namespace

std::unique_ptr<Animation> Animation::FromData(const animation_file::AnimationData& data) {
  auto root = std::make_unique<Animation>();
  for (const animation_file::NodeData& node : data.nodes) root->children.push_back(MakeNode(node));
  return root;
}

void Animation::Update(float time, const sm::Mat4& parent, float elapsed) {
  // Empty tracks leave the outputs alone, so they start at the constants.
  sm::Vec3 p = position;
  if (positionTrack) positionTrack->Evaluate(time, p);
  sm::Quat q = rotation;
  if (rotationTrack) rotationTrack->Evaluate(time, q);
  sm::Vec3 s = scale;
  if (scaleTrack) scaleTrack->Evaluate(time, s);

  sm::Normalize(q);
  // Rounding can leave |w| a hair above 1, where acos has no value.
  if (q.w > 1.0f) q.w = 1.0f;
  if (q.w < -1.0f) q.w = -1.0f;
  float angle = 0.0f;
  sm::ToAxisAngle(q, axis_, angle);

  const sm::Mat4 translation = sm::Translation(p.x, p.y, p.z);
  const sm::Mat4 turn = sm::RotationMatrix(angle, axis_.x, axis_.y, axis_.z);

  if (attached != nullptr && attached->IsCamera()) {
    // A camera's view is the inverse of its node's frame; its children are not updated.
    const sm::Mat4 frame = Then(parent, Then(translation, turn));
    const sm::Mat4 view = Then(sm::RotationMatrix(kCameraTilt, 1, 0, 0), sm::Inverted(frame));
    Store(attached->GetTransform(), view);
    return;
  }

  // The rotation is applied before the scale: P · T · S · R.
  const sm::Mat4 placed = Then(parent, Then(translation, ScaleMatrix(s)));
  const sm::Mat4 childParent = Then(placed, turn);
  if (attached != nullptr) {
    sm::Mat4 own = childParent;
    if (spin) {
      own = placed;
      if (time > kSpinStart) {
        own = Then(placed, sm::RotationMatrix(spinAngle, axis_.x, axis_.y, axis_.z));
      }
    }
    Store(attached->GetBaseTransform(), own);
    Store(attached->GetTransform(), Then(own, local));
  }
  if (spin && time > kSpinStart) spinAngle += spinRate * (elapsed * kSpinSpeedUp);
  for (const auto& child : children) child->Update(time, childParent, elapsed);
}

void Animation::SaveMotion(std::vector<Motion>& out) const {
  out.push_back(Motion{spinAngle, axis_});
  for (const auto& child : children) child->SaveMotion(out);
}

void Animation::RestoreMotion(const std::vector<Motion>& in, std::size_t& next) {
  if (next >= in.size()) return;
  spinAngle = in[next].spinAngle;
  axis_ = in[next].axis;
  ++next;
  for (const auto& child : children) child->RestoreMotion(in, next);
}

void Animation::AttachCamera(ITransformable* camera) {
  for (const auto& child : children) child->AttachCamera(camera);
  if (camera != nullptr && id != 0 && camera->GetId() == id) attached = camera;
}

Animation* Animation::FindNode(int nodeId) {
  if (id == nodeId) return this;
  for (const auto& child : children) {
    if (Animation* found = child->FindNode(nodeId)) return found;
  }
  return nullptr;
}

std::unique_ptr<Animation> AnimationLoader::LoadAnimation(const std::string& path, std::string& error) {
  animation_file::AnimationData data;
  if (!animation_file::ReadFile(path, data, error)) return nullptr;
  return Animation::FromData(data);
}

IDisposable* AnimationLoader::Load(const char* path, sm::IServiceProvider*) {
  std::string error;
  std::unique_ptr<Animation> animation = LoadAnimation(path, error);
  if (!animation) WriteLog("error: %s", error.c_str());
  return animation.release();
}
