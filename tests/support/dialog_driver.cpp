#include "support/dialog_driver.h"

#include <memory>

#include "platform/mode_dialog.h"
#include "support/x11_client.h"

namespace testing_support {

unsigned long WaitForModeDialog(double timeoutSeconds) {
  return WaitForWindow(platform::kModeDialogTitle, timeoutSeconds);
}

bool ClickDialogControl(unsigned long window, DialogControl control) {
  namespace layout = platform::mode_dialog_layout;
  int x = layout::kListLeft + layout::kListWidth / 2;
  if (control == DialogControl::kStart) x = layout::kStartLeft + layout::kButtonWidth / 2;
  if (control == DialogControl::kQuit) x = layout::kQuitLeft + layout::kButtonWidth / 2;
  const int y = layout::kControlsTop + layout::kControlHeight / 2;
  return RunCommand({"xdotool", "mousemove", "--sync", "--window", std::to_string(window), std::to_string(x),
                     std::to_string(y), "click", "1"}) == 0;
}

bool TypeKeys(unsigned long window, const std::vector<std::string>& keys) {
  if (RunCommand({"xdotool", "windowfocus", "--sync", std::to_string(window)}) != 0) return false;
  for (const std::string& key : keys) {
    if (RunCommand({"xdotool", "key", "--delay", "50", key}) != 0) return false;
  }
  return true;
}

std::unique_ptr<ChildProcess> StartDriftPastDialog(const std::string& program, const ProcessOptions& options,
                                                   double timeoutSeconds) {
  auto child = std::make_unique<ChildProcess>(std::vector<std::string>{program}, options);
  const unsigned long dialog = WaitForModeDialog(timeoutSeconds);
  if (dialog == 0 || !ClickDialogControl(dialog, DialogControl::kStart)) return nullptr;
  return child;
}

}  // namespace testing_support
