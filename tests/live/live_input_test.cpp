// The live player's command line and command channel: what they accept, and that
// everything else is refused with a reason instead of being half understood.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "live/live_commands.h"
#include "live/live_options.h"

namespace {

bool Parse(std::vector<const char*> args, LiveOptions& options, std::string& error) {
  args.insert(args.begin(), "drift-live");
  return ParseLiveOptions(static_cast<int>(args.size()), args.data(), options, error);
}

TEST(LiveOptions, TakesEveryOption) {
  LiveOptions options;
  std::string error;
  ASSERT_TRUE(Parse({"--data", "tree", "--size", "640x360", "--at", "110.5", "--loop", "100,120", "--paused",
                     "--commands"},
                    options, error))
      << error;
  EXPECT_EQ(options.data, "tree");
  EXPECT_EQ(options.width, 640);
  EXPECT_EQ(options.height, 360);
  EXPECT_DOUBLE_EQ(options.at, 110.5);
  EXPECT_TRUE(options.loop);
  EXPECT_DOUBLE_EQ(options.loopFrom, 100.0);
  EXPECT_DOUBLE_EQ(options.loopTo, 120.0);
  EXPECT_TRUE(options.paused);
  EXPECT_TRUE(options.commands);

  LiveOptions defaults;
  ASSERT_TRUE(Parse({}, defaults, error));
  EXPECT_TRUE(defaults.data.empty());
  EXPECT_EQ(defaults.width, 1280);
  EXPECT_EQ(defaults.height, 720);
  EXPECT_FALSE(defaults.paused);
  LiveOptions help;
  ASSERT_TRUE(Parse({"--help"}, help, error));
  EXPECT_TRUE(help.help);
}

TEST(LiveOptions, RefusesWhatItCannotUse) {
  const std::vector<std::vector<const char*>> bad = {
      {"--size", "640"},     {"--size", "8x8"},      {"--size", "640x360x2"}, {"--size", "99999x10"},
      {"--at", "-1"},        {"--at", "nan"},        {"--at", "12s"},         {"--at"},
      {"--loop", "20,10"},   {"--loop", "10"},       {"--loop", "10,10"},     {"--loop", "a,b"},
      {"--data", ""},        {"--fullscreen"},       {"--data"},
  };
  for (const auto& args : bad) {
    LiveOptions options;
    std::string error;
    EXPECT_FALSE(Parse(args, options, error)) << args[0] << (args.size() > 1 ? std::string(" ") + args[1] : "");
    EXPECT_FALSE(error.empty());
  }
  EXPECT_NE(std::string(LiveUsage()).find("--commands"), std::string::npos);
}

TEST(LiveCommands, ReadsEachCommand) {
  std::string error;
  auto seek = ParseLiveCommand("  seek 110.25 ", error);
  ASSERT_TRUE(seek) << error;
  EXPECT_EQ(seek->kind, LiveCommand::kSeek);
  EXPECT_DOUBLE_EQ(seek->seconds, 110.25);

  auto step = ParseLiveCommand("step -3", error);
  ASSERT_TRUE(step);
  EXPECT_EQ(step->kind, LiveCommand::kStep);
  EXPECT_EQ(step->frames, -3);
  auto single = ParseLiveCommand("step", error);
  ASSERT_TRUE(single);
  EXPECT_EQ(single->frames, 1);

  auto loop = ParseLiveCommand("loop 10 20.5", error);
  ASSERT_TRUE(loop);
  EXPECT_EQ(loop->kind, LiveCommand::kLoop);
  EXPECT_DOUBLE_EQ(loop->loopFrom, 10.0);
  EXPECT_DOUBLE_EQ(loop->loopTo, 20.5);
  auto off = ParseLiveCommand("loop off", error);
  ASSERT_TRUE(off);
  EXPECT_EQ(off->kind, LiveCommand::kLoopOff);

  auto shot = ParseLiveCommand("shot /tmp/a picture.png\r", error);
  ASSERT_TRUE(shot);
  EXPECT_EQ(shot->kind, LiveCommand::kShot);
  EXPECT_EQ(shot->file, "/tmp/a picture.png");

  const std::vector<std::pair<const char*, LiveCommand::Kind>> bare = {{"play", LiveCommand::kPlay},
                                                                       {"pause", LiveCommand::kPause},
                                                                       {"reload", LiveCommand::kReload},
                                                                       {"time", LiveCommand::kTime},
                                                                       {"quit", LiveCommand::kQuit}};
  for (const auto& entry : bare) {
    auto command = ParseLiveCommand(entry.first, error);
    ASSERT_TRUE(command) << entry.first;
    EXPECT_EQ(command->kind, entry.second);
    EXPECT_STREQ(LiveCommandName(command->kind), entry.first);
  }
}

TEST(LiveCommands, RefusesMalformedCommandsWithAReason) {
  const std::vector<const char*> bad = {"",          "   ",        "seek",        "seek x",      "seek -1",
                                        "seek inf",  "seek 1 2",   "step 1.5",    "step many",   "step 1 2",
                                        "loop",      "loop 5",     "loop 5 5",    "loop 6 5",    "loop a b",
                                        "shot",      "shot   ",    "play now",    "quit 1",      "jump 10",
                                        "SEEK 10",   "seek 1e999", "step 1e12"};
  for (const char* line : bad) {
    std::string error;
    EXPECT_FALSE(ParseLiveCommand(line, error)) << line;
    EXPECT_FALSE(error.empty()) << line;
  }
}

TEST(LiveCommands, AnswersAreOneLine) {
  EXPECT_EQ(OkAnswer("seek", 110.0, 12.345), "ok seek 110.000 12.3");
  EXPECT_EQ(ErrorAnswer("two\nlines\r"), "error two lines ");
}

}  // namespace
