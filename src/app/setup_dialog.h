#pragma once
// The start dialog's choice of display mode: the list of mode texts, the preselected
// current mode, and reading the chosen text back into numbers.
#include <string>
#include <vector>

#include "platform/mode_dialog.h"
#include "platform/window.h"

// What the dialog hands to the main routine.
struct DisplayModeChoice {
  bool accepted = false;  // true after Start
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
  int refreshRate = 0;
};

// "1024x768x32bpp 60Hz".
std::string FormatModeText(const platform::DisplayMode& mode);

// Every mode's text, sorted as text; duplicates are kept.
std::vector<std::string> ModeListItems(const std::vector<platform::DisplayMode>& modes);

// The list's prefix search: the first item that begins with prefix (not case-sensitive),
// looking from the item after `after` onwards and wrapping around to it; -1 when none.
int FindItemWithPrefix(const std::vector<std::string>& items, const std::string& prefix, int after = 0);

// Reads width, height, bits per pixel and refresh rate back from a mode text; false
// when the text does not hold all four numbers.
bool ScanModeText(const std::string& text, platform::DisplayMode& mode);

// The mode Start stands for: the selected text's, or the current mode when nothing is
// selected or the text does not scan.
platform::DisplayMode ChosenMode(int selected, const std::string& selectedText,
                                 const platform::DisplayMode& current);

// Runs the dialog over the primary display's modes with the current one preselected.
// Where no display can be opened for it, the current mode is taken as if Start had been
// pressed, and a line for the log is added to notes (the caller writes it once the log
// is in its final state).
DisplayModeChoice RunSetupDialog(const platform::DialogPicture& picture, std::vector<std::string>& notes);
