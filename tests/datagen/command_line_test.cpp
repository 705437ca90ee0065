// drift-datagen's command line: what each form asks for, and the errors that name the
// option or the step at fault.
#include <gtest/gtest.h>

#include "datagen/command_line.h"

namespace {

using datagen::CommandLine;
using datagen::CommandLineError;

struct Parsed {
  CommandLineError error;
  CommandLine line;
  std::string message;
};

Parsed Parse(const std::vector<std::string>& arguments) {
  Parsed parsed;
  parsed.line.options.contentFolder = "default-content";
  parsed.line.options.fontFolder = "default-fonts";
  parsed.error = datagen::ParseCommandLine(arguments, parsed.line, parsed.message);
  return parsed;
}

TEST(CommandLine, WithoutATreeTheArchiveAndPictureGoIntoTheCurrentFolder) {
  const Parsed bare = Parse({});
  ASSERT_EQ(bare.error, CommandLineError::kNone);
  EXPECT_EQ(bare.line.action, CommandLine::Action::kGenerate);
  EXPECT_EQ(bare.line.options.archivePath, "demodat");
  EXPECT_EQ(bare.line.options.setupPath, "setup.jpg");
  EXPECT_EQ(bare.line.options.contentFolder, "default-content");
  EXPECT_TRUE(bare.line.options.onlySteps.empty());

  const Parsed tree = Parse({"--out", "d", "--fonts", "f"});
  ASSERT_EQ(tree.error, CommandLineError::kNone);
  EXPECT_EQ(tree.line.options.treeFolder, "d");
  EXPECT_EQ(tree.line.options.fontFolder, "f");
  EXPECT_EQ(tree.line.options.archivePath, "") << "a tree alone writes nothing else";
  EXPECT_EQ(tree.line.options.setupPath, "");

  const Parsed archive = Parse({"--archive", "a.zip"});
  EXPECT_EQ(archive.line.options.archivePath, "a.zip");
  EXPECT_EQ(archive.line.options.setupPath, "") << "only what was asked for";
}

TEST(CommandLine, OnlyCollectsStepNamesFromCommasAndRepeats) {
  const Parsed parsed = Parse({"--only", "cameras,materials", "--out", "d", "--only", "masks", "--archive", "a"});
  ASSERT_EQ(parsed.error, CommandLineError::kNone) << parsed.message;
  EXPECT_EQ(parsed.line.options.onlySteps, (std::vector<std::string>{"cameras", "materials", "masks"}));
  EXPECT_EQ(parsed.line.options.archivePath, "a");
  EXPECT_EQ(parsed.line.options.setupPath, "");
}

TEST(CommandLine, OnlyNeedsATreeAndKnownNonEmptyNames) {
  const Parsed noTree = Parse({"--only", "cameras", "--archive", "a"});
  EXPECT_EQ(noTree.error, CommandLineError::kUsage);
  EXPECT_NE(noTree.message.find("--out"), std::string::npos) << noTree.message;

  const Parsed unknown = Parse({"--out", "d", "--only", "cameras,camras"});
  EXPECT_EQ(unknown.error, CommandLineError::kUnknownStep);
  EXPECT_NE(unknown.message.find("'camras'"), std::string::npos) << unknown.message;

  for (const char* list : {"", ",", "cameras,", ",cameras", "cameras,,masks"}) {
    const Parsed empty = Parse({"--out", "d", "--only", list});
    EXPECT_EQ(empty.error, CommandLineError::kUsage) << "'" << list << "'";
  }
}

TEST(CommandLine, UnknownOptionsAndMissingValuesAreNamed) {
  const Parsed unknown = Parse({"--out", "d", "--fast"});
  EXPECT_EQ(unknown.error, CommandLineError::kUsage);
  EXPECT_NE(unknown.message.find("--fast"), std::string::npos) << unknown.message;
  for (const char* option : {"--out", "--only", "--archive", "--setup", "--content", "--fonts"}) {
    const Parsed missing = Parse({option});
    EXPECT_EQ(missing.error, CommandLineError::kUsage) << option;
    EXPECT_NE(missing.message.find(option), std::string::npos) << missing.message;
  }
}

TEST(CommandLine, HelpAndListsAskForNoData) {
  EXPECT_EQ(Parse({"--help"}).line.action, CommandLine::Action::kHelp);
  EXPECT_EQ(Parse({"--out", "d", "-h"}).line.action, CommandLine::Action::kHelp);
  const Parsed list = Parse({"--list"});
  EXPECT_EQ(list.error, CommandLineError::kNone);
  EXPECT_EQ(list.line.action, CommandLine::Action::kListSteps);
  const Parsed events = Parse({"--events"});
  EXPECT_EQ(events.error, CommandLineError::kNone);
  EXPECT_EQ(events.line.action, CommandLine::Action::kListEvents);
  EXPECT_EQ(events.line.options.archivePath, "") << "listing the events writes nothing";
}

}  // namespace
