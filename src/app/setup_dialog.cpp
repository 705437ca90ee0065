#include "app/setup_dialog.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

std::string FormatModeText(const platform::DisplayMode& mode) {
  char text[128];
  std::snprintf(text, sizeof text, "%dx%dx%dbpp %dHz", mode.width, mode.height, mode.bitsPerPixel,
                mode.refreshRate);
  return text;
}

std::vector<std::string> ModeListItems(const std::vector<platform::DisplayMode>& modes) {
  std::vector<std::string> items;
  items.reserve(modes.size());
  for (const platform::DisplayMode& mode : modes) items.push_back(FormatModeText(mode));
  std::stable_sort(items.begin(), items.end());
  return items;
}

namespace {

bool StartsWithIgnoringCase(const std::string& text, const std::string& prefix) {
  if (prefix.size() > text.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(prefix[i]))) {
      return false;
    }
  }
  return true;
}

}  // namespace

int FindItemWithPrefix(const std::vector<std::string>& items, const std::string& prefix, int after) {
  const int count = static_cast<int>(items.size());
  if (count == 0) return -1;
  const int start = after >= 0 && after < count ? after : count - 1;
  for (int step = 1; step <= count; ++step) {
    const int index = (start + step) % count;
    if (StartsWithIgnoringCase(items[index], prefix)) return index;
  }
  return -1;
}

bool ScanModeText(const std::string& text, platform::DisplayMode& mode) {
  platform::DisplayMode scanned;
  if (std::sscanf(text.c_str(), "%d%*c%d%*c%d%*s %d%*s", &scanned.width, &scanned.height,
                  &scanned.bitsPerPixel, &scanned.refreshRate) != 4) {
    return false;
  }
  mode = scanned;
  return true;
}

platform::DisplayMode ChosenMode(int selected, const std::string& selectedText,
                                 const platform::DisplayMode& current) {
  platform::DisplayMode mode = current;
  if (selected < 0 || !ScanModeText(selectedText, mode)) return current;
  return mode;
}

DisplayModeChoice RunSetupDialog(const platform::DialogPicture& picture, std::vector<std::string>& notes) {
  platform::DisplayMode current;
  if (!platform::CurrentDisplayMode(current)) {
    notes.push_back("no display mode available: " + platform::VideoError());
  }
  const std::vector<std::string> items = ModeListItems(platform::DisplayModes());
  const int preselected = FindItemWithPrefix(items, FormatModeText(current));

  const platform::ModeDialogResult result = platform::RunModeDialog(items, preselected, picture);
  DisplayModeChoice choice;
  platform::DisplayMode mode = current;
  switch (result.outcome) {
    case platform::DialogOutcome::kQuit:
      return choice;
    case platform::DialogOutcome::kNoDisplay:
      notes.push_back("no display for the setup dialog, using the current mode " + FormatModeText(current));
      break;
    case platform::DialogOutcome::kNoToolkit:
      notes.push_back("no GTK 3 for the setup dialog (" + result.problem + "), using the current mode " +
                      FormatModeText(current));
      break;
    case platform::DialogOutcome::kStart:
      mode = ChosenMode(result.selected, result.selectedText, current);
      break;
  }
  choice.accepted = true;
  choice.width = mode.width;
  choice.height = mode.height;
  choice.bitsPerPixel = mode.bitsPerPixel;
  choice.refreshRate = mode.refreshRate;
  return choice;
}
