#include "scenes/mechanical_arm.h"

#include <cmath>

#include "anim/keyed_value.h"
#include "anim/node_animation.h"
#include "assets/model.h"
#include "scenes/frames.h"
#include "scenes/lookups.h"

namespace {

const sm::Mat4 kIdentity;
// The torch tip in the end effector's own frame: where the sparks start.
const sm::Vec3 kTorchTip(0.0f, 100.0f, 0.0f);

void SetTransforms(Model& model, const sm::Mat4& transform) {
  for (const auto& mesh : model.meshes) mesh->transform = transform;
}

}  // namespace

ArmPose SolveArm(const sm::Vec3& base, const sm::Vec3& end) {
  const sm::Vec3 v = Minus(end, base);
  const float d = sm::Length(v);
  const float upper2 = kUpperArmLength * kUpperArmLength;
  const float fore2 = kForearmLength * kForearmLength;
  // An end at the base itself has no direction: reach forward (-z, the models' front).
  const sm::Vec3 n = d > 0.0f ? Scaled(v, 1.0f / d) : sm::Vec3(0.0f, 0.0f, -1.0f);
  // f: how far the elbow sits back from the end along n; g: how far it rises off the
  // line. Out of reach (or nearer than the lengths' difference) the triangle has no
  // solution (f² > 415²): the upper arm then points straight at the end, and the
  // forearm carries on from its tip, never the root of a negative number.
  ArmPose pose;
  const float f = d > 0.0f ? (fore2 - upper2 + d * d) / (2.0f * d) : 0.0f;
  const float g2 = fore2 - f * f;
  if (d > 0.0f && g2 >= 0.0f) {
    const sm::Vec3 h = sm::Normalized(sm::Cross(sm::Vec3(0.0f, 1.0f, 0.0f), n));
    const sm::Vec3 k = sm::Cross(n, h);  // the bend: upward for a horizontal reach
    pose.elbow = Plus(Plus(base, Scaled(n, d - f)), Scaled(k, std::sqrt(g2)));
  } else {
    pose.elbow = Plus(base, Scaled(n, kUpperArmLength));
  }
  pose.base = LookAt(sm::Vec3(end.x, base.y, end.z), base);
  pose.upper = LookAt(pose.elbow, base);
  pose.forearm = LookAt(end, pose.elbow);
  return pose;
}

bool MechanicalArm::Setup(ISceneWorld& world, const std::string& sparkName, const sm::Vec3& basePosition,
                          const std::string& prefix) {
  const char* user = "welding arm";
  basePosition_ = basePosition;
  const std::string endName = prefix + "end";
  if (!(baseModel_ = RequireModel(world, prefix + "base", user))) return false;
  if (!(upperModel_ = RequireModel(world, prefix + "joint1", user))) return false;
  if (!(forearmModel_ = RequireModel(world, prefix + "joint2", user))) return false;
  if (!(endModel_ = RequireModel(world, endName, user))) return false;
  if (!(endMesh_ = RequireMesh(*endModel_, endName, "arm_end", user))) return false;
  if (!(controlMesh_ = RequireMesh(*endModel_, endName, "_ctrl_props", user))) return false;
  if (!(sparkSignal_ = RequireValue(*controlMesh_, sparkName, user))) return false;
  // Looked up last: Update uses the animation being there as "set up".
  Animation* endAnimation = RequireAnimation(world, endName, user);
  if (endAnimation == nullptr) return false;

  models_ = {baseModel_, upperModel_, forearmModel_, endModel_};
  for (Model* model : models_) {
    for (const auto& mesh : model->meshes) {
      for (const auto& subMesh : mesh->subMeshes) subMesh->cullExempt = true;
    }
  }
  endAnimation->AttachMeshes(endModel_->meshes);
  endAnimation_ = endAnimation;
  return true;
}

void MechanicalArm::Update(float t, float dt) {
  if (endAnimation_ == nullptr) return;  // not set up
  endAnimation_->Update(t, kIdentity, dt);
  const sm::Vec3 end = Origin(endMesh_->baseTransform);
  const ArmPose pose = SolveArm(basePosition_, end);
  SetTransforms(*baseModel_, pose.base);
  SetTransforms(*upperModel_, pose.upper);
  SetTransforms(*forearmModel_, pose.forearm);
  emitter_.position = sm::Transformed(endMesh_->baseTransform, kTorchTip);
  emitter_.SetEmitting(sparkSignal_->IntAt(t, 0) == 1);
  emitter_.Update(dt);
}
