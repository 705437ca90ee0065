#include "scenes/breaking_wall_scene.h"

#include <algorithm>

#include "anim/keyed_value.h"
#include "anim/node_animation.h"
#include "anim/random.h"
#include "anim/show_times.h"
#include "assets/model.h"
#include "platform/gl.h"
#include "scenes/assembling_scene.h"
#include "scenes/contact_shadow.h"
#include "scenes/frames.h"
#include "scenes/lookups.h"
#include "scenes/overlay.h"
#include "scenes/robot.h"
#include "scenes/scene_world.h"

namespace {

const char* const kUser = "breaking-wall scene";
const char* const kWallPathName = "robot_breaking_wall_path";
// A greeting's letters are solid in its picture; its backing (0.85) and brackets are not.
constexpr float kGreetingSolidAlpha = 0.9f;

// Timeline times (seconds).
constexpr float kStandStart = show::AsFloat(show::kRobotStands);  // the robot stops before the wall
constexpr float kBreakStart = show::AsFloat(show::kWallCharge);   // breaking-wall animation time 0
constexpr float kShardsStart = show::AsFloat(show::kWallImpact);  // the shards fly
constexpr float kRunOn = show::AsFloat(show::kRunAgain);          // running again beyond the wall
constexpr float kRunSpeed = 2.0f;

constexpr float kShardSpeedScale = 40.0f;   // world units per velocity unit and second
constexpr float kShardGravity = -9.8f;
constexpr float kShardGravityScale = 5.0f;
constexpr float kLightLag = 2.0f;           // the follow light trails the path by this

// The light fixed over the wall while the robot stands and breaks through, by column.
const sm::Mat4 kWallLightView = {{-0.2334f, 0.4339f, -0.8702f, 0.0f, 0.0f, 0.8949f, 0.4462f, 0.0f, 0.9724f,
                                  0.1042f, -0.2089f, 0.0f, 20067.2148f, -4058.9717f, 6086.0693f, 1.0f}};

float Draw() { return static_cast<float>(Rand()) / 32767.0f; }

BreakingWallScene::Shard MakeShard(Mesh* mesh) {
  float r[8];
  for (float& value : r) value = Draw();  // the order of the draws is part of the result
  BreakingWallScene::Shard shard;
  shard.mesh = mesh;
  shard.offset = sm::Vec3(0.0f, 0.0f, 0.0f);
  shard.velocity = Scaled(sm::Normalized(sm::Vec3(3.0f * r[0] + 1.0f, r[1] - 0.5f, r[2] - 0.5f)), 50.0f * r[3] + 30.0f);
  shard.spinAxis = sm::Normalized(sm::Vec3(2.0f * r[4] - 1.0f, 2.0f * r[5] - 1.0f, 2.0f * r[6] - 1.0f));
  shard.angle = 0.0f;
  shard.spinSpeed = 3.0f * r[7] + 1.0f;
  return shard;
}

}  // namespace

const sm::Mat4& BreakingWallScene::WallTurn() {
  static const sm::Mat4 turn = sm::Product(PathTurn(), sm::RotationMatrix(3.1415f, 0, 1, 0));
  return turn;
}

BreakingWallScene::BreakingWallScene(ISceneWorld& world) : world_(world) {}
BreakingWallScene::~BreakingWallScene() = default;

bool BreakingWallScene::Setup() {
  // Everything is looked up before the generator is drawn from.
  Model* wallPathModel = RequireModel(world_, kWallPathName, kUser);
  if (wallPathModel == nullptr) return false;
  Animation* wallPathAnimation = RequireAnimation(world_, kWallPathName, kUser);
  if (wallPathAnimation == nullptr) return false;
  if (!path_.Setup(world_, kUser)) return false;
  robot_ = &world_.GetRobot();
  if (!(greetingsWall_ = RequireModel(world_, "glass_wall_greetz", kUser))) return false;
  if (!(brokenWall_ = RequireModel(world_, "glass_wall_broken", kUser))) return false;
  greetingsSurface_ = RequireMeshAt(*greetingsWall_, "glass_wall_greetz", 0, true, kUser);
  if (greetingsSurface_ == nullptr) return false;
  for (int i = 0; i < kGreetingCount; ++i) {
    greetingTextures_[i] = RequireTexture(world_, NumberedName("greetz", i), kUser);
    if (greetingTextures_[i] == nullptr) return false;
  }
  wallPathAnimation->AttachMeshes(wallPathModel->meshes);

  shards_.clear();
  shards_.reserve(brokenWall_->meshes.size());
  for (const auto& mesh : brokenWall_->meshes) shards_.push_back(MakeShard(mesh.get()));
  models_.clear();
  models_.push_back(brokenWall_);

  greetingsSignal_ = std::make_unique<KeyedValue>("change_greetz_signal", KeyedValue::kInt, KeyedValue::kStep);
  for (int i = 0; i < show::kGreetingsKeyCount; ++i) {
    greetingsSignal_->SetInt(show::kGreetingsKeyTimes[i], i % 2 == 0 ? 1 : 0);
  }
  lastGreetingsValue_ = 0;
  ready_ = true;
  return true;
}

void BreakingWallScene::Update(float time, float step) {
  sceneTime_ = time;
  if (!ready_) return;
  const sm::Mat4& path = path_.Evaluate(time, step);
  robotPosition_ = Origin(path);
  UpdateRobot(time, path);
  UpdateGreetings(time, step);
  if (time >= kShardsStart) StepShards(step);
}

void BreakingWallScene::UpdateRobot(float t, const sm::Mat4& path) {
  Robot::Character& robot = *robot_;
  robot.placement = sm::Product(WallTurn(), path);
  robot.animationIndex = Robot::kRun;
  const float runLength = robot.LastKeyTime(Robot::kRun);
  // Running, then standing in the run's first frame before the wall.
  robot.Pose(t < kStandStart ? Robot::LoopTime(kRunSpeed * t, runLength) : 0.0f);
  if (t >= kRunOn) {
    robot.animationIndex = Robot::kRun;
    robot.Pose(Robot::LoopTime(kRunSpeed * t, runLength));
  } else if (t >= kBreakStart) {
    robot.placement = sm::Product(WallTurn(), path);
    robot.animationIndex = Robot::kBreakingWall;
    robot.Pose(t - kBreakStart);
  }
}

void BreakingWallScene::UpdateGreetings(float t, float dt) {
  const int value = greetingsSignal_->IntAt(t - show::kGreetingsStart, lastGreetingsValue_);
  if (value != lastGreetingsValue_) {
    lastGreetingsValue_ = value;
    greetingIndex_ = greetingIndex_ + 1 >= kGreetingCount ? 0 : greetingIndex_ + 1;
    greetingAlpha_ = 1.0f;
  } else {
    greetingAlpha_ = std::max(0.0f, greetingAlpha_ - dt * greetingFadePerSecond_);
  }
}

void BreakingWallScene::StepShards(float dt) {
  for (Shard& shard : shards_) {
    shard.spinSpeed = std::max(0.0f, shard.spinSpeed - dt);
    shard.angle += shard.spinSpeed * dt;
    shard.offset = Plus(shard.offset, Scaled(shard.velocity, dt * kShardSpeedScale));
    shard.velocity.y += (kShardGravity * dt) * kShardGravityScale;

    Mesh& mesh = *shard.mesh;
    const sm::Mat4 turned = sm::Product(mesh.pivot, sm::RotationMatrix(shard.angle, shard.spinAxis.x,
                                                                       shard.spinAxis.y, shard.spinAxis.z));
    const sm::Mat4 moved = sm::Product(turned, sm::Translation(shard.offset.x, shard.offset.y, shard.offset.z));
    mesh.transform = sm::Product(moved, mesh.inversePivot);
    // The shard's centre where it is drawn now.
    const sm::Vec3 p = sm::Transformed(mesh.transform, sm::Transformed(mesh.inversePivot, sm::Vec3(0, 0, 0)));

    if (p.z < kSideWallLow || p.z > kSideWallHigh) {
      shard.offset.z -= p.z < kSideWallLow ? p.z - kSideWallLow : p.z - kSideWallHigh;
      shard.velocity.z = -shard.velocity.z;
      shard.spinSpeed *= 0.5f;
    }
    if (p.y < 0.0f) {
      shard.offset.y -= p.y;
      if (shard.velocity.y < 0.0f) shard.velocity.y = -shard.velocity.y;
      shard.velocity = Scaled(shard.velocity, 0.5f);
      shard.spinSpeed *= 0.5f;
    }
  }
}

void BreakingWallScene::SaveState(State& out) const {
  out.lastGreetingsValue = lastGreetingsValue_;
  out.greetingIndex = greetingIndex_;
  out.greetingAlpha = greetingAlpha_;
  out.shards = shards_;
  out.sceneTime = sceneTime_;
  out.robotPosition = robotPosition_;
}

void BreakingWallScene::RestoreState(const State& state) {
  lastGreetingsValue_ = state.lastGreetingsValue;
  greetingIndex_ = state.greetingIndex;
  greetingAlpha_ = state.greetingAlpha;
  // A state saved from another wall (a different set-up) has other shards.
  if (state.shards.size() == shards_.size()) shards_ = state.shards;
  sceneTime_ = state.sceneTime;
  robotPosition_ = state.robotPosition;
}

void BreakingWallScene::DrawOpaque(float, float) {
  if (!ready_) return;
  if (robot_->CurrentFrame() != nullptr) {
    contact_shadow::Blob blobs[contact_shadow::kBlobCount];
    contact_shadow::BlobsFor(*robot_->CurrentFrame(), robot_->placement, blobs);
    contact_shadow::Draw(blobs, world_.CameraProjection(), world_.CameraView());
  }
  DrawGreeting();
}

void BreakingWallScene::DrawGreeting() {
  // A faded-out greeting is not drawn at all: its surface writes depth even where its
  // picture is clear, which would keep a sharp, pane-shaped patch in the depth of field
  // once the glass has broken.
  if (!ready_ || greetingIndex_ == -1 || greetingAlpha_ <= 0.0f) return;
  OverlayDraw overlay;
  overlay.texture = greetingTextures_[greetingIndex_];
  overlay.alpha = greetingAlpha_;
  // Depth only under the letters: the hall seen through the dark backing around them
  // stays as soft as the rest of the hall, instead of a sharp, striped patch.
  overlay.depthFromAlpha = kGreetingSolidAlpha;
  const SubMesh* surface = greetingsSurface_->subMeshes[0].get();
  DrawOverlay(overlay, world_.CameraProjection(), world_.CameraView(), &surface, 1);
}

void BreakingWallScene::DrawGlow(float, float) { DrawGreeting(); }

void BreakingWallScene::DrawTranslucent(float, float) {
  // The glass is drawn blended and writes no depth, so once it breaks the depth of field
  // would blur each flying shard as much as whatever lies far behind it: the shards
  // still in the frame would read as a frosted pane standing whole. Their depth, laid
  // down after them without colour, lets the blur see each shard where it flies. The
  // intact pane keeps writing none, so the hall beyond it stays soft behind the names.
  if (!ready_ || sceneTime_ < kShardsStart) return;
  glPushAttrib(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_ENABLE_BIT | GL_TRANSFORM_BIT);
  glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glDepthMask(GL_TRUE);
  glDisable(GL_BLEND);
  glMatrixMode(GL_PROJECTION);
  glLoadMatrixf(world_.CameraProjection().a);
  glMatrixMode(GL_MODELVIEW);
  for (const Shard& shard : shards_) {
    const sm::Mat4 modelView = sm::Product(shard.mesh->transform, world_.CameraView());
    glLoadMatrixf(modelView.a);
    for (const auto& subMesh : shard.mesh->subMeshes) subMesh->Draw();
  }
  glPopAttrib();
}

void BreakingWallScene::SetActive(bool active) {
  if (active) {
    world_.SetSlotEnabled(kSlotPassage, true);
  } else {
    world_.SetSlotEnabled(kSlotPassage, false);
    world_.SetSlotEnabled(kSlotRobotParts, true);
  }
}

bool BreakingWallScene::IsActiveAt(float time) { return !AssemblingSceneClaims(time); }

std::vector<Model*>& BreakingWallScene::GetModels() { return models_; }

void BreakingWallScene::AdjustLight(sm::Mat4& lightView) {
  if (!ready_) return;
  if (sceneTime_ >= kStandStart && sceneTime_ < kRunOn) {
    lightView = kWallLightView;
    return;
  }
  // Follow the robot from above the point of the path it passed two seconds ago.
  sm::Vec3 eye = Origin(path_.Evaluate(sceneTime_ - kLightLag, 0.0f));
  eye.y += followLightHeight_;
  lightView = sm::Inverted(LookAt(robotPosition_, eye));
}
