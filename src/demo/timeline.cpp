#include "demo/timeline.h"

#include "anim/keyed_value.h"
#include "anim/node_animation.h"
#include "anim/property_script.h"
#include "demo/camera_schedule.h"
#include "demo/gl_state.h"
#include "demo/manual_camera.h"
#include "demo/timeline_clock.h"
#include "render/scene_interface.h"

namespace {
const sm::Mat4 kIdentity;
}  // namespace

void DemoTimeline::Start(int width, int height, const sm::Mat4& projection, ICamera* camera) {
  width_ = width > 0 ? width : 1;
  height_ = height > 0 ? height : 1;
  projection_ = projection;
  currentCamera_ = camera;
}

void DemoTimeline::Wire(const TimelineParts& parts) {
  parts_ = parts;
  currentScene_ = parts.assembling;
  musicEnded_ = parts.clock == nullptr;
}

float DemoTimeline::Aspect() const { return static_cast<float>(width_) / static_cast<float>(height_); }

void DemoTimeline::Update(float timeMs, float dtMs) {
  if (!musicStarted_) {
    musicStarted_ = true;
    if (parts_.clock != nullptr) parts_.clock->Start(timeMs / 1000.0f);
  }

  float time = timeMs;
  if (!musicEnded_ && parts_.clock != nullptr) {
    time = static_cast<float>(parts_.clock->Seconds()) * 1000.0f;
    // This frame still shows the music's time; the next ones the frame clock's.
    if (time / 1000.0f >= kMusicEnd) {
      parts_.clock->Release();
      musicEnded_ = true;
    }
  }

  const float t = time / 1000.0f;
  const float dt = dtMs / 1000.0f;
  if (parts_.doors != nullptr) parts_.doors->Update(t, kIdentity, dt);
  timeMs_ = time;

  flash_ -= flashFadePerSecond_ * dt;
  if (flash_ < 0.0f) flash_ = 0.0f;
  if (parts_.signal != nullptr) {
    const int signal = parts_.signal->track.IntAt(t, parts_.signal->lastValue);
    if (signal != parts_.signal->lastValue) {
      parts_.signal->lastValue = signal;
      flash_ = 1.0f;
    }
  }

  if (parts_.boardIndex != nullptr) boardIndex_ = parts_.boardIndex->IntAt(t, 0);
  if (parts_.boardOpacity != nullptr) boardOpacity_ = parts_.boardOpacity->FloatAt(t, 0.0f);

  ChooseScene(t);
  if (parts_.cameras != nullptr) parts_.cameras->Update(t, kIdentity, dt);
  if (currentScene_ != nullptr) currentScene_->Update(t, dt);

  if (parts_.schedule != nullptr) {
    if (ICamera* scheduled = parts_.schedule->Current(t)) currentCamera_ = scheduled;
  }
  TakeView(t, dtMs);
}

void DemoTimeline::RefreshView(float dtMs) { TakeView(timeMs_ / 1000.0f, dtMs); }

void DemoTimeline::TakeView(float t, float dtMs) {
  if (heldCamera_ != nullptr) currentCamera_ = heldCamera_;
  if (currentCamera_ == nullptr) return;
  currentCamera_->ViewMatrix(view_);

  const float fieldOfView =
      static_cast<float>(static_cast<double>(currentCamera_->FieldOfView(t)) * 180.0 / 3.1415927410125732);
  if (fieldOfView != fieldOfView_) {
    fieldOfView_ = fieldOfView;
    sm::Perspective(projection_, fieldOfView_, Aspect(), kNearPlane, kFarPlane);
  }

  // The manual camera moves after the view is taken: this frame shows where it was.
  if (auto* manual = dynamic_cast<ManCam*>(currentCamera_)) manual->Update(dtMs);

  UpdateFrustum(frustum_, view_, kNearPlane, kCullingFarPlane, fieldOfView_, Aspect());
  if (parts_.global != nullptr && parts_.slots != nullptr) CullDrawLists(*parts_.global, *parts_.slots, frustum_);
}

DemoTimeline::State DemoTimeline::SaveState() const {
  return State{timeMs_, flash_,       boardIndex_, boardOpacity_, currentScene_, currentCamera_,
               view_,   projection_, fieldOfView_, frustum_,     musicStarted_, musicEnded_};
}

void DemoTimeline::RestoreState(const State& state) {
  timeMs_ = state.timeMs;
  flash_ = state.flash;
  boardIndex_ = state.boardIndex;
  boardOpacity_ = state.boardOpacity;
  currentScene_ = state.currentScene;
  currentCamera_ = state.currentCamera;
  view_ = state.view;
  projection_ = state.projection;
  fieldOfView_ = state.fieldOfView;
  frustum_ = state.frustum;
  musicStarted_ = state.musicStarted;
  musicEnded_ = state.musicEnded;
}

void DemoTimeline::ChooseScene(float t) {
  IScene* a = parts_.assembling;
  IScene* b = parts_.breakingWall;
  if (a != nullptr && a->IsActiveAt(t) && currentScene_ != a) {
    if (b != nullptr) b->SetActive(false);
    a->SetActive(true);
    currentScene_ = a;
  } else if (b != nullptr && b->IsActiveAt(t) && currentScene_ != b) {
    if (a != nullptr) a->SetActive(false);
    b->SetActive(true);
    currentScene_ = b;
  }
}
