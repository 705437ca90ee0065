#pragma once
// The demo as the live player plays it: the real controller on the GL context current
// on this thread, drawing into a picture of its own at the render size, on the same
// clock and frame grid as drift-capture.
//
// The timeline has history, so a frame is only the demo's frame when every update
// before it ran. A seek therefore puts the timeline back to a saved state (the one
// right after loading, or a checkpoint the replays left on the way) and replays the
// updates of the grid frames from there up to the target: the picture after any seek
// or frame step is exactly the frame drift-capture draws at that time and size.
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "assets/image.h"
#include "capture/capture_session.h"
#include "capture/frame_grid.h"
#include "render/picture_target.h"
#include "demo/timeline_state.h"
#include "render/frame.h"

class DemoController;

class LiveSession {
 public:
  // Checkpoints are left every this many grid frames (10 s at 60 per second).
  static constexpr long kCheckpointFrames = 600;
  static constexpr int kFps = 60;

  LiveSession();
  ~LiveSession();
  LiveSession(const LiveSession&) = delete;
  LiveSession& operator=(const LiveSession&) = delete;

  // Loads the data folder (ending in '/') at width × height. False with a reason (the
  // log names missing content); nothing stays loaded then.
  bool Open(const std::string& dataFolder, int width, int height, std::string& error);
  // Releases the demo and the picture; safe to call again.
  void Close();
  // Loads the whole content again from the same folder, the timeline back after
  // loading (seek to where the player stood). On failure the picture keeps the last
  // frame drawn and nothing is loaded until a later reload succeeds.
  bool Reload(std::string& error);
  bool IsOpen() const { return controller_ != nullptr; }

  // The timeline after the update of grid frame `frame` (clamped to 0..), exactly as
  // a run from the start leaves it.
  void SeekFrame(long frame);
  // One update off the grid while playing: the clock at seconds, the step since the
  // last update. The timeline is off the grid until the next seek.
  void PlayAt(double seconds, float stepMs);
  // The view again at the same time (a manual camera flown while paused).
  void RefreshView(float stepMs);

  // Draws the current frame into the picture. passDone, when set, is called after
  // every pass of the frame.
  void Render(const std::function<void(FramePass)>& passDone = {});
  // Reads the picture back: 24 bits, rows bottom-up, the render size. After a failed
  // reload it still holds the last frame drawn.
  bool ReadBack(Image& picture) const;
  // The GL texture that holds the picture.
  unsigned PictureTexture() const { return picture_.colourTexture; }

  // Forgets that the timeline stands on the grid, so the next seek restores a saved
  // state even to the same frame (after the view was handed to the manual camera).
  void Invalidate() { frame_ = -1; }
  // The grid frame the timeline stands on; -1 while playing off the grid.
  long Frame() const { return frame_; }
  // The timeline's time in seconds.
  double Seconds() const { return seconds_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  const std::string& DataFolder() const { return dataFolder_; }
  DemoController& Controller() { return *controller_; }
  const DemoController& Controller() const { return *controller_; }
  std::size_t CheckpointCount() const { return checkpoints_.size(); }
  // Leaves the next missing checkpoint up to lastFrame (one stretch of 600 updates,
  // some milliseconds), then puts the timeline back exactly as it stood: the player
  // calls it while idle, so that later seeks replay little. False when every
  // checkpoint up to lastFrame exists.
  bool FillNextCheckpoint(long lastFrame);
  // Forgets every checkpoint but the state after loading (the benchmark's first seeks).
  void DropCheckpoints() { checkpoints_.erase(checkpoints_.upper_bound(-1), checkpoints_.end()); }
  // Updates replayed by seeks since Open, for the benchmark and the tests.
  long ReplayedUpdates() const { return replayed_; }

 private:
  bool LoadDemo(std::string& error);
  void UnloadDemo();
  void UpdateGridFrame(long frame);

  FrameGrid grid_;
  CaptureClock clock_;
  DemoController* controller_ = nullptr;
  std::string dataFolder_;
  int width_ = 0;
  int height_ = 0;
  long frame_ = -1;
  double seconds_ = 0.0;
  float lastTimeMs_ = 0.0f;
  float lastStepMs_ = 0.0f;
  bool updated_ = false;
  long replayed_ = 0;
  // Key k: the state after the update of grid frame k; -1 is the state after loading.
  std::map<long, std::unique_ptr<TimelineState>> checkpoints_;
  PictureTarget picture_;
};
