#include "demo/timeline_state.h"

#include <algorithm>

#include "anim/keyed_value.h"
#include "anim/property_script.h"
#include "anim/random.h"
#include "anim/show_times.h"
#include "assets/demo_content.h"
#include "assets/model.h"
#include "demo/demo_controller.h"

namespace {

// The transformables whose matrices the updates write, in a fixed order: every mesh
// of every loaded model (ascending by model name), then the scheduled cameras.
template <typename Visit>
void ForEachTransformable(CameraSchedule& schedule, Visit visit) {
  std::vector<Model*> models;
  if (DemoContent::Exists()) DemoContent::Instance()->GetAll(models);
  for (Model* model : models) {
    for (const auto& mesh : model->meshes) visit(static_cast<ITransformable&>(*mesh));
  }
  for (std::size_t i = 0; i < schedule.Size(); ++i) visit(static_cast<ITransformable&>(schedule.At(i)));
}

template <typename Visit>
void ForEachSubMesh(Visit visit) {
  std::vector<Model*> models;
  if (DemoContent::Exists()) DemoContent::Instance()->GetAll(models);
  for (Model* model : models) {
    for (const auto& mesh : model->meshes) {
      for (const auto& subMesh : mesh->subMeshes) visit(*subMesh);
    }
  }
}

std::vector<Animation*> AllAnimations() {
  std::vector<Animation*> animations;
  if (DemoContent::Exists()) DemoContent::Instance()->GetAll(animations);
  return animations;
}

// The times at which a step track's integer value changes (its first key counts when
// it differs from the value before it, fallback).
void AddChanges(const KeyedValue* value, int fallback, float offset, TimelineEvent::Kind kind,
                std::vector<TimelineEvent>& out) {
  const IInterpolator<int>* track = value != nullptr ? value->Track<int>() : nullptr;
  if (track == nullptr) return;
  int last = fallback;
  for (int i = 0; i < track->KeyCount(); ++i) {
    float time = 0.0f;
    int key = 0;
    bool hold = false;
    if (!track->GetKey(i, time, key, hold) || key == last) continue;
    last = key;
    out.push_back(TimelineEvent{time + offset, kind});
  }
}

}  // namespace

const char* TimelineEventName(TimelineEvent::Kind kind) {
  switch (kind) {
    case TimelineEvent::kCut: return "cut";
    case TimelineEvent::kSignal: return "flash";
    case TimelineEvent::kGreeting: return "greeting";
    case TimelineEvent::kScene: return "scene";
    case TimelineEvent::kBoard: return "board";
  }
  return "event";
}

void DemoController::SaveTimelineState(TimelineState& out) {
  out.timeline = timeline_.SaveState();
  out.signalValue = signal_ != nullptr ? signal_->lastValue : 0;
  if (assembling_ != nullptr) assembling_->SaveState(out.assembling);
  if (breakingWall_ != nullptr) breakingWall_->SaveState(out.breakingWall);
  if (robot_ != nullptr) out.robot = robot_->SaveState();
  out.cameraIndex = schedule_.Index();
  for (std::size_t i = 0; i < slots_.size(); ++i) out.slotsEnabled[i] = slots_[i].enabled;

  out.matrices.clear();
  ForEachTransformable(schedule_, [&out](ITransformable& object) {
    sm::Mat4 world;
    sm::Mat4 base;
    std::copy(object.GetTransform(), object.GetTransform() + 16, world.a);
    std::copy(object.GetBaseTransform(), object.GetBaseTransform() + 16, base.a);
    out.matrices.push_back(world);
    out.matrices.push_back(base);
  });
  out.subMeshVisible.clear();
  ForEachSubMesh([&out](const SubMesh& subMesh) { out.subMeshVisible.push_back(subMesh.visible); });
  out.motion.clear();
  for (const Animation* animation : AllAnimations()) animation->SaveMotion(out.motion);
  out.random = RandState();
}

void DemoController::RestoreTimelineState(const TimelineState& state) {
  timeline_.RestoreState(state.timeline);
  if (signal_ != nullptr) signal_->lastValue = state.signalValue;
  if (assembling_ != nullptr) assembling_->RestoreState(state.assembling);
  if (breakingWall_ != nullptr) breakingWall_->RestoreState(state.breakingWall);
  if (robot_ != nullptr) robot_->RestoreState(state.robot);
  schedule_.Rewind(state.cameraIndex);
  for (std::size_t i = 0; i < slots_.size(); ++i) slots_[i].enabled = state.slotsEnabled[i];

  std::size_t next = 0;
  ForEachTransformable(schedule_, [&state, &next](ITransformable& object) {
    if (next + 1 >= state.matrices.size()) return;
    std::copy(state.matrices[next].a, state.matrices[next].a + 16, object.GetTransform());
    std::copy(state.matrices[next + 1].a, state.matrices[next + 1].a + 16, object.GetBaseTransform());
    next += 2;
  });
  std::size_t subMesh = 0;
  ForEachSubMesh([&state, &subMesh](SubMesh& part) {
    if (subMesh < state.subMeshVisible.size()) part.visible = state.subMeshVisible[subMesh++];
  });
  std::size_t node = 0;
  for (Animation* animation : AllAnimations()) animation->RestoreMotion(state.motion, node);
  SetRandState(state.random);
}

std::vector<TimelineEvent> DemoController::TimelineEvents() const {
  std::vector<TimelineEvent> events;
  for (std::size_t i = 0; i + 1 < schedule_.Size(); ++i) {
    events.push_back(TimelineEvent{schedule_.At(i).endTime, TimelineEvent::kCut});
  }
  if (signal_ != nullptr) AddChanges(&signal_->track, 0, 0.0f, TimelineEvent::kSignal, events);
  for (float key : show::kGreetingsKeyTimes) {
    events.push_back(TimelineEvent{show::kGreetingsStart + key, TimelineEvent::kGreeting});
  }
  events.push_back(TimelineEvent{kHandOverSeconds, TimelineEvent::kScene});
  events.push_back(TimelineEvent{kDanceClaimSeconds, TimelineEvent::kScene});
  AddChanges(boardIndex_, 0, 0.0f, TimelineEvent::kBoard, events);
  std::stable_sort(events.begin(), events.end(),
                   [](const TimelineEvent& a, const TimelineEvent& b) { return a.seconds < b.seconds; });
  return events;
}

void DemoController::HoldManualCamera(bool hold) { timeline_.HoldCamera(hold ? manualCamera_.get() : nullptr); }

bool DemoController::ManualCameraHeld() const {
  return manualCamera_ != nullptr && timeline_.HeldCamera() == manualCamera_.get();
}

void DemoController::RefreshView(float dtMs) { timeline_.RefreshView(dtMs); }
