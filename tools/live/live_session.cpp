#include "live/live_session.h"

#include <algorithm>
#include <cmath>

#include "anim/random.h"
#include "demo/demo_controller.h"
#include "platform/gl.h"

LiveSession::LiveSession() = default;

LiveSession::~LiveSession() { Close(); }

bool LiveSession::Open(const std::string& dataFolder, int width, int height, std::string& error) {
  Close();
  grid_ = FrameGrid{kFps, 0, 0};
  dataFolder_ = dataFolder;
  width_ = width;
  height_ = height;
  if (!CreatePictureTarget(picture_, width_, height_, true, error) || !LoadDemo(error)) {
    Close();
    return false;
  }
  return true;
}

bool LiveSession::Reload(std::string& error) {
  if (picture_.framebuffer == 0) {
    error = "nothing is open";
    return false;
  }
  UnloadDemo();
  return LoadDemo(error);
}

bool LiveSession::LoadDemo(std::string& error) {
  // The time stays what it was until the content is back, so a player can return there.
  updated_ = false;
  replayed_ = 0;
  // A fresh run: the shards and the noise texture draw the generator as the demo's do.
  ResetRand();
  clock_.Set(0.0);
  controller_ = DemoController::Instance();
  ControllerOptions options;
  options.clock = &clock_;
  options.useCurrentContext = true;
  options.outputFramebuffer = picture_.framebuffer;
  // Loading draws nothing: the picture keeps the last frame until the content is back.
  options.showLoadingScreen = false;
  controller_->SetOptions(options);
  if (!controller_->Init(width_, height_, 32, 0) || !controller_->LoadContent(dataFolder_) ||
      !controller_->Prepare()) {
    error = "the demo did not load from " + dataFolder_ + " (log.txt names what is missing)";
    UnloadDemo();
    return false;
  }
  auto loaded = std::make_unique<TimelineState>();
  controller_->SaveTimelineState(*loaded);
  checkpoints_[-1] = std::move(loaded);
  frame_ = -1;  // the timeline stands before its first update
  return true;
}

void LiveSession::Close() {
  UnloadDemo();
  DeletePictureTarget(picture_);
}

void LiveSession::UnloadDemo() {
  checkpoints_.clear();
  if (controller_ != nullptr) {
    controller_->Shutdown();
    DemoController::Destroy();
    controller_ = nullptr;
  }
}

void LiveSession::UpdateGridFrame(long frame) {
  clock_.Set(grid_.Seconds(frame));
  lastTimeMs_ = grid_.TimeMs(frame);
  lastStepMs_ = grid_.StepMs();
  controller_->Update(lastTimeMs_, lastStepMs_);
  updated_ = true;
  ++replayed_;
  if (frame % kCheckpointFrames == 0 && checkpoints_.count(frame) == 0) {
    auto state = std::make_unique<TimelineState>();
    controller_->SaveTimelineState(*state);
    checkpoints_[frame] = std::move(state);
  }
}

void LiveSession::SeekFrame(long frame) {
  if (controller_ == nullptr) return;
  frame = std::max(0L, frame);
  // The nearest saved state at or before the target, unless the timeline already
  // stands on the grid between it and the target.
  auto saved = std::prev(checkpoints_.upper_bound(frame));
  long next = saved->first + 1;
  if (frame_ >= 0 && frame_ <= frame && frame_ >= saved->first) {
    next = frame_ + 1;
  } else {
    controller_->RestoreTimelineState(*saved->second);
  }
  for (long k = next; k <= frame; ++k) UpdateGridFrame(k);
  if (next > frame) {
    // Restored onto the target itself: the frame loop's arguments of that frame.
    lastTimeMs_ = grid_.TimeMs(frame);
    lastStepMs_ = grid_.StepMs();
    updated_ = true;
  }
  frame_ = frame;
  seconds_ = grid_.Seconds(frame);
}

bool LiveSession::FillNextCheckpoint(long lastFrame) {
  if (controller_ == nullptr) return false;
  long missing = 0;
  while (missing <= lastFrame && checkpoints_.count(missing) != 0) missing += kCheckpointFrames;
  if (missing > lastFrame) return false;

  TimelineState now;
  controller_->SaveTimelineState(now);
  const long frame = frame_;
  const double seconds = seconds_;
  const float timeMs = lastTimeMs_;
  const float stepMs = lastStepMs_;
  const bool updated = updated_;
  const long replayed = replayed_;

  auto base = std::prev(checkpoints_.lower_bound(missing));
  controller_->RestoreTimelineState(*base->second);
  for (long k = base->first + 1; k <= missing; ++k) UpdateGridFrame(k);

  controller_->RestoreTimelineState(now);
  frame_ = frame;
  seconds_ = seconds;
  lastTimeMs_ = timeMs;
  lastStepMs_ = stepMs;
  updated_ = updated;
  replayed_ = replayed;
  return true;
}

void LiveSession::PlayAt(double seconds, float stepMs) {
  if (controller_ == nullptr) return;
  seconds = std::max(0.0, seconds);
  clock_.Set(seconds);
  lastTimeMs_ = static_cast<float>(seconds * 1000.0);
  lastStepMs_ = stepMs;
  controller_->Update(lastTimeMs_, lastStepMs_);
  updated_ = true;
  frame_ = -1;
  seconds_ = seconds;
}

void LiveSession::RefreshView(float stepMs) {
  if (controller_ != nullptr) controller_->RefreshView(stepMs);
}

void LiveSession::Render(const std::function<void(FramePass)>& passDone) {
  if (controller_ == nullptr || !updated_) return;
  controller_->SetAfterPass(passDone);
  controller_->Render(lastTimeMs_, lastStepMs_);
  controller_->SetAfterPass({});
}

bool LiveSession::ReadBack(Image& picture) const {
  if (picture_.framebuffer == 0) return false;
  ReadPictureTarget(picture_, picture);
  return true;
}
