#pragma once
// Base fixture for tests that need a current GL context (run under Xvfb).
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/offscreen_context.h"

namespace testing_support {

class GlTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // RGBA bytes of the current read framebuffer, bottom row first.
  static std::vector<std::uint8_t> ReadPixels(int x, int y, int width, int height);
  // Fails the test when GL reports an error; returns the error (GL_NO_ERROR = 0).
  static unsigned CheckGlError(const char* where);

  std::unique_ptr<platform::OffscreenContext> context_;
};

}  // namespace testing_support
