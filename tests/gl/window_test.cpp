// The full-screen window record on the test display.
#include <gtest/gtest.h>

#include <cmath>

#include "demo/gl_state.h"
#include "platform/gl.h"
#include "platform/window.h"

namespace {

struct CountingInput : platform::IKeyboardCallback {};

TEST(GlWindow, OpensFullScreenWithAContextAndAllEntryPoints) {
  platform::DisplayMode mode;
  ASSERT_TRUE(platform::CurrentDisplayMode(mode)) << platform::VideoError();
  CountingInput input;
  platform::GlWindow window;
  ASSERT_TRUE(window.Create(&input, mode.width, mode.height, 32, mode.refreshRate))
      << platform::VideoError();
  EXPECT_TRUE(window.IsOpen());
  EXPECT_GE(window.DepthBits(), 24);
  EXPECT_TRUE(platform::FetchGlEntryPoints());

  const sm::Mat4 projection = SetInitialGlState(mode.width, mode.height, 60.0f);
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], mode.width);
  EXPECT_EQ(viewport[3], mode.height);
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));
  GLint depthFunc = 0;
  glGetIntegerv(GL_DEPTH_FUNC, &depthFunc);
  EXPECT_EQ(depthFunc, GL_LEQUAL);
  GLint matrixMode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
  EXPECT_EQ(matrixMode, GL_MODELVIEW);
  EXPECT_FLOAT_EQ(projection.a[11], -1.0f);
  EXPECT_FLOAT_EQ(projection.a[5], 1.0f / std::tan(30.0f * 3.1415927f / 180.0f));

  glClearColor(0.0f, 0.5f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  window.Present();
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

  window.TearDown();
  EXPECT_FALSE(window.IsOpen());
  window.TearDown();  // a second tear-down is harmless
  platform::ResetGlEntryPoints();
}

}  // namespace
