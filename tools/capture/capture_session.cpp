#include "capture/capture_session.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "anim/random.h"
#include "app/archive.h"
#include "app/data_folder.h"
#include "base/log.h"
#include "demo/demo_controller.h"
#include "platform/gl.h"
#include "platform/offscreen_context.h"

namespace {

// Enough to say what went wrong where; a driver that fails every pass would otherwise
// print a line per pass per frame.
constexpr std::size_t kDescribedErrors = 8;

std::string Hex(unsigned value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%04x", value);
  return text;
}

}  // namespace

CaptureSession::CaptureSession() = default;

CaptureSession::~CaptureSession() { Close(); }

bool CaptureSession::Open(const std::string& archive, int width, int height, const FrameGrid& grid,
                          std::string& error) {
  Close();
  grid_ = grid;
  width_ = width;
  height_ = height;
  nextFrame_ = 0;
  renderedFrame_ = -1;
  updated_ = false;
  drawn_ = false;
  glErrors_ = GlErrorCount();

  std::error_code code;
  if (!std::filesystem::is_regular_file(archive, code)) {
    error = "no data archive at " + archive;
    return false;
  }
  dataFolder_ = CreateDataFolder();
  if (dataFolder_.empty()) {
    error = "couldn't create a data folder under $TMPDIR";
    return false;
  }
  // Like the demo, a damaged archive is no reason to stop: what is missing shows up as
  // a load error.
  unpackNotes_.clear();
  UnpackArchive(archive, dataFolder_, unpackNotes_);

  context_ = std::make_unique<platform::OffscreenContext>();
  if (!context_->Create(width, height)) {
    error = "no GL context: " + context_->Error();
    Close();
    return false;
  }
  if (!CreatePictureTarget(target_, width, height, false, error)) {
    Close();
    return false;
  }

  // A fresh run: the random generator starts where the demo's does.
  ResetRand();
  controller_ = DemoController::Instance();
  // The controller starts the log afresh; the archive's lines go in after that.
  for (const std::string& note : unpackNotes_) WriteLog("%s", note.c_str());
  ControllerOptions options;
  options.clock = &clock_;
  options.useCurrentContext = true;
  options.outputFramebuffer = target_.framebuffer;
  options.afterPass = [this](FramePass pass) { CheckGlErrors(FramePassName(pass)); };
  controller_->SetOptions(options);
  const bool ready = controller_->Init(width, height, 32, 0) && controller_->LoadContent(dataFolder_) &&
                     controller_->Prepare();
  CheckGlErrors("loading");
  if (!ready) {
    error = "the demo did not load";
    Close();
    return false;
  }
  return true;
}

void CaptureSession::UpdateTo(long frame) {
  for (; controller_ != nullptr && nextFrame_ <= frame; ++nextFrame_) {
    UpdateAt(grid_.Seconds(nextFrame_), grid_.TimeMs(nextFrame_), grid_.StepMs());
  }
}

void CaptureSession::UpdateAt(double clockSeconds, float timeMs, float stepMs) {
  if (controller_ == nullptr) return;
  clock_.Set(clockSeconds);
  controller_->Update(timeMs, stepMs);
  lastTimeMs_ = timeMs;
  lastStepMs_ = stepMs;
  updated_ = true;
}

bool CaptureSession::Render(Image& picture) {
  if (controller_ == nullptr || !updated_) return false;
  renderedFrame_ = nextFrame_ - 1;
  controller_->Render(lastTimeMs_, lastStepMs_);
  drawn_ = true;
  return ReadBack(picture);
}

bool CaptureSession::ReadBack(Image& picture) {
  if (controller_ == nullptr || !drawn_) return false;
  ReadPictureTarget(target_, picture);
  CheckGlErrors("read-back");
  return true;
}

void CaptureSession::CheckGlErrors(const char* where) {
  ++glErrors_.checks;
  for (GLenum code = glGetError(); code != GL_NO_ERROR; code = glGetError()) {
    ++glErrors_.errors;
    if (glErrors_.first.size() < kDescribedErrors) {
      glErrors_.first.push_back("GL error " + Hex(code) + " after " + where +
                                (renderedFrame_ >= 0 ? " of frame " + std::to_string(renderedFrame_) : ""));
    }
  }
}

void CaptureSession::Close() {
  if (controller_ != nullptr) {
    controller_->Shutdown();
    DemoController::Destroy();
    controller_ = nullptr;
  }
  if (context_ != nullptr && context_->IsValid()) DeletePictureTarget(target_);
  context_.reset();
  RemoveDataFolder(dataFolder_);
  dataFolder_.clear();
}

std::string CaptureSession::RendererName() const {
  const GLubyte* name = glGetString(GL_RENDERER);
  return name != nullptr ? reinterpret_cast<const char*>(name) : "an unknown renderer";
}
