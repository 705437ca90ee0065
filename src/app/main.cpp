// The program's entry: choose the display mode, prepare the private data folder,
// run the controller through its lifecycle and the frame loop, and tear down.
#include <string>

#include "app/data_folder.h"
#include "app/frame_loop.h"
#include "app/log.h"
#include "demo/demo_controller.h"
#include "platform/signals.h"
#include "platform/window.h"

namespace {

void TearDown(const std::string& dataFolder) {
  DemoController* controller = DemoController::Instance();
  if (controller != nullptr) controller->Shutdown();
  DemoController::Destroy();
  platform::QuitVideo();
  RemoveDataFolder(dataFolder);
}

void RunMain() {
  platform::DisplayMode mode;
  if (!platform::CurrentDisplayMode(mode)) {
    WriteLog("no display mode available: %s", platform::VideoError().c_str());
  }

  platform::InstallStopSignalHandlers();
  const std::string dataFolder = CreateDataFolder();

  DemoController* controller = DemoController::Instance();
  if (controller == nullptr) {
    RemoveDataFolder(dataFolder);
    return;
  }
  if (dataFolder.empty()) WriteLog("couldn't create the data folder");

  if (!platform::StopRequested() &&
      controller->Init(mode.width, mode.height, mode.bitsPerPixel, mode.refreshRate) &&
      !platform::StopRequested() && controller->LoadContent(dataFolder) &&
      !platform::StopRequested() && controller->Prepare()) {
    FrameTimer timer;
    RunFrameLoop(*controller, timer, PlatformFrameLoopEnvironment());
  }
  TearDown(dataFolder);
}

}  // namespace

int main() {
  OpenLog();
  RunMain();
  return 0;
}
