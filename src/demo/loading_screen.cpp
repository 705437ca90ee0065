#include "demo/loading_screen.h"

#include <algorithm>

#include "assets/texture.h"
#include "platform/clock.h"
#include "platform/gl.h"
#include "render/render_targets.h"

namespace {

// The bar's place as fractions of the screen (single precision, as designed).
constexpr float kLeft = 0.25234374f;
constexpr float kBottom = 0.13411456f;
constexpr float kTop = 0.13541669f;
constexpr float kFullLength = 0.496875f;
// The fractions are rounded to a few digits and land a hair below the whole pixel they
// stand for (768 × 0.13411456 = 102.99998 for the line at 103); a nudge far below any
// real fraction of a pixel keeps truncation from losing that pixel.
constexpr float kNudge = 1.0f / 1024.0f;

int Pixels(float value) { return static_cast<int>(value + kNudge); }

const unsigned char kBarColour[4] = {22, 160, 252, 255};

}  // namespace

LoadingBar LoadingBarAt(int width, int height, int done, int total) {
  double fraction = total > 0 ? static_cast<double>(done) / static_cast<double>(total) : 1.0;
  if (fraction > 1.0) fraction = 1.0;
  if (fraction < 0.0) fraction = 0.0;
  const float w = static_cast<float>(width);
  const float h = static_cast<float>(height);
  LoadingBar bar;
  bar.x0 = Pixels(w * kLeft);
  bar.y0 = Pixels(h * kBottom);
  bar.y1 = Pixels(h * kTop);
  bar.x1 = bar.x0 + Pixels(w * static_cast<float>(fraction * kFullLength));
  return bar;
}

LoadingScreen::LoadingScreen() = default;
LoadingScreen::~LoadingScreen() = default;

bool LoadingScreen::SetUp(const std::string& dataFolder, int width, int height) {
  width_ = width;
  height_ = height;
  TextureLoader loader;
  picture_.reset(static_cast<Texture*>(loader.Load((dataFolder + "loader.jpg").c_str(), nullptr)));
  return picture_ != nullptr;
}

bool PresentPacer::ShouldPresent(int barEnd, double now, bool last) {
  const bool moved = !presented_ || barEnd != lastBarEnd_;
  const double gap = std::max(interval_, kWorkPerPresent * lastCost_);
  const bool due = !presented_ || now - lastEnd_ >= gap || last;
  if (!moved || !due) return false;
  presented_ = true;
  lastBarEnd_ = barEnd;
  lastStart_ = now;
  lastEnd_ = now;
  lastCost_ = 0.0;
  return true;
}

void PresentPacer::Presented(double now) {
  lastEnd_ = now;
  lastCost_ = std::max(0.0, now - lastStart_);
}

double LoadingScreen::Now() const {
  if (clock) return clock();
  return static_cast<double>(platform::PerformanceCounter()) / static_cast<double>(platform::PerformanceFrequency());
}

void LoadingScreen::Begin(int total) {
  total_ = total;
  done_ = 0;
  presents_ = 0;
  pacer_.Reset();
  if (shown && pacer_.ShouldPresent(LoadingBarAt(width_, height_, done_, total_).x1, Now(), false)) {
    Draw();
    pacer_.Presented(Now());
  }
}

void LoadingScreen::Step() {
  ++done_;
  if (!shown) return;
  const bool last = done_ >= total_;
  if (pacer_.ShouldPresent(LoadingBarAt(width_, height_, done_, total_).x1, Now(), last)) {
    Draw();
    pacer_.Presented(Now());
  }
}

void LoadingScreen::Draw() {
  BindFrameBuffer(framebuffer);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  if (picture_ != nullptr) {
    glColor4f(1, 1, 1, 1);
    DrawScreenQuad(picture_->GetName(), width_, height_);
  }

  glPushMatrix();
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  glLoadIdentity();
  glOrtho(viewport[0], viewport[2], viewport[1], viewport[3], -1.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();

  const LoadingBar bar = LoadingBarAt(width_, height_, done_, total_);
  glDisable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_BLEND);
  glColor4ubv(kBarColour);
  glBegin(GL_QUADS);
  glVertex2i(bar.x0, bar.y1);
  glVertex2i(bar.x0, bar.y0);
  glVertex2i(bar.x1, bar.y0);
  glVertex2i(bar.x1, bar.y1);
  glEnd();

  glColor4f(1, 1, 1, 1);
  glDisable(GL_BLEND);
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  ++presents_;
  if (present) present();
}

void LoadingScreen::Release() { picture_.reset(); }
