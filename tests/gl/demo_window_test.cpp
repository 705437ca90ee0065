// The demo's own window: when the display cannot show the chosen mode exactly and the
// closest one is taken, everything after Init uses the size the window really has.
#include <gtest/gtest.h>

#include <string>

#include "demo/demo_controller.h"
#include "platform/gl.h"
#include "platform/window.h"
#include "support/temp_dir.h"

namespace {

using namespace testing_support;

struct NoInput : platform::IKeyboardCallback {};

// The test display has one mode, the screen size; a smaller mode is not offered.
platform::DisplayMode ScreenMode() {
  platform::DisplayMode mode;
  EXPECT_TRUE(platform::CurrentDisplayMode(mode)) << platform::VideoError();
  return mode;
}

TEST(DemoWindow, ACloseModeReportsTheSizeTheWindowReallyHas) {
  const platform::DisplayMode screen = ScreenMode();
  NoInput input;
  platform::GlWindow window;
  ASSERT_TRUE(window.Create(&input, screen.width / 2, screen.height / 2, 32, 0)) << platform::VideoError();
  EXPECT_EQ(window.Width(), screen.width);
  EXPECT_EQ(window.Height(), screen.height);
  window.TearDown();
}

TEST(DemoWindow, TheControllerDrawsAtTheRealSizeAndSaysSo) {
  const platform::DisplayMode screen = ScreenMode();
  TempDir dir;
  ScopedWorkingDirectory inDir(dir.Path());
  DemoController* controller = DemoController::Instance();
  ASSERT_TRUE(controller->Init(screen.width / 2, screen.height / 2, 32, 0));
  EXPECT_EQ(controller->Width(), screen.width);
  EXPECT_EQ(controller->Height(), screen.height);
  GLint viewport[4] = {};
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], screen.width);
  EXPECT_EQ(viewport[3], screen.height);
  const std::string chosen = std::to_string(screen.width / 2) + "x" + std::to_string(screen.height / 2);
  const std::string real = std::to_string(screen.width) + "x" + std::to_string(screen.height);
  EXPECT_NE(ReadFile(dir.File("log.txt")).find("the display runs at " + real + " instead of the chosen " + chosen),
            std::string::npos)
      << ReadFile(dir.File("log.txt"));
  DemoController::Destroy();
  platform::ResetGlEntryPoints();
}

}  // namespace
