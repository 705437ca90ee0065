// drift-capture: renders the demo off screen on a fixed clock into PNG frames or a
// video with the soundtrack, with frame hashes and a contact sheet (capture_options.cpp
// has the command line).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "capture/capture_options.h"
#include "capture/capture_run.h"
#include "capture/sheet_labels.h"

int main(int argc, char** argv) {
  CaptureOptions options;
  std::string error;
  if (!ParseCaptureOptions(argc, argv, options, error)) {
    std::fprintf(stderr, "drift-capture: %s\n%s", error.c_str(), CaptureUsage());
    return kCaptureUsage;
  }
  if (options.help) {
    std::fputs(CaptureUsage(), stdout);
    return kCaptureDone;
  }
  // With no display, SDL's offscreen driver gives a GL context through EGL.
  const char* display = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if ((display == nullptr || *display == '\0') && (wayland == nullptr || *wayland == '\0')) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
  }
  LabelRenderer labels;
  if (!options.contactSheet.empty()) {
    labels = FontLabels(kLabelFont, error);
    if (!labels) std::fprintf(stderr, "drift-capture: the contact sheet has no labels: %s\n", error.c_str());
  }
  return RunCapture(options, labels);
}
