// The start of a run as a user sees it: the dialog, then (on Start) the data archive
// beside the program unpacked into the private data folder and the demo window.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <string>

#include "assets/image.h"
#include "platform/zip_archive.h"
#include "support/dialog_driver.h"
#include "support/drift_run.h"
#include "support/process.h"
#include "support/temp_dir.h"
#include "support/test_data_set.h"
#include "support/x11_client.h"

namespace {

using namespace testing_support;
namespace fs = std::filesystem;

class Startup : public DriftRunTest {
 protected:
  // Ends the dialog with `end` and checks that the program stopped without a data folder.
  void ExpectQuitWithoutSideEffects(const std::function<void(unsigned long, ChildProcess&)>& end) {
    ChildProcess drift({drift_}, Options());
    const unsigned long dialog = WaitForModeDialog();
    ASSERT_NE(dialog, 0u) << "the start dialog never appeared";
    EXPECT_TRUE(DataFolderGone());
    end(dialog, drift);
    ASSERT_TRUE(drift.Wait(30)) << "the program did not end";
    EXPECT_EQ(drift.ExitCode(), 0);
    EXPECT_TRUE(DataFolderGone()) << "a data folder was created";
    EXPECT_EQ(WaitForWindow(kDemoTitle, 0.2), 0u);
  }
};

TEST_F(Startup, QuitOrClosingTheDialogEndsTheProgramAtOnce) {
  ExpectQuitWithoutSideEffects([](unsigned long dialog, ChildProcess&) { ClickDialogControl(dialog, DialogControl::kQuit); });
  ExpectQuitWithoutSideEffects([](unsigned long dialog, ChildProcess&) { RequestWindowClose(dialog); });
}

TEST_F(Startup, TheDialogShowsSetupJpgFromTheWorkingDirectory) {
  // A picture whose top half is red and bottom half blue (rows are stored bottom-up).
  Image picture = Image::Allocate(400, 150, 24);
  for (int y = 0; y < 150; ++y) {
    for (int x = 0; x < 400; ++x) {
      unsigned char* p = picture.pixels.get() + (static_cast<size_t>(y) * 400 + x) * 3;
      const bool top = y >= 75;
      p[0] = top ? 230 : 10;
      p[1] = 10;
      p[2] = top ? 10 : 230;
    }
  }
  ASSERT_TRUE(EncodeJpeg(work_.File("setup.jpg"), picture, 95));
  ExpectQuitWithoutSideEffects([](unsigned long dialog, ChildProcess&) {
    unsigned top = 0, bottom = 0, band = 0;
    // The window may be mapped a moment before its first paint.
    for (int attempt = 0; attempt < 100; ++attempt) {
      ASSERT_TRUE(WindowPixel(dialog, 200, 20, top));
      if (((top >> 16) & 0xFF) > 180) break;
      SleepSeconds(0.05);
    }
    ASSERT_TRUE(WindowPixel(dialog, 200, 130, bottom));
    ASSERT_TRUE(WindowPixel(dialog, 200, 152, band));  // just under the picture
    EXPECT_GT((top >> 16) & 0xFF, 180u) << std::hex << top;
    EXPECT_LT(top & 0xFF, 60u) << std::hex << top;
    EXPECT_GT(bottom & 0xFF, 180u) << std::hex << bottom;
    EXPECT_LT((bottom >> 16) & 0xFF, 60u) << std::hex << bottom;
    EXPECT_EQ(band, 0xFFFFFFu) << std::hex << band;
    ClickDialogControl(dialog, DialogControl::kQuit);
  });
}

TEST_F(Startup, EscapeAndEnterInTheDialogDoNotStartOrEnd) {
  ExpectQuitWithoutSideEffects([this](unsigned long dialog, ChildProcess& drift) {
    TypeKeys(dialog, {"Escape", "Return"});
    SleepSeconds(0.5);
    EXPECT_TRUE(drift.Running()) << "a key ended the dialog";
    EXPECT_TRUE(DataFolderGone());
    EXPECT_EQ(WaitForWindow(kDemoTitle, 0.1), 0u);
    ClickDialogControl(dialog, DialogControl::kQuit);
  });
}

TEST_F(Startup, StartUnpacksTheArchiveBesideTheProgramAndTheTeardownRemovesIt) {
  // The program looks for its archive in its own folder: run a copy with a test archive,
  // the test data set packed with backslashes in one name and an empty soundtrack (the
  // demo then plays on the frame clock).
  const std::string bin = work_.File("bin");
  const std::string data = work_.File("data");
  std::string error;
  ASSERT_TRUE(WriteTestDataSet(data, {}, error)) << error;
  fs::create_directories(bin);
  const std::string program = bin + "/drift";
  fs::copy_file(drift_, program);
  platform::ZipWriter zip;
  ASSERT_TRUE(zip.Open(bin + "/demodat"));
  for (const auto& entry : fs::recursive_directory_iterator(data)) {
    const std::string name = fs::relative(entry.path(), data).generic_string();
    if (entry.is_directory()) {
      zip.AddFolder(name);
    } else if (name == "properties/props.scr") {
      zip.AddFile("properties\\props.scr", ReadFile(entry.path().string()));
    } else if (name != "music/osprey.mp3") {
      zip.AddFile(name, ReadFile(entry.path().string()));
    }
  }
  zip.AddFile("music/osprey.mp3", "");
  ASSERT_TRUE(zip.Close());

  auto started = StartDriftPastDialog(program, Options());
  ASSERT_TRUE(started) << "the start dialog never appeared";
  ASSERT_NE(WaitForWindow(kDemoTitle, 30), 0u) << "the demo window never appeared\n" << Log();

  std::string dataFolder;
  for (const auto& entry : fs::directory_iterator(tmp_)) dataFolder = entry.path().string();
  ASSERT_NE(dataFolder.find("halcyra_data_hlc13."), std::string::npos) << dataFolder;
  EXPECT_EQ(fs::status(dataFolder).permissions() & fs::perms::all, fs::perms::owner_all);
  EXPECT_EQ(ReadFile(dataFolder + "/textures/title1.png"), ReadFile(data + "/textures/title1.png"));
  EXPECT_EQ(ReadFile(dataFolder + "/properties/props.scr"), ReadFile(data + "/properties/props.scr"));
  EXPECT_TRUE(fs::is_regular_file(dataFolder + "/music/osprey.mp3"));

  PressEscape();
  ASSERT_TRUE(started->Wait(30)) << "Escape did not end the run";
  EXPECT_EQ(started->ExitCode(), 0);
  EXPECT_TRUE(DataFolderGone()) << "the data folder is still there";
  EXPECT_EQ(Log().find("archive"), std::string::npos) << Log();
  EXPECT_NE(Log().find("no music ("), std::string::npos) << Log();
}

TEST_F(Startup, AMissingArchiveIsLoggedAndTheRunEndsThroughTheTeardown) {
  if (fs::exists(std::string(DRIFT_BINARY_DIR) + "/demodat")) GTEST_SKIP() << "the build has an archive";
  auto started = StartDriftPastDialog(drift_, Options());
  ASSERT_TRUE(started);
  ASSERT_TRUE(started->Wait(30)) << "the run did not end by itself";
  EXPECT_EQ(started->ExitCode(), 0);
  EXPECT_NE(Log().find("couldn't open archive " + std::string(DRIFT_BINARY_DIR) + "/demodat: no such file\n"),
            std::string::npos)
      << Log();
  EXPECT_NE(Log().find("error: model 'doors' wasn't found\n"), std::string::npos) << Log();
  EXPECT_TRUE(DataFolderGone());
}

}  // namespace
