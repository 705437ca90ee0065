#include "base/log.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"

namespace {

using testing_support::ReadFile;
using testing_support::TempDir;

class LogTest : public ::testing::Test {
 protected:
  void SetUp() override { OpenLog(path_); }
  void TearDown() override { CloseLog(); }
  std::string Content() const { return ReadFile(path_); }

  TempDir dir_;
  std::string path_ = dir_.File("log.txt");
};

TEST_F(LogTest, WritesEachMessageAsOneFlushedLine) {
  WriteLog("Light");
  EXPECT_EQ(Content(), "Light\n");  // on disk before the call returns
  WriteLog("lightTransform.a[%d] = %.4ff;", 3, 0.5f);
  EXPECT_EQ(Content(), "Light\nlightTransform.a[3] = 0.5000f;\n");
}

TEST_F(LogTest, AnEmptyFormatWritesAnEmptyLine) {
  WriteLog("");
  WriteLog("x");
  EXPECT_EQ(Content(), "\nx\n");
}

TEST_F(LogTest, PercentSignsInArgumentsAreNotFormatted) {
  WriteLog("error: %s", "100%s done %n");
  EXPECT_EQ(Content(), "error: 100%s done %n\n");
}

TEST_F(LogTest, OverlongMessagesAreCutAtTheBufferSize) {
  const std::string longText(5000, 'q');
  WriteLog("error: %s", longText.c_str());
  WriteLog("next");
  const std::string content = Content();
  const std::string expectedFirst = "error: " + std::string(kLogBufferSize - 1 - 7, 'q') + "\n";
  EXPECT_EQ(content, expectedFirst + "next\n");
}

TEST_F(LogTest, ReopeningTruncates) {
  WriteLog("first run");
  OpenLog(path_);
  WriteLog("second run");
  EXPECT_EQ(Content(), "second run\n");
}

TEST(LogWithoutFile, WritesAreDroppedWhenTheFileCannotBeOpened) {
  OpenLog("/nonexistent-folder/for/sure/log.txt");
  WriteLog("dropped %d", 1);  // must not crash
  CloseLog();
}

}  // namespace
