#include "capture/capture_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Parses a command line given as words after the program name.
bool Parse(std::vector<std::string> words, CaptureOptions& options, std::string& error) {
  std::vector<const char*> argv = {"drift-capture"};
  for (const std::string& word : words) argv.push_back(word.c_str());
  return ParseCaptureOptions(static_cast<int>(argv.size()), argv.data(), options, error);
}

TEST(CaptureOptions, OnlyOutGivesTheWholeDemoAt720pAnd60Fps) {
  CaptureOptions options;
  std::string error;
  ASSERT_TRUE(Parse({"frames"}, options, error)) << error;
  EXPECT_EQ(options.out, "frames");
  EXPECT_EQ(OutputKindOf(options), OutputKind::kFrameFolder);
  EXPECT_EQ(options.width, 1280);
  EXPECT_EQ(options.height, 720);
  EXPECT_EQ(options.fps, 60);
  EXPECT_EQ(options.from, 0.0);
  EXPECT_EQ(options.to, 223.0);
  EXPECT_EQ(options.count, 24);
  EXPECT_TRUE(options.data.empty()) << "demodat beside the program";
  EXPECT_FALSE(options.resume);
}

TEST(CaptureOptions, EveryOptionIsRead) {
  CaptureOptions options;
  std::string error;
  ASSERT_TRUE(Parse({"--data", "d.zip", "--size", "320x180", "--fps", "25", "--from", "10.5", "--to", "20", "--hashes",
                     "h.txt", "--contact-sheet", "s.png", "--at", "11,12.25,19.9", "demo.mp4"},
                    options, error))
      << error;
  EXPECT_EQ(options.data, "d.zip");
  EXPECT_EQ(options.width, 320);
  EXPECT_EQ(options.height, 180);
  EXPECT_EQ(options.fps, 25);
  EXPECT_EQ(options.from, 10.5);
  EXPECT_EQ(options.to, 20.0);
  EXPECT_EQ(options.hashes, "h.txt");
  EXPECT_EQ(options.contactSheet, "s.png");
  EXPECT_EQ(options.at, (std::vector<double>{11.0, 12.25, 19.9}));
  EXPECT_EQ(OutputKindOf(options), OutputKind::kVideo);

  ASSERT_TRUE(Parse({"--contact-sheet", "s.png", "--count", "6"}, options, error)) << error;
  EXPECT_EQ(OutputKindOf(options), OutputKind::kNone);
  EXPECT_EQ(options.count, 6);
  ASSERT_TRUE(Parse({"--resume", "frames"}, options, error)) << error;
  EXPECT_TRUE(options.resume);
  ASSERT_TRUE(Parse({"frames", "--help"}, options, error));
  EXPECT_TRUE(options.help);
}

struct BadLine {
  std::vector<std::string> words;
  const char* says;  // part of the error
};

TEST(CaptureOptions, MalformedOrInconsistentLinesAreRefusedWithTheReason) {
  const std::vector<BadLine> lines = {
      {{}, "nothing to write"},
      {{"a", "b"}, "more than one OUT"},
      {{"--size", "1280", "out"}, "--size takes WxH"},
      {{"--size", "0x720", "out"}, "--size takes WxH"},
      {{"--size", "1280x720x3", "out"}, "--size takes WxH"},
      {{"--size", "99999x10", "out"}, "--size takes WxH"},
      {{"--fps", "0", "out"}, "--fps"},
      {{"--fps", "2.5", "out"}, "--fps"},
      {{"--from", "-1", "out"}, "--from takes seconds"},
      {{"--to", "nan", "out"}, "--to takes seconds"},
      {{"--from", "5", "--to", "5", "out"}, "the section is empty"},
      {{"--fps"}, "--fps needs a value"},
      {{"--count", "5", "out"}, "belong to --contact-sheet"},
      {{"--contact-sheet", "s.png", "--count", "0"}, "--count"},
      {{"--contact-sheet", "s.png", "--at", "1,,2"}, "--at takes times"},
      {{"--contact-sheet", "s.png", "--at", "1", "--count", "2"}, "exclude each other"},
      {{"--contact-sheet", "s.png", "--to", "10", "--at", "10"}, "outside the section"},
      {{"--resume", "demo.mp4"}, "--resume continues a folder"},
      {{"--resume", "--contact-sheet", "s.png"}, "--resume continues a folder"},
      {{"--size", "321x180", "demo.mp4"}, "even width and height"},
      {{"--frobnicate", "out"}, "unknown option --frobnicate"},
  };
  for (const BadLine& line : lines) {
    CaptureOptions options;
    std::string error;
    std::string shown;
    for (const std::string& word : line.words) shown += word + " ";
    EXPECT_FALSE(Parse(line.words, options, error)) << shown;
    EXPECT_NE(error.find(line.says), std::string::npos) << shown << "-> " << error;
  }
}

TEST(CaptureOptions, TheUsageShowsTheSynopsis) {
  const std::string usage = CaptureUsage();
  EXPECT_EQ(usage.rfind("usage: drift-capture [--data DEMODAT] [--size WxH] [--fps N] [--from S] [--to S]", 0), 0u);
  for (const char* option : {"--hashes FILE", "--contact-sheet FILE", "--at T1,T2", "--count N", "--resume", "OUT"}) {
    EXPECT_NE(usage.find(option), std::string::npos) << option;
  }
}

}  // namespace
