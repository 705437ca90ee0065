#include "support/gl_test.h"

#include "platform/gl.h"

namespace testing_support {

void GlTest::SetUp() {
  context_ = std::make_unique<platform::OffscreenContext>();
  ASSERT_TRUE(context_->Create(256, 256)) << context_->Error()
                                          << " (gl tests run under xvfb-run, see ./test.sh)";
}

void GlTest::TearDown() { context_.reset(); }

std::vector<std::uint8_t> GlTest::ReadPixels(int x, int y, int width, int height) {
  std::vector<std::uint8_t> pixels(static_cast<size_t>(width) * height * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}

unsigned GlTest::CheckGlError(const char* where) {
  const GLenum error = glGetError();
  EXPECT_EQ(error, static_cast<GLenum>(GL_NO_ERROR)) << "GL error at " << where;
  return error;
}

}  // namespace testing_support
