// The start dialog on the test display, driven with clicks and keys. Each dialog runs
// in a child process of its own (this test program started again), so the toolkit and
// the display connection start fresh every time, as they do in the demo.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/setup_dialog.h"
#include "platform/mode_dialog.h"
#include "platform/window.h"
#include "support/dialog_driver.h"
#include "support/process.h"
#include "support/temp_dir.h"
#include "support/x11_client.h"

namespace {

using namespace testing_support;
namespace layout = platform::mode_dialog_layout;

constexpr char kChildVariable[] = "DRIFT_DIALOG_CHILD";    // "modes" or "setup"
constexpr char kItemsVariable[] = "DRIFT_DIALOG_ITEMS";    // items separated by '|'
constexpr char kSelectVariable[] = "DRIFT_DIALOG_SELECT";  // preselected index
constexpr char kResultVariable[] = "DRIFT_DIALOG_RESULT";  // file for the outcome

// A picture larger than the area, red in its top-left quarter, blue at the bottom
// left, green elsewhere; rows bottom-up as the JPEG decoder gives them.
platform::DialogPicture TestPicture() {
  platform::DialogPicture picture;
  picture.width = 420;
  picture.height = 160;
  picture.rgbBottomUp.resize(static_cast<std::size_t>(picture.width) * picture.height * 3);
  for (int row = 0; row < picture.height; ++row) {
    const int top = picture.height - 1 - row;
    for (int x = 0; x < picture.width; ++x) {
      unsigned char* p = &picture.rgbBottomUp[(static_cast<std::size_t>(row) * picture.width + x) * 3];
      if (x < 100 && top < 50) {
        p[0] = 255, p[1] = 0, p[2] = 0;
      } else if (x < 100 && top >= 100) {
        p[0] = 0, p[1] = 0, p[2] = 255;
      } else {
        p[0] = 0, p[1] = 255, p[2] = 0;
      }
    }
  }
  return picture;
}

std::vector<std::string> SplitItems(const std::string& text) {
  std::vector<std::string> items;
  std::istringstream in(text);
  for (std::string item; std::getline(in, item, '|');) items.push_back(item);
  return items;
}

// Runs before the tests when this program was started as a dialog child: shows the
// dialog, writes what it returned, and ends the process.
bool RunAsDialogChildWhenAsked() {
  const char* kind = std::getenv(kChildVariable);
  const char* resultPath = std::getenv(kResultVariable);
  if (kind == nullptr || resultPath == nullptr) return false;
  std::ofstream out(resultPath);
  if (std::string(kind) == "setup") {
    std::vector<std::string> notes;
    const DisplayModeChoice choice = RunSetupDialog(platform::DialogPicture{}, notes);
    out << choice.accepted << ' ' << FormatModeText({choice.width, choice.height, choice.bitsPerPixel,
                                                     choice.refreshRate})
        << '\n';
  } else {
    const char* items = std::getenv(kItemsVariable);
    const char* select = std::getenv(kSelectVariable);
    const platform::ModeDialogResult result = platform::RunModeDialog(
        SplitItems(items != nullptr ? items : ""), select != nullptr ? std::atoi(select) : -1, TestPicture());
    out << static_cast<int>(result.outcome) << '\n' << result.selected << '\n' << result.selectedText << '\n';
  }
  out.close();
  std::_Exit(0);
}

const bool g_ranAsChild = RunAsDialogChildWhenAsked();

class ModeDialog : public ::testing::Test {
 protected:
  void SetUp() override { HoldDisplayConnection(); }

  std::unique_ptr<ChildProcess> Show(const std::string& kind, const std::vector<std::string>& items = {},
                                     int preselected = -1) {
    ProcessOptions options;
    options.setEnv[kChildVariable] = kind;
    options.setEnv[kResultVariable] = resultPath_;
    std::string joined;
    for (const std::string& item : items) joined += (joined.empty() ? "" : "|") + item;
    options.setEnv[kItemsVariable] = joined;
    options.setEnv[kSelectVariable] = std::to_string(preselected);
    char self[4096] = {};
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) return nullptr;
    return std::make_unique<ChildProcess>(std::vector<std::string>{self}, options);
  }

  // The dialog's outcome, selected index and text, one per line.
  std::vector<std::string> Result() const {
    std::vector<std::string> lines;
    std::istringstream in(ReadFile(resultPath_));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  TempDir work_;
  std::string resultPath_ = work_.File("result.txt");
  const std::vector<std::string> items_ = {"1024x768x32bpp 60Hz", "640x480x32bpp 60Hz", "800x600x16bpp 75Hz"};
};

TEST_F(ModeDialog, StartReturnsThePreselectedItem) {
  auto child = Show("modes", items_, 1);
  const unsigned long dialog = WaitForModeDialog();
  ASSERT_NE(dialog, 0u) << "the dialog never appeared";
  ASSERT_TRUE(ClickDialogControl(dialog, DialogControl::kStart));
  ASSERT_TRUE(child->Wait(30));
  const std::vector<std::string> result = Result();
  ASSERT_EQ(result.size(), 3u);
  EXPECT_EQ(result[0], std::to_string(static_cast<int>(platform::DialogOutcome::kStart)));
  EXPECT_EQ(result[1], "1");
  EXPECT_EQ(result[2], "640x480x32bpp 60Hz");
}

TEST_F(ModeDialog, EscapeAndEnterDoNothingWhileArrowKeysMoveTheSelection) {
  auto child = Show("modes", items_, 1);
  const unsigned long dialog = WaitForModeDialog();
  ASSERT_NE(dialog, 0u);
  // The list has the focus: Down moves its selection, so keys do reach the dialog.
  ASSERT_TRUE(TypeKeys(dialog, {"KP_Enter", "Escape", "Return", "Down"}));
  SleepSeconds(0.5);
  EXPECT_TRUE(child->Running()) << "Escape or Enter ended the dialog";
  ASSERT_TRUE(ClickDialogControl(dialog, DialogControl::kStart));
  ASSERT_TRUE(child->Wait(30));
  const std::vector<std::string> result = Result();
  ASSERT_EQ(result.size(), 3u);
  EXPECT_EQ(result[1], "2");
  EXPECT_EQ(result[2], "800x600x16bpp 75Hz");
}

TEST_F(ModeDialog, QuitAndClosingTheWindowAreNotAccepted) {
  for (bool close : {false, true}) {
    auto child = Show("modes", items_, 0);
    const unsigned long dialog = WaitForModeDialog();
    ASSERT_NE(dialog, 0u);
    if (close) {
      ASSERT_TRUE(RequestWindowClose(dialog));
    } else {
      ASSERT_TRUE(ClickDialogControl(dialog, DialogControl::kQuit));
    }
    ASSERT_TRUE(child->Wait(30)) << (close ? "close" : "Quit");
    const std::vector<std::string> result = Result();
    ASSERT_FALSE(result.empty());
    EXPECT_EQ(result[0], std::to_string(static_cast<int>(platform::DialogOutcome::kQuit)));
  }
}

TEST_F(ModeDialog, StartWithNothingSelectedReportsNoSelection) {
  auto child = Show("modes", items_, -1);
  const unsigned long dialog = WaitForModeDialog();
  ASSERT_NE(dialog, 0u);
  ASSERT_TRUE(ClickDialogControl(dialog, DialogControl::kStart));
  ASSERT_TRUE(child->Wait(30));
  const std::vector<std::string> result = Result();
  ASSERT_GE(result.size(), 2u);
  EXPECT_EQ(result[1], "-1");
}

TEST_F(ModeDialog, ShowsThePictureUprightWithAWhiteBandBelow) {
  auto child = Show("modes", items_, 0);
  const unsigned long dialog = WaitForModeDialog();
  ASSERT_NE(dialog, 0u);
  SleepSeconds(0.5);  // let it draw
  unsigned topLeft = 0, bottomLeft = 0, right = 0, band = 0, bandRight = 0;
  ASSERT_TRUE(WindowPixel(dialog, 10, 10, topLeft));
  ASSERT_TRUE(WindowPixel(dialog, 10, 140, bottomLeft));
  ASSERT_TRUE(WindowPixel(dialog, 390, 10, right));
  ASSERT_TRUE(WindowPixel(dialog, 200, layout::kPictureHeight + 2, band));
  ASSERT_TRUE(WindowPixel(dialog, layout::kWidth - 2, layout::kHeight - 2, bandRight));
  EXPECT_EQ(topLeft, 0xff0000u);
  EXPECT_EQ(bottomLeft, 0x0000ffu);
  EXPECT_EQ(right, 0x00ff00u);
  EXPECT_EQ(band, 0xffffffu);
  EXPECT_EQ(bandRight, 0xffffffu);
  ASSERT_TRUE(ClickDialogControl(dialog, DialogControl::kQuit));
  ASSERT_TRUE(child->Wait(30));
}

// The demo's own dialog: the primary display's modes with the current one selected;
// Start hands back exactly that mode.
TEST_F(ModeDialog, SetupDialogStartsWithTheCurrentMode) {
  platform::DisplayMode current;
  ASSERT_TRUE(platform::CurrentDisplayMode(current)) << platform::VideoError();
  auto child = Show("setup");
  const unsigned long dialog = WaitForModeDialog();
  ASSERT_NE(dialog, 0u);
  ASSERT_TRUE(ClickDialogControl(dialog, DialogControl::kStart));
  ASSERT_TRUE(child->Wait(30));
  EXPECT_EQ(ReadFile(resultPath_), "1 " + FormatModeText(current) + "\n");
}

}  // namespace
