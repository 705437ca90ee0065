#include "scenes/robot_path.h"

#include "anim/node_animation.h"
#include "assets/model.h"
#include "scenes/lookups.h"

namespace {
const char* const kPathName = "robot_path";
}

const sm::Mat4& PathTurn() {
  static const sm::Mat4 turn =
      sm::Product(sm::RotationMatrix(0.785375f, 0, -1, 0), sm::RotationMatrix(0.3926875f, 0, 0, 1));
  return turn;
}

bool RobotPath::Setup(ISceneWorld& world, const char* user) {
  Model* model = RequireModel(world, kPathName, user);
  if (model == nullptr) return false;
  animation_ = RequireAnimation(world, kPathName, user);
  if (animation_ == nullptr) return false;
  carrier_ = RequireMeshAt(*model, kPathName, 0, false, user);
  if (carrier_ == nullptr) return false;
  animation_->AttachMeshes(model->meshes);
  return true;
}

const sm::Mat4& RobotPath::Evaluate(float time, float step) {
  static const sm::Mat4 identity;
  animation_->Update(time, identity, step);
  return carrier_->baseTransform;
}
