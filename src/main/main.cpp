// The program's entry: the start dialog chooses the display mode, the data archive is
// unpacked into a private data folder, the controller runs through its lifecycle and
// the frame loop, and the teardown removes the data folder again.
#include <string>
#include <vector>

#include "app/archive.h"
#include "app/data_folder.h"
#include "app/frame_loop.h"
#include "base/log.h"
#include "app/setup_dialog.h"
#include "assets/image.h"
#include "demo/demo_controller.h"
#include "platform/signals.h"
#include "platform/window.h"

namespace {

constexpr char kArchiveName[] = "demodat";
constexpr char kDialogPicture[] = "setup.jpg";

// The dialog's picture from the working directory; empty (a blank picture area) when
// the file is missing or unreadable, which the decoder reports on standard error.
platform::DialogPicture LoadDialogPicture() {
  platform::DialogPicture picture;
  Image image;
  if (!DecodeJpeg(kDialogPicture, image) || image.bitsPerPixel != 24) return picture;
  picture.width = image.width;
  picture.height = image.height;
  picture.rgbBottomUp.assign(image.pixels.get(), image.pixels.get() + image.Bytes());
  return picture;
}

void TearDown(const std::string& dataFolder) {
  DemoController* controller = DemoController::Instance();
  if (controller != nullptr) controller->Shutdown();
  DemoController::Destroy();
  platform::QuitVideo();
  RemoveDataFolder(dataFolder);
}

void RunMain() {
  // Lines about the start-up before the controller exists are held back: constructing
  // the controller starts the log afresh.
  std::vector<std::string> notes;
  const DisplayModeChoice choice = RunSetupDialog(LoadDialogPicture(), notes);
  if (!choice.accepted) {
    platform::QuitVideo();
    return;
  }

  // From here on SIGINT/SIGTERM end the run through the teardown, so the data folder
  // is always removed. During the dialog they still end the process at once.
  platform::InstallStopSignalHandlers();
  const std::string dataFolder = CreateDataFolder();
  if (dataFolder.empty()) {
    notes.push_back("couldn't create the data folder");
  } else {
    UnpackArchive(ProgramFolder() + kArchiveName, dataFolder, notes);
  }

  DemoController* controller = DemoController::Instance();
  for (const std::string& note : notes) WriteLog("%s", note.c_str());
  if (controller == nullptr) {
    RemoveDataFolder(dataFolder);
    return;
  }

  if (!platform::StopRequested() &&
      controller->Init(choice.width, choice.height, choice.bitsPerPixel, choice.refreshRate) &&
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
