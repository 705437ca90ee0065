#include <gtest/gtest.h>

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

TEST_F(GlEntryPointsTest, FetchesAllThirtyFourInTableOrder) {
  FakeDriver driver;
  EXPECT_TRUE(platform::FetchGlEntryPoints([&](const char* n) { return driver(n); }));
  ASSERT_EQ(driver.asked.size(), 34u);
  EXPECT_EQ(driver.asked.front(), "glBindBufferARB");
  EXPECT_EQ(driver.asked[11], "glIsRenderbufferEXT");
  EXPECT_EQ(driver.asked[28], "glVertexAttribPointerARB");
  EXPECT_EQ(driver.asked.back(), "glClientActiveTextureARB");
  EXPECT_NE(glext::glClientActiveTextureARB, nullptr);
}

TEST_F(GlEntryPointsTest, TheLastMissingFunctionFailsTheFetch) {
  FakeDriver driver{"glClientActiveTextureARB", {}};
  EXPECT_FALSE(platform::FetchGlEntryPoints([&](const char* n) { return driver(n); }));
  EXPECT_EQ(driver.asked.size(), 34u);
  EXPECT_NE(glext::glMultiTexCoord2fARB, nullptr);
  EXPECT_EQ(glext::glClientActiveTextureARB, nullptr);
}

TEST_F(GlEntryPointsTest, AMissingFunctionStopsTheFetchAndLeavesLaterPointersNull) {
  FakeDriver driver{"glGenFramebuffersEXT", {}};
  EXPECT_FALSE(platform::FetchGlEntryPoints([&](const char* n) { return driver(n); }));
  EXPECT_EQ(driver.asked.back(), "glGenFramebuffersEXT");
  EXPECT_NE(glext::glDeleteFramebuffersEXT, nullptr);
  EXPECT_EQ(glext::glGenFramebuffersEXT, nullptr);
  EXPECT_EQ(glext::glCheckFramebufferStatusEXT, nullptr);
  EXPECT_EQ(glext::glActiveTextureARB, nullptr);
}

}  // namespace
