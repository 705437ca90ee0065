#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/gl.h"

namespace {

// A lookup that knows every name except one, and records what it was asked for.
struct FakeDriver {
  std::string missing;
  std::vector<std::string> asked;
  void* operator()(const char* name) {
    asked.push_back(name);
    if (missing == name) return nullptr;
    static char dummy;
    return &dummy;
  }
};

class GlEntryPointsTest : public ::testing::Test {
 protected:
  void TearDown() override { platform::ResetGlEntryPoints(); }
};

TEST_F(GlEntryPointsTest, FetchesEveryNameOnceInListOrder) {
  FakeDriver driver;
  EXPECT_TRUE(platform::FetchGlEntryPoints([&](const char* n) { return driver(n); }));
  ASSERT_EQ(driver.asked.size(), static_cast<size_t>(platform::kGlEntryPointCount));
  EXPECT_EQ(driver.asked.front(), "glBindBufferARB");
  EXPECT_EQ(driver.asked[11], "glIsRenderbufferEXT");
  EXPECT_EQ(driver.asked[28], "glVertexAttribPointerARB");
  EXPECT_EQ(driver.asked[34], "glCreateShader");
  EXPECT_EQ(driver.asked.back(), "glActiveTexture");
  std::vector<std::string> sorted = driver.asked;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end()) << "a name is listed twice";
  EXPECT_NE(glext::glClientActiveTextureARB, nullptr);
  EXPECT_NE(glext::glUseProgram, nullptr);
  EXPECT_NE(glext::glActiveTexture, nullptr);
}

TEST_F(GlEntryPointsTest, TheLastMissingFunctionFailsTheFetchAndIsNamed) {
  FakeDriver driver{"glActiveTexture", {}};
  std::string missing;
  EXPECT_FALSE(platform::FetchGlEntryPoints([&](const char* n) { return driver(n); }, &missing));
  EXPECT_EQ(driver.asked.size(), static_cast<size_t>(platform::kGlEntryPointCount));
  EXPECT_EQ(missing, "glActiveTexture");
  EXPECT_NE(glext::glUniformMatrix4fv, nullptr);
  EXPECT_EQ(glext::glActiveTexture, nullptr);
}

TEST_F(GlEntryPointsTest, AMissingFunctionStopsTheFetchAndLeavesLaterPointersNull) {
  FakeDriver driver{"glGenFramebuffersEXT", {}};
  std::string missing;
  EXPECT_FALSE(platform::FetchGlEntryPoints([&](const char* n) { return driver(n); }, &missing));
  EXPECT_EQ(missing, "glGenFramebuffersEXT");
  EXPECT_EQ(driver.asked.back(), "glGenFramebuffersEXT");
  EXPECT_EQ(glext::glCreateShader, nullptr);
  EXPECT_NE(glext::glDeleteFramebuffersEXT, nullptr);
  EXPECT_EQ(glext::glGenFramebuffersEXT, nullptr);
  EXPECT_EQ(glext::glCheckFramebufferStatusEXT, nullptr);
  EXPECT_EQ(glext::glActiveTextureARB, nullptr);
}

}  // namespace
