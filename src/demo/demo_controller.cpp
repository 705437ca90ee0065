#include "demo/demo_controller.h"

#include "app/log.h"
#include "demo/gl_state.h"
#include "platform/gl.h"
#include "platform/window.h"

DemoController::DemoController() { OpenLog(); }

DemoController::~DemoController() { Shutdown(); }

bool DemoController::Init(int width, int height, int bitsPerPixel, int refreshRate) {
  width_ = width;
  height_ = height;
  window_ = std::make_unique<platform::GlWindow>();
  if (!window_->Create(this, width, height, bitsPerPixel, refreshRate)) {
    WriteLog("couldn't initialize opengl window");
    Shutdown();
    return false;
  }
  if (!platform::FetchGlEntryPoints()) {
    WriteLog("couldn't initialize opengl extensions");
    Shutdown();
    return false;
  }
  projection_ = SetInitialGlState(width_, height_, fieldOfView_);
  return true;
}

bool DemoController::LoadContent(const std::string& dataFolder) {
  dataFolder_ = dataFolder;
  return true;
}

bool DemoController::Prepare() { return true; }

bool DemoController::Update(float timeMs, float dtMs) {
  (void)timeMs;
  (void)dtMs;
  return true;
}

bool DemoController::Render(float timeMs, float dtMs) {
  (void)timeMs;
  (void)dtMs;
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  window_->Present();
  return true;
}

void DemoController::Shutdown() {
  if (window_) {
    window_->TearDown();
    window_.reset();
  }
}
