// drift-capture as people and scripts run it, on the small test data set: the same
// frames for the same times whichever section or run draws them, Ctrl-C and --resume,
// the video with its soundtrack, the contact sheet, and what it says when the data is
// missing or broken.
#include <signal.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "assets/image.h"
#include "capture/frame_folder.h"
#include "capture/frame_hashes.h"
#include "support/process.h"
#include "support/temp_dir.h"
#include "support/test_data_set.h"

namespace {

using namespace testing_support;
namespace fs = std::filesystem;

const std::string kCapture = std::string(DRIFT_BINARY_DIR) + "/drift-capture";

class CaptureRun : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(tmp_);
    std::string error;
    ASSERT_TRUE(WriteTestDataSet(work_.File("data"), options_, error)) << error;
    ASSERT_TRUE(PackDataFolder(work_.File("data"), archive_, error)) << error;
  }

  ProcessOptions Options() const {
    ProcessOptions options;
    options.workingDirectory = work_.Path();
    options.setEnv["TMPDIR"] = tmp_;
    options.stderrPath = work_.File("stderr.txt");
    return options;
  }
  // Runs drift-capture on the test data set at a small size and 10 frames a second.
  int Capture(std::vector<std::string> args, double timeout = 240) {
    std::vector<std::string> argv = {kCapture, "--data", archive_, "--size", "160x96", "--fps", "10"};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunCommand(argv, timeout, Options());
  }
  std::string Stderr() const { return ReadFile(work_.File("stderr.txt")); }
  bool NothingLeftInTmp() const { return fs::is_empty(tmp_); }
  std::map<long, HashLine> Hashes(const std::string& name) const { return ReadHashFile(work_.File(name)); }

  TestDataSetOptions options_;
  TempDir work_;
  std::string tmp_ = work_.File("tmp");
  std::string archive_ = work_.File("demodat");
};

// Every frame of `part` appears in `whole` with the same hash.
void ExpectSameFrames(const std::map<long, HashLine>& part, const std::map<long, HashLine>& whole) {
  ASSERT_FALSE(part.empty());
  for (const auto& [frame, line] : part) {
    const auto found = whole.find(frame);
    ASSERT_NE(found, whole.end()) << "frame " << frame;
    EXPECT_EQ(found->second.hash, line.hash) << "frame " << frame;
    EXPECT_DOUBLE_EQ(found->second.seconds, line.seconds);
  }
}

TEST_F(CaptureRun, TheSameTimesGiveTheSameFramesWhicheverRunOrSectionDrawsThem) {
  // Sparks fly and the robot lies at 100 s; the shards of the broken wall fly at 167 s.
  for (const auto& [from, to] : {std::pair<std::string, std::string>{"100", "101.5"}, {"166.5", "167.5"}}) {
    ASSERT_EQ(Capture({"--from", from, "--to", to, "--hashes", "a.txt", "a"}), 0) << Stderr();
    // Hashes alone: every frame drawn and hashed, no picture written.
    ASSERT_EQ(Capture({"--from", from, "--to", to, "--hashes", "b.txt"}), 0) << Stderr();
    const double longerFrom = std::stod(from) - 1.5;
    ASSERT_EQ(Capture({"--from", std::to_string(longerFrom), "--to", std::to_string(std::stod(to) + 1), "--hashes",
                       "longer.txt", "longer"}),
              0)
        << Stderr();
    // Only a few frames drawn, with the updates of all the others in between.
    ASSERT_EQ(Capture({"--from", from, "--to", to, "--hashes", "sheet.txt", "--contact-sheet", "sheet.png", "--count",
                       "3"}),
              0)
        << Stderr();

    const auto a = Hashes("a.txt");
    EXPECT_EQ(a.size(), 15u - (from == "166.5" ? 5u : 0u)) << from;
    EXPECT_EQ(ReadFile(work_.File("a.txt")), ReadFile(work_.File("b.txt"))) << "two runs of " << from;
    EXPECT_NE(Stderr().find("drawing with "), std::string::npos) << Stderr();
    ExpectSameFrames(a, Hashes("longer.txt"));
    ExpectSameFrames(Hashes("sheet.txt"), a);
    EXPECT_EQ(Hashes("sheet.txt").size(), 3u);
    // Not one picture over and over: the section moves.
    std::set<std::uint64_t> distinct;
    for (const auto& [frame, line] : a) distinct.insert(line.hash);
    EXPECT_GT(distinct.size(), a.size() / 2) << from;
  }
  EXPECT_TRUE(NothingLeftInTmp()) << "the data folders are removed";
}

TEST_F(CaptureRun, TheHashIsThatOfTheFramesFile) {
  ASSERT_EQ(Capture({"--from", "20", "--to", "20.3", "--hashes", "h.txt", "frames"}), 0) << Stderr();
  const auto hashes = Hashes("h.txt");
  ASSERT_EQ(hashes.size(), 3u);
  for (const auto& [frame, line] : hashes) {
    EXPECT_DOUBLE_EQ(line.seconds, frame / 10.0);
    Image picture;
    ASSERT_TRUE(DecodePng(work_.File("frames/" + FrameFolder::FileName(frame)), picture)) << frame;
    EXPECT_EQ(picture.width, 160);
    EXPECT_EQ(picture.height, 96);
    EXPECT_EQ(PixelHash(picture), line.hash) << frame;
  }
}

TEST_F(CaptureRun, AnInterruptedCaptureResumesWhereItStopped) {
  const std::vector<std::string> section = {"--from", "30", "--to", "50", "--hashes", "h.txt"};
  std::vector<std::string> argv = {kCapture, "--data", archive_, "--size", "160x96", "--fps", "10"};
  argv.insert(argv.end(), section.begin(), section.end());
  argv.push_back("frames");
  {
    ChildProcess capture(argv, Options());
    // Ctrl-C once a few frames are written.
    for (int i = 0; i < 600 && !FileExists(work_.File("frames/" + FrameFolder::FileName(305))); ++i) SleepSeconds(0.1);
    capture.Kill(SIGINT);
    ASSERT_TRUE(capture.Wait(60));
    ASSERT_EQ(capture.ExitCode(), 130) << Stderr();
  }
  EXPECT_NE(Stderr().find("--resume"), std::string::npos) << Stderr();
  EXPECT_TRUE(NothingLeftInTmp());
  std::size_t written = 0;
  for (const auto& entry : fs::directory_iterator(work_.File("frames"))) {
    if (entry.path().extension() != ".png") continue;
    ++written;
    Image picture;
    EXPECT_TRUE(DecodePng(entry.path().string(), picture)) << entry.path() << " is complete";
  }
  ASSERT_GT(written, 5u);
  ASSERT_LT(written, 200u) << "stopped before the end";
  EXPECT_EQ(Hashes("h.txt").size(), written);

  // A hash file that lost its first lines gets them back from the frames' files.
  const std::string lines = ReadFile(work_.File("h.txt"));
  WriteFile(work_.File("h.txt"), lines.substr(lines.find('\n', lines.find('\n') + 1) + 1));

  std::vector<std::string> resume = section;
  resume.insert(resume.end(), {"--contact-sheet", "resumed.png", "--count", "4", "--resume", "frames"});
  ASSERT_EQ(Capture(resume), 0) << Stderr();
  EXPECT_NE(Stderr().find("resuming at frame " + std::to_string(300 + written)), std::string::npos) << Stderr();
  std::vector<std::string> whole = section;
  whole.back() = "whole.txt";
  whole.insert(whole.end(), {"--contact-sheet", "whole.png", "--count", "4", "whole"});
  ASSERT_EQ(Capture(whole), 0) << Stderr();
  EXPECT_EQ(ReadFile(work_.File("h.txt")), ReadFile(work_.File("whole.txt")));
  EXPECT_TRUE(FileExists(work_.File("frames/" + FrameFolder::FileName(499))));
  // The sheet of the resumed capture takes its first frames from their files.
  Image resumed;
  Image uninterrupted;
  ASSERT_TRUE(DecodePng(work_.File("resumed.png"), resumed));
  ASSERT_TRUE(DecodePng(work_.File("whole.png"), uninterrupted));
  ASSERT_EQ(resumed.Bytes(), uninterrupted.Bytes());
  EXPECT_TRUE(std::equal(resumed.pixels.get(), resumed.pixels.get() + resumed.Bytes(), uninterrupted.pixels.get()));
}

TEST_F(CaptureRun, AVideoHasTheSectionsLengthAndItsSoundtrack) {
  ASSERT_EQ(Capture({"--from", "100", "--to", "102", "clip.mp4"}), 0) << Stderr();
  ProcessOptions probe;
  probe.stdoutPath = work_.File("probe.txt");
  ASSERT_EQ(RunCommand({"ffprobe", "-v", "error", "-show_entries", "stream=codec_type,nb_frames,duration", "-of",
                        "compact", work_.File("clip.mp4")},
                       60, probe),
            0);
  const std::string streams = ReadFile(probe.stdoutPath);
  EXPECT_NE(streams.find("codec_type=video|duration=2.000000|nb_frames=20"), std::string::npos) << streams;
  EXPECT_NE(streams.find("codec_type=audio"), std::string::npos) << streams;
  EXPECT_TRUE(NothingLeftInTmp());
}

TEST_F(CaptureRun, AContactSheetOfTheWholeTimelineNeedsNoOut) {
  ASSERT_EQ(Capture({"--contact-sheet", "sheet.png", "--count", "5"}), 0) << Stderr();
  Image sheet;
  ASSERT_TRUE(DecodePng(work_.File("sheet.png"), sheet));
  EXPECT_EQ(sheet.width, 8 + 3 * (160 + 8));
  EXPECT_EQ(sheet.height, 8 + 2 * (96 + 24 + 8));
  EXPECT_NE(Stderr().find("GL errors: 0 in "), std::string::npos) << Stderr();
}

TEST_F(CaptureRun, MissingOrBrokenDataFailsWithTheReason) {
  ASSERT_EQ(RunCommand({kCapture, "--data", work_.File("nothing"), "out"}, 60, Options()), 1);
  EXPECT_NE(Stderr().find("no data archive at " + work_.File("nothing")), std::string::npos) << Stderr();

  std::string error;
  TestDataSetOptions missing;
  missing.omit = {"models/doors.geo"};
  ASSERT_TRUE(WriteTestDataSet(work_.File("broken"), missing, error)) << error;
  ASSERT_TRUE(PackDataFolder(work_.File("broken"), archive_, error)) << error;
  EXPECT_EQ(Capture({"out"}), 1);
  EXPECT_NE(Stderr().find("log.txt: error: model 'doors' wasn't found"), std::string::npos) << Stderr();
  EXPECT_TRUE(NothingLeftInTmp());

  EXPECT_EQ(RunCommand({kCapture, "--fps", "many", "out"}, 60, Options()), 2);
  EXPECT_NE(Stderr().find("usage: drift-capture"), std::string::npos) << Stderr();
}

}  // namespace
