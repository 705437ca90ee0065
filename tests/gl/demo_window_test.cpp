// The demo's own window where the display cannot show the chosen mode: the window
// covers the desktop at its own mode, the demo draws at the chosen size and the
// picture is scaled to the screen with its aspect kept.
#include <gtest/gtest.h>

#include <string>

#include "demo/demo_controller.h"
#include "platform/gl.h"
#include "platform/window.h"
#include "support/drift_run.h"
#include "support/temp_dir.h"
#include "support/test_data_set.h"
#include "support/x11_client.h"

namespace {

using namespace testing_support;

struct NoInput : platform::IKeyboardCallback {};

// The test display has one mode, the screen size; no other size is offered.
platform::DisplayMode ScreenMode() {
  platform::DisplayMode mode;
  EXPECT_TRUE(platform::CurrentDisplayMode(mode)) << platform::VideoError();
  return mode;
}

TEST(DemoWindow, AModeTheDisplayLacksCoversTheDesktopAndKeepsTheChosenSize) {
  const platform::DisplayMode screen = ScreenMode();
  NoInput input;
  platform::GlWindow window;
  ASSERT_TRUE(window.Create(&input, screen.width / 2, screen.height / 2, 32, 0)) << platform::VideoError();
  EXPECT_TRUE(window.Scaled());
  EXPECT_EQ(window.Width(), screen.width / 2);
  EXPECT_EQ(window.Height(), screen.height / 2);
  int drawableWidth = 0;
  int drawableHeight = 0;
  window.DrawableSize(drawableWidth, drawableHeight);
  EXPECT_EQ(drawableWidth, screen.width);
  EXPECT_EQ(drawableHeight, screen.height);
  window.TearDown();

  ASSERT_TRUE(window.Create(&input, screen.width, screen.height, 32, 0)) << platform::VideoError();
  EXPECT_FALSE(window.Scaled()) << "the display's own mode needs no scaling";
  window.TearDown();
}

TEST(DemoWindow, TheControllerDrawsAtTheChosenSizeScaledWithBarsAndSaysSo) {
  const platform::DisplayMode screen = ScreenMode();
  ASSERT_EQ(screen.width * 9, screen.height * 16) << "the test expects a 16:9 screen";
  TempDir dir;
  ScopedWorkingDirectory inDir(dir.Path());
  std::string error;
  ASSERT_TRUE(WriteTestDataSet(dir.File("data"), {}, error)) << error;

  // 4:3 on a 16:9 screen: the picture is the screen's height, with bars at the sides.
  const int width = 640;
  const int height = 480;
  DemoController* controller = DemoController::Instance();
  ASSERT_TRUE(controller->Init(width, height, 32, 0)) << ReadFile(dir.File("log.txt"));
  EXPECT_EQ(controller->Width(), width);
  EXPECT_EQ(controller->Height(), height);
  GLint viewport[4] = {};
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], width);
  EXPECT_EQ(viewport[3], height);
  const std::string log = ReadFile(dir.File("log.txt"));
  EXPECT_NE(log.find("the display can't switch to 640x480; the demo is drawn at 640x480 and scaled to the desktop's " +
                     std::to_string(screen.width) + "x" + std::to_string(screen.height)),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("vertical sync: "), std::string::npos) << log;

  // The loading screen's last present: the loader picture fills the scaled picture.
  ASSERT_TRUE(controller->LoadContent(dir.File("data") + "/")) << ReadFile(dir.File("log.txt"));
  const unsigned long window = WaitForWindow(kDemoTitle, 10);
  ASSERT_NE(window, 0u);
  const int pictureWidth = screen.height * 4 / 3;
  const int bar = (screen.width - pictureWidth) / 2;
  unsigned side = 0xffffff;
  unsigned middle = 0;
  unsigned otherSide = 0xffffff;
  ASSERT_TRUE(WindowPixel(window, bar / 2, screen.height / 3, side));
  ASSERT_TRUE(WindowPixel(window, screen.width / 2, screen.height / 3, middle));
  ASSERT_TRUE(WindowPixel(window, screen.width - bar / 2, screen.height / 3, otherSide));
  EXPECT_EQ(side, 0u);
  EXPECT_EQ(otherSide, 0u);
  const unsigned loader = (kTestLoaderRgb[0] << 16) | (kTestLoaderRgb[1] << 8) | kTestLoaderRgb[2];
  for (int shift : {0, 8, 16}) {
    EXPECT_NEAR(static_cast<int>((middle >> shift) & 0xff), static_cast<int>((loader >> shift) & 0xff), 8) << shift;
  }
  DemoController::Destroy();
  platform::ResetGlEntryPoints();
}

TEST(DemoWindow, ASizeGlCannotDrawFailsInitAndLeavesNoWindow) {
  TempDir dir;
  ScopedWorkingDirectory inDir(dir.Path());
  DemoController* controller = DemoController::Instance();
  EXPECT_FALSE(controller->Init(40000, 30000, 32, 0));
  EXPECT_NE(ReadFile(dir.File("log.txt")).find("couldn't initialize opengl window"), std::string::npos);
  EXPECT_EQ(WaitForWindow(kDemoTitle, 0.5), 0u);
  DemoController::Destroy();
  platform::ResetGlEntryPoints();
}

}  // namespace
