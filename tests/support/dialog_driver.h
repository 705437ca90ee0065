#pragma once
// Driving the start dialog from a test under Xvfb, the way a user would: find it on
// screen, click its controls, type keys.
#include <memory>
#include <string>
#include <vector>

#include "support/process.h"

namespace testing_support {

enum class DialogControl { kList, kStart, kQuit };

// Polls for the start dialog on screen; its window, or 0 on time-out.
unsigned long WaitForModeDialog(double timeoutSeconds = 30);
// Clicks the middle of one of the dialog's controls.
bool ClickDialogControl(unsigned long window, DialogControl control);
// Gives the window the keyboard focus and types the keys (xdotool key names).
bool TypeKeys(unsigned long window, const std::vector<std::string>& keys);

// Starts a drift program and clicks Start in its dialog. Null when the dialog never
// appeared (the child is then ended).
std::unique_ptr<ChildProcess> StartDriftPastDialog(const std::string& program, const ProcessOptions& options,
                                                   double timeoutSeconds = 30);

}  // namespace testing_support
