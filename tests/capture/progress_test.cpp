#include "capture/progress.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

TEST(Progress, DurationsReadAsClockTimes) {
  EXPECT_EQ(FormatDuration(0), "0:00");
  EXPECT_EQ(FormatDuration(65.4), "1:05");
  EXPECT_EQ(FormatDuration(3725), "1:02:05");
  EXPECT_EQ(FormatDuration(-3), "0:00");
}

TEST(Progress, ALogGetsTheFinalLineWithCountsAndRate) {
  std::FILE* out = std::tmpfile();
  ASSERT_NE(out, nullptr);
  Progress progress(8, "frames", out);
  for (int i = 0; i < 3; ++i) progress.Step();
  progress.Finish();
  std::rewind(out);
  char text[256] = {};
  ASSERT_NE(std::fgets(text, sizeof text, out), nullptr);
  std::fclose(out);
  const std::string line = text;
  EXPECT_EQ(line.rfind("3/8 frames (37.5%), ", 0), 0u) << line;
  EXPECT_NE(line.find(" frames per second, "), std::string::npos) << line;
  EXPECT_EQ(line.back(), '\n');
  EXPECT_EQ(line.find('\r'), std::string::npos) << "no terminal control in a log";
}

}  // namespace
