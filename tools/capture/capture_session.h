#pragma once
// The demo played off screen on a fixed clock: the data archive unpacked into a private
// data folder, a GL context with no window shown, the controller drawing into a
// framebuffer of the capture's size, and every frame read back.
//
// The timeline has history (the shards fly, the sparks and the random generator run,
// the credits and greetings count signal changes), so a frame is only right when the
// updates of every frame before it ran: UpdateTo runs them, from frame 0, without
// drawing anything.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "assets/image.h"
#include "capture/frame_grid.h"
#include "render/picture_target.h"
#include "demo/timeline_clock.h"
#include "render/frame.h"

class DemoController;

// The capture's clock: it shows exactly the time the capture sets, from the first
// update on (the timeline starts a clock at the frame loop's time, which a replay of
// another run's times must not move).
class CaptureClock final : public ITimelineClock {
 public:
  void Start(double) override {}
  double Seconds() override { return seconds_; }
  void Release() override {}
  void Set(double seconds) { seconds_ = seconds; }

 private:
  double seconds_ = 0.0;
};
namespace platform {
class OffscreenContext;
}

// GL errors seen after the passes of the rendered frames (and after loading).
struct GlErrorCount {
  long checks = 0;  // glGetError rounds: one after loading, one after every pass
  long errors = 0;
  std::vector<std::string> first;  // the first few, described
};

class CaptureSession {
 public:
  CaptureSession();
  ~CaptureSession();
  CaptureSession(const CaptureSession&) = delete;
  CaptureSession& operator=(const CaptureSession&) = delete;

  // Unpacks the archive, opens the context and loads the demo at width × height on the
  // grid's clock. False with a reason in error (the log names missing content); what
  // was set up is released again.
  bool Open(const std::string& archive, int width, int height, const FrameGrid& grid, std::string& error);
  // Runs the update of every frame after the last one updated, up to and including
  // `frame`. Frames are never updated twice or out of order.
  void UpdateTo(long frame);
  // One update off the grid: the clock at clockSeconds and the frame loop's arguments
  // as given, for replaying the times of a run on another clock (the soundtrack's).
  void UpdateAt(double clockSeconds, float timeMs, float stepMs);
  // Draws the frame last updated and reads it back into picture (24 bits, rows
  // bottom-up, the capture's size; reallocated only when it does not fit).
  bool Render(Image& picture);
  // Reads back what the last Render drew, again.
  bool ReadBack(Image& picture);
  // The next frame UpdateTo would update.
  long NextFrame() const { return nextFrame_; }
  // The unpacked data (ending in '/'), e.g. for the soundtrack; empty before Open.
  const std::string& DataFolder() const { return dataFolder_; }
  const GlErrorCount& GlErrors() const { return glErrors_; }
  // The GL renderer's name (a GPU's driver, or the software renderer); after Open.
  std::string RendererName() const;
  // What unpacking the archive complained about (also in the log).
  const std::vector<std::string>& UnpackNotes() const { return unpackNotes_; }
  // Shuts the demo down, releases the context and removes the data folder. Safe to
  // call more than once.
  void Close();

 private:
  void CheckGlErrors(const char* where);

  FrameGrid grid_;
  int width_ = 0;
  int height_ = 0;
  long nextFrame_ = 0;
  long renderedFrame_ = -1;
  float lastTimeMs_ = 0.0f;  // the frame loop's time of the last update
  float lastStepMs_ = 0.0f;
  bool updated_ = false;
  bool drawn_ = false;
  std::string dataFolder_;
  std::vector<std::string> unpackNotes_;
  std::unique_ptr<platform::OffscreenContext> context_;
  PictureTarget target_;
  CaptureClock clock_;
  DemoController* controller_ = nullptr;
  GlErrorCount glErrors_;
};
