#pragma once
// The start dialog as a native toolkit window: a picture across the top with a white
// band under it, a drop-down list of display modes and the buttons Start and Quit.
// It shows the items it is given in the given order; choosing and reading modes is
// the caller's business.
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// The picture shown across the top: 24-bit RGB, rows bottom-up and tightly packed,
// as the JPEG decoder delivers them. An empty picture leaves the area blank.
struct DialogPicture {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgbBottomUp;
};

enum class DialogOutcome {
  kStart,      // Start pressed
  kQuit,       // Quit pressed, or the window closed
  kNoDisplay,  // the toolkit could not open a display; nothing was shown
  kNoToolkit,  // the toolkit library is not installed (or lacks a function); nothing was shown
};

struct ModeDialogResult {
  DialogOutcome outcome = DialogOutcome::kQuit;
  int selected = -1;         // index into the items; -1 when nothing is selected
  std::string selectedText;  // the selected item's text; empty when nothing is selected
  std::string problem;       // with kNoToolkit: why the toolkit could not be loaded
};

// Layout in pixels, relative to the dialog's client area (also what tests click on).
namespace mode_dialog_layout {
constexpr int kWidth = 400;
constexpr int kHeight = 200;
constexpr int kPictureHeight = 150;  // the picture covers 400 x 150 from the origin;
                                     // a white band fills the rest, behind the controls
constexpr int kControlsTop = 158;
constexpr int kControlHeight = 34;
constexpr int kListLeft = 8, kListWidth = 216;
constexpr int kStartLeft = 232, kQuitLeft = 316, kButtonWidth = 76;
}  // namespace mode_dialog_layout

// The window title, so the dialog can be found on screen.
extern const char kModeDialogTitle[];

// The toolkit is loaded when the dialog is first shown, not linked: the demo runs on a
// desktop without it (at the current mode). This is the library it loads.
extern const char kModeDialogToolkit[];

// Loads the toolkit library and fetches every function the dialog calls. Returns an
// empty string when all are there (also when that library was loaded before), or
// why not: the loader's message, or the first function the library lacks. A library
// that lacks a function is closed again and nothing of it is used.
std::string LoadModeDialogToolkit(const char* library = kModeDialogToolkit);

// Shows the dialog centred on the screen and waits until Start, Quit or close.
// preselected is an item index, or -1 for no selection. Escape and Enter do nothing.
// The toolkit's window is gone from the screen when this returns, so another
// window may take over the display. toolkitLibrary is there for tests, which name a
// library that does not exist to see the demo go on without the dialog.
ModeDialogResult RunModeDialog(const std::vector<std::string>& items, int preselected,
                               const DialogPicture& picture,
                               const char* toolkitLibrary = kModeDialogToolkit);

// The picture's visible part as top-down rows of 0x00RRGGBB pixels, clipped to the
// picture area (at most kWidth x kPictureHeight). Empty when the picture is empty or its
// pixel buffer is shorter than its size says. outWidth/outHeight give the clipped size.
std::vector<std::uint32_t> PicturePixelsTopDown(const DialogPicture& picture, int& outWidth,
                                                int& outHeight);

}  // namespace platform
