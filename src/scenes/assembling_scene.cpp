#include "scenes/assembling_scene.h"

#include <algorithm>
#include <cmath>

#include "anim/keyed_value.h"
#include "assets/model.h"
#include "scenes/lookups.h"
#include "scenes/mechanical_arm.h"
#include "scenes/overlay.h"
#include "scenes/contact_shadow.h"
#include "scenes/robot.h"
#include "scenes/scene_world.h"

namespace {

const char* const kUser = "assembling scene";

// Timeline times (seconds).
constexpr float kReleaseTime = show::AsFloat(show::kRobotRelease);  // the robot parts replace the lying robot
constexpr float kRunStart = show::AsFloat(show::kRunStart);          // the robot follows the path
constexpr float kPassageOpen = show::AsFloat(show::kPassageOpen);    // the passage is shown ...
constexpr float kPassageClose = show::AsFloat(show::kPassageClose);  // ... until here
constexpr float kHandOver = kHandOverSeconds;
constexpr float kDanceClaim = kDanceClaimSeconds;
constexpr float kDanceLight = show::AsFloat(show::kDanceLight);  // the dance light and placement B from here
constexpr float kDanceStart = show::AsFloat(show::kDanceStart);  // dance animation time 0
constexpr float kReleaseSpeed = 2.5f;
constexpr float kRunSpeed = 2.0f;
constexpr float kRunPhaseOrigin = 105.0f;

const char* const kCreditNames[AssemblingScene::kCreditCount] = {"kestrel", "marlin", "osprey"};

const sm::Vec3 kFirstArmBase(780.924f, 217.917f, 1819.266f);
const sm::Vec3 kSecondArmBase(-780.924f, 217.917f, 1819.266f);

// The dance light, column by column.
const sm::Mat4 kDanceLightView = {{-0.8141f, 0.4034f, -0.4177f, 0.0f, 0.0f, 0.7193f, 0.6947f, 0.0f, 0.5807f,
                                   0.5655f, -0.5856f, 0.0f, -419.9149f, -684.4364f, -1276.4071f, 1.0f}};

// T(position) · R(3.1415 about y): turned half round, then placed.
sm::Mat4 Placement(float x, float y, float z) {
  return sm::Product(sm::RotationMatrix(3.1415f, 0, 1, 0), sm::Translation(x, y, z));
}

}  // namespace

bool AssemblingSceneClaims(float t) { return (t >= 0.0f && t <= kHandOver) || t >= kDanceClaim; }

AssemblingScene::AssemblingScene(ISceneWorld& world)
    : world_(world),
      firstArm_(std::make_unique<MechanicalArm>()),
      secondArm_(std::make_unique<MechanicalArm>()),
      placementA_(Placement(-6.859f, 380.929f, 1694.074f)),
      placementB_(Placement(6.289f, 365.769f, 158.514f)) {}

AssemblingScene::~AssemblingScene() = default;

bool AssemblingScene::Setup() {
  robot_ = &world_.GetRobot();
  if (!firstArm_->Setup(world_, "sparks", kFirstArmBase, "mech_arm_01_")) return false;
  if (!secondArm_->Setup(world_, "sparks2", kSecondArmBase, "mech_arm_02_")) return false;

  creditsModel_ = RequireModel(world_, "credits", kUser);
  if (creditsModel_ == nullptr) return false;
  for (int i = 0; i < kCreditCount; ++i) {
    creditTextures_[i] = RequireTexture(world_, kCreditNames[i], kUser);
    if (creditTextures_[i] == nullptr) return false;
  }
  creditsMesh_ = RequireMeshAt(*creditsModel_, "credits", 0, true, kUser);
  if (creditsMesh_ == nullptr) return false;
  creditsSignal_ = RequireValue(*creditsMesh_, "credits_signal", kUser);
  if (creditsSignal_ == nullptr) return false;
  lastCreditsValue_ = 0;

  screensModel_ = RequireModel(world_, "screens", kUser);
  if (screensModel_ == nullptr) return false;
  for (int i = 0; i < 2; ++i) {
    screenMeshes_[i] = RequireMeshAt(*screensModel_, "screens", i, true, kUser);
    if (screenMeshes_[i] == nullptr) return false;
  }
  for (int i = 0; i < kMonitorFrameCount; ++i) {
    monitorTextures_[i] = RequireTexture(world_, NumberedName("hud", i), kUser);
    if (monitorTextures_[i] == nullptr) return false;
  }
  if (!path_.Setup(world_, kUser)) return false;
  ready_ = true;
  return true;
}

void AssemblingScene::Update(float time, float step) {
  sceneTime_ = time;
  // The clock is kept within one loop of the 99 frames: the frame is the same as from
  // an ever-growing count, and it never loses precision on a long run.
  const float frames = static_cast<float>(kMonitorFrameCount);
  monitorClock_ = std::fmod(monitorClock_ + step * kMonitorFramesPerSecond, frames);
  if (monitorClock_ < 0.0f) monitorClock_ += frames;
  if (!(monitorClock_ >= 0.0f && monitorClock_ < frames)) monitorClock_ = 0.0f;
  monitorFrame_ = static_cast<int>(monitorClock_);

  if (!ready_) return;
  firstArm_->Update(time, step);
  secondArm_->Update(time, step);
  UpdateRobot(time);
  UpdateCredits(time, step);
}

void AssemblingScene::UpdateRobot(float t) {
  Robot::Character& robot = *robot_;
  if (t >= kDanceClaim) {
    robot.animationIndex = Robot::kDance;
    // Placed before posing, so the first dance frame is already at B.
    robot.placement = placementB_;
    robot.Pose(t - kDanceStart);
  }
  if (t < kReleaseTime) world_.SetSlotEnabled(kSlotRobotParts, false);
  if (!switched_ && t >= kReleaseTime) {
    switched_ = true;
    world_.SetSlotEnabled(kSlotLyingRobot, false);
    world_.SetSlotEnabled(kSlotRobotParts, true);
    robot.animationIndex = Robot::kReleasing;
  }
  if (t >= kReleaseTime && t < kDanceLight) {
    robot.placement = placementA_;
    robot.Pose(Robot::LoopTime((t - kReleaseTime) * kReleaseSpeed, robot.LastKeyTime(Robot::kReleasing)));
  }
  if (t >= kRunStart && t < kDanceLight) {
    const sm::Mat4& p = path_.Evaluate(t, 0.0f);
    robot.placement = sm::Product(PathTurn(), p);
    robot.animationIndex = Robot::kRun;
    robot.Pose(Robot::LoopTime((t - kRunPhaseOrigin) * kRunSpeed, robot.LastKeyTime(Robot::kRun)));
  }
  if (t >= kPassageOpen && t <= kPassageClose) world_.SetSlotEnabled(kSlotPassage, true);
}

void AssemblingScene::UpdateCredits(float t, float dt) {
  const int value = creditsSignal_->IntAt(t, lastCreditsValue_);
  if (value != lastCreditsValue_) {
    lastCreditsValue_ = value;
    creditIndex_ = creditIndex_ + 1 >= kCreditCount ? 0 : creditIndex_ + 1;
    creditAlpha_ = 1.0f;
  } else {
    creditAlpha_ = std::max(0.0f, creditAlpha_ - dt / creditFadeSeconds_);
  }
}

void AssemblingScene::SaveState(State& out) const {
  out.switched = switched_;
  out.lastCreditsValue = lastCreditsValue_;
  out.creditIndex = creditIndex_;
  out.creditAlpha = creditAlpha_;
  out.monitorFrame = monitorFrame_;
  out.monitorClock = monitorClock_;
  out.sceneTime = sceneTime_;
  out.firstSparks = firstArm_->Emitter();
  out.secondSparks = secondArm_->Emitter();
}

void AssemblingScene::RestoreState(const State& state) {
  switched_ = state.switched;
  lastCreditsValue_ = state.lastCreditsValue;
  creditIndex_ = state.creditIndex;
  creditAlpha_ = state.creditAlpha;
  monitorFrame_ = state.monitorFrame;
  monitorClock_ = state.monitorClock;
  sceneTime_ = state.sceneTime;
  firstArm_->Emitter() = state.firstSparks;
  secondArm_->Emitter() = state.secondSparks;
}

void AssemblingScene::DrawOpaque(float, float) {
  if (!ready_) return;
  if (switched_ && robot_->CurrentFrame() != nullptr) {
    contact_shadow::Blob blobs[contact_shadow::kBlobCount];
    contact_shadow::BlobsFor(*robot_->CurrentFrame(), robot_->placement, blobs);
    contact_shadow::Draw(blobs, world_.CameraProjection(), world_.CameraView());
  }
  DrawGlowSources();
}

void AssemblingScene::DrawGlow(float, float) {
  if (ready_) DrawGlowSources();
}

void AssemblingScene::DrawGlowSources() {
  DrawSparks(firstArm_->Emitter(), world_.CameraProjection(), world_.CameraView());
  DrawSparks(secondArm_->Emitter(), world_.CameraProjection(), world_.CameraView());
  if (creditIndex_ != -1) DrawCredits();
}


void AssemblingScene::DrawCredits() {
  OverlayDraw overlay;
  overlay.texture = creditTextures_[creditIndex_];
  overlay.alpha = creditAlpha_;
  const SubMesh* surface = creditsMesh_->subMeshes[0].get();
  DrawOverlay(overlay, world_.CameraProjection(), world_.CameraView(), &surface, 1);
}

void AssemblingScene::DrawTranslucent(float, float) {
  if (!ready_) return;
  OverlayDraw overlay;
  overlay.texture = monitorTextures_[monitorFrame_];
  overlay.alpha = 0.5f;
  overlay.depthTest = true;
  const SubMesh* faces[2] = {screenMeshes_[0]->subMeshes[0].get(), screenMeshes_[1]->subMeshes[0].get()};
  DrawOverlay(overlay, world_.CameraProjection(), world_.CameraView(), faces, 2);
}

void AssemblingScene::SetActive(bool active) {
  if (active) {
    world_.SetSlotEnabled(kSlotArms, true);
    world_.SetSlotEnabled(kSlotHall, true);
    world_.SetSlotEnabled(kSlotRobotParts, true);
  } else {
    world_.SetSlotEnabled(kSlotHall, false);
    world_.SetSlotEnabled(kSlotArms, false);
    world_.SetSlotEnabled(kSlotLyingRobot, false);
  }
}

bool AssemblingScene::IsActiveAt(float time) { return AssemblingSceneClaims(time); }

std::vector<Model*>& AssemblingScene::GetModels() { return models_; }

void AssemblingScene::AdjustLight(sm::Mat4& lightView) {
  if (sceneTime_ >= kDanceLight) lightView = kDanceLightView;
}
