#include "scenes/robot.h"

#include <cmath>

#include "base/log.h"
#include "assets/model.h"
#include "assets/robot_pose_file.h"
#include "scenes/frames.h"
#include "scenes/lookups.h"
#include "scenes/scene_world.h"

namespace Robot {

namespace {

// The half-turn about z that only the left elbow's model needs.
const sm::Mat4 kLeftElbowTurn = sm::RotationMatrix(3.1415f, 0, 0, 1);

// The horizontal direction from joint `from` to joint `to`, normalised.
sm::Vec3 Horizontal(const Frame& frame, int from, int to) {
  const sm::Vec3& a = frame.joints[from];
  const sm::Vec3& b = frame.joints[to];
  return sm::Normalized(sm::Vec3(b.x - a.x, 0.0f, b.z - a.z));
}

// Moves joints first..first+3 together so that joint `first` lands on target.
void MoveLeg(Frame& frame, int first, const sm::Vec3& target) {
  const sm::Vec3 shift = Minus(target, frame.joints[first]);
  for (int j = first; j < first + 4; ++j) frame.joints[j] = Plus(frame.joints[j], shift);
}

std::string InFolder(const std::string& folder, const char* relative) {
  if (folder.empty() || folder.back() == '/') return folder + relative;
  return folder + "/" + relative;
}

void PlaceModel(Model* model, const sm::Mat4& placement, const sm::Mat4& local) {
  if (model == nullptr) return;
  const sm::Mat4 world = sm::Product(local, placement);
  for (const auto& mesh : model->meshes) mesh->transform = world;
}

}  // namespace

void AdjustFrame(Frame& frame) {
  const sm::Vec3 hips = frame.joints[3];
  for (sm::Vec3& joint : frame.joints) joint = Minus(joint, hips);
  const sm::Vec3 hipOffset(0.0f, 40.0f, 30.0f);
  MoveLeg(frame, 16, Plus(Scaled(Horizontal(frame, 1, 8), 20.0f), hipOffset));
  MoveLeg(frame, 12, Plus(Scaled(Horizontal(frame, 1, 4), 40.0f), hipOffset));
}

float LoopTime(float time, float length) { return length != 0.0f ? std::fmod(time, length) : 0.0f; }

Character::Character() = default;
Character::~Character() = default;

bool Character::Setup(ISceneWorld& world, const std::string& dataFolder) {
  for (Model*& part : parts_) part = nullptr;
  models_.clear();
  for (const PartName& part : kPartNames) {
    Model* model = RequireModel(world, part.model, "robot");
    if (model == nullptr) return false;
    parts_[part.joint] = model;
    models_.push_back(model);
  }

  const std::string restPath = InFolder(dataFolder, kRestFrameFile);
  auto rest = std::make_unique<Frame>();
  std::string error;
  if (!robot_pose_file::ReadRestFrame(restPath, *rest, error)) {
    WriteLog("error: the robot's rest frame '%s' can't be read: %s", restPath.c_str(), error.c_str());
    return false;
  }
  AdjustFrame(*rest);
  rest_ = std::move(rest);
  current_ = rest_.get();

  for (const AnimationFile& file : kAnimationFiles) {
    if (!ReadPoseTrack(file.index, InFolder(dataFolder, file.file))) return false;
  }
  return true;
}

bool Character::ReadPoseTrack(int index, const std::string& path) {
  std::vector<robot_pose_file::PoseKey> keys;
  std::string error;
  if (!robot_pose_file::ReadAnimation(path, keys, error)) {
    WriteLog("error: the robot animation '%s' can't be read: %s", path.c_str(), error.c_str());
    return false;
  }
  auto track = std::make_unique<StateInterpolator<Frame*>>();
  track->Reserve(keys.size());
  frames_.reserve(frames_.size() + keys.size());
  for (const robot_pose_file::PoseKey& key : keys) {
    frames_.push_back(std::make_unique<Frame>(key.frame));
    AdjustFrame(*frames_.back());
    // A repeated time keeps the later frame (the track replaces the key's value).
    track->SetKey(key.time, frames_.back().get(), false);
  }
  animations_[index] = std::move(track);
  return true;
}

const StateInterpolator<Frame*>* Character::PoseTrack(int index) const {
  if (index < 0 || index >= kAnimationCount) return nullptr;
  return animations_[index].get();
}

float Character::LastKeyTime(int animation) const {
  const StateInterpolator<Frame*>* track = PoseTrack(animation);
  if (track == nullptr || track->KeyCount() == 0) return 0.0f;
  return track->Keys().back().time;
}

void Character::Pose(float time) {
  if (const StateInterpolator<Frame*>* track = PoseTrack(animationIndex)) {
    Frame* chosen = nullptr;
    track->Evaluate(time, chosen);
    if (chosen != nullptr) current_ = chosen;
  }
  if (current_ == nullptr) return;
  const sm::Vec3* j = current_->joints;
  const sm::Vec3 u = Scaled(Horizontal(*current_, 1, 8), -1.0f);

  PlaceModel(parts_[0], placement, RiseFrame(u, j[1], j[0]));
  PlaceModel(parts_[4], placement, LookAt(j[5], j[4]));
  PlaceModel(parts_[8], placement, LookAt(j[9], j[8]));
  PlaceModel(parts_[5], placement, sm::Product(kLeftElbowTurn, LookAt(j[6], j[5])));
  PlaceModel(parts_[9], placement, LookAt(j[10], j[9]));
  PlaceModel(parts_[17], placement, AimFrame(j[16], j[17], u));
  PlaceModel(parts_[13], placement, AimFrame(j[12], j[13], u));
  PlaceModel(parts_[18], placement, AimFrame(j[17], j[18], u));
  PlaceModel(parts_[14], placement, AimFrame(j[13], j[14], u));
  PlaceModel(parts_[19], placement, LookAt(j[19], j[18]));
  PlaceModel(parts_[15], placement, LookAt(j[15], j[14]));
  PlaceModel(parts_[1], placement, RiseFrame(u, j[3], j[1]));
}

}  // namespace Robot
