// What the controller decides without a window: the mask for the screen width and a
// shutdown that may run on a controller that never started, any number of times.
#include "demo/demo_controller.h"

#include <gtest/gtest.h>

#include <string>

#include "assets/demo_content.h"
#include "support/temp_dir.h"

namespace {

TEST(DemoController, TheMaskFollowsTheScreenWidth) {
  EXPECT_STREQ(DemoController::MaskName(800), "mask");
  EXPECT_STREQ(DemoController::MaskName(1024), "mask");
  EXPECT_STREQ(DemoController::MaskName(1025), "mask_big");
  EXPECT_STREQ(DemoController::MaskName(1920), "mask_big");
}

TEST(DemoController, ShutdownReleasesTheRegistryOnceAndMayRunAgain) {
  testing_support::TempDir dir;
  testing_support::ScopedWorkingDirectory inDir(dir.Path());
  DemoController* controller = DemoController::Instance();
  ASSERT_NE(DemoContent::Instance(), nullptr);
  controller->Shutdown();
  EXPECT_FALSE(DemoContent::Exists());
  controller->Shutdown();
  EXPECT_FALSE(DemoContent::Exists()) << "a second shutdown creates nothing";
  // Frames after a shutdown touch nothing that was released.
  EXPECT_TRUE(controller->Update(16.0f, 16.0f));
  EXPECT_TRUE(controller->Render(16.0f, 16.0f));
  DemoController::Destroy();
  EXPECT_FALSE(DemoController::Exists());
}

TEST(DemoController, ConstructionStartsTheLogAfresh) {
  testing_support::TempDir dir;
  testing_support::ScopedWorkingDirectory inDir(dir.Path());
  testing_support::WriteFile(dir.File("log.txt"), "an earlier run\n");
  DemoController::Instance();
  EXPECT_EQ(testing_support::ReadFile(dir.File("log.txt")), "");
  DemoController::Destroy();
}

}  // namespace
