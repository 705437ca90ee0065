// Framebuffer targets, the screen quad and the noise texture on the driver.
#include "render/render_targets.h"

#include <gtest/gtest.h>

#include <vector>

#include "anim/random.h"
#include "gl/offscreen_target.h"
#include "platform/gl.h"
#include "render/noise_texture.h"
#include "support/gl_test.h"

namespace {

using testing_support::PixelAt;

class RenderTargetsTest : public testing_support::GlTest {};

GLuint EmptyTexture(int width, int height) {
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  glBindTexture(GL_TEXTURE_2D, 0);
  return name;
}

TEST_F(RenderTargetsTest, AFrameBufferDrawsIntoTheTextureAttachedToIt) {
  FrameBuffer target;
  ASSERT_TRUE(CreateFrameBuffer(target, 48, 24));
  EXPECT_EQ(target.width, 48);
  EXPECT_EQ(target.height, 24);
  EXPECT_EQ(target.bitsPerPixel, 32);
  EXPECT_NE(target.framebuffer, 0u);
  EXPECT_NE(target.depthRenderbuffer, 0u);
  EXPECT_EQ(target.colorTexture, 0u);
  EXPECT_EQ(CurrentFrameBuffer(), 0u);

  const GLuint first = EmptyTexture(48, 24);
  const GLuint second = EmptyTexture(48, 24);
  for (GLuint texture : {first, second}) {
    AttachColour(target, texture);
    EXPECT_EQ(target.colorTexture, texture);
    EXPECT_EQ(CurrentFrameBuffer(), target.framebuffer);
    EXPECT_EQ(glext::glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE_EXT));
    glViewport(0, 0, 48, 24);
    glClearColor(texture == first ? 1.0f : 0.0f, 0.0f, texture == second ? 1.0f : 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  }
  BindFrameBuffer(0);
  std::vector<std::uint8_t> texels(48 * 24 * 4);
  glBindTexture(GL_TEXTURE_2D, first);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
  EXPECT_EQ(texels[0], 255);
  EXPECT_EQ(texels[2], 0);
  glBindTexture(GL_TEXTURE_2D, second);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
  EXPECT_EQ(texels[0], 0);
  EXPECT_EQ(texels[2], 255);
  glBindTexture(GL_TEXTURE_2D, 0);

  // A depth texture takes the renderbuffer's place, which is released.
  GLuint depth = 0;
  glGenTextures(1, &depth);
  glBindTexture(GL_TEXTURE_2D, depth);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT24, 48, 24, 0, GL_DEPTH_COMPONENT, GL_FLOAT, nullptr);
  glBindTexture(GL_TEXTURE_2D, 0);
  const GLuint renderbuffer = target.depthRenderbuffer;
  AttachDepthTexture(target, depth);
  EXPECT_EQ(target.depthRenderbuffer, 0u);
  EXPECT_FALSE(glext::glIsRenderbufferEXT(renderbuffer));
  EXPECT_EQ(glext::glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE_EXT));

  const GLuint framebuffer = target.framebuffer;
  DestroyFrameBuffer(target);
  EXPECT_EQ(CurrentFrameBuffer(), 0u);
  EXPECT_FALSE(glext::glIsFramebufferEXT(framebuffer));
  EXPECT_EQ(target.framebuffer, 0u);
  DestroyFrameBuffer(target);  // twice is harmless
  const GLuint textures[] = {first, second, depth};
  glDeleteTextures(3, textures);
  CheckGlError("targets");
}

TEST_F(RenderTargetsTest, TheScreenQuadPutsTheFirstRowAtTheBottomAndRestoresState) {
  testing_support::OffscreenTarget target(16, 16);
  target.Bind();
  // Bottom-up rows: the first (red) is the bottom of the picture.
  const unsigned char texels[] = {255, 0, 0, 255, 255, 0, 0, 255, 0, 0, 255, 255, 0, 0, 255, 255};
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
  glBindTexture(GL_TEXTURE_2D, 0);

  glEnable(GL_DEPTH_TEST);
  glDepthMask(GL_TRUE);
  glEnable(GL_LIGHTING);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glTranslatef(1, 2, 3);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(4, 5, 6);
  glColor4f(1, 1, 1, 1);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

  DrawScreenQuad(texture, 16, 8);  // the lower half only

  const auto pixels = target.Pixels();
  EXPECT_EQ(PixelAt(pixels, 16, 8, 1).r, 255);   // bottom row: red
  EXPECT_EQ(PixelAt(pixels, 16, 8, 6).b, 255);   // top of the quad: blue
  EXPECT_EQ(PixelAt(pixels, 16, 8, 12).b, 0);    // above the quad: untouched
  EXPECT_EQ(PixelAt(pixels, 16, 8, 12).r, 0);

  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  GLboolean mask = GL_FALSE;
  glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
  EXPECT_EQ(mask, GL_TRUE);
  GLint mode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_MODELVIEW);
  float matrix[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
  EXPECT_EQ(matrix[12], 4.0f);
  glGetFloatv(GL_PROJECTION_MATRIX, matrix);
  EXPECT_EQ(matrix[13], 2.0f);
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  glDeleteTextures(1, &texture);
  CheckGlError("screen quad");
}

TEST_F(RenderTargetsTest, TheNoiseTextureHoldsAQuarterOfTheScreenHeightOfSignedValues) {
  ResetRand();
  const GLuint noise = CreateNoiseTexture(720);
  glBindTexture(GL_TEXTURE_1D, noise);
  GLint width = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_1D, 0, GL_TEXTURE_WIDTH, &width);
  EXPECT_EQ(width, 180);
  std::vector<float> values(180);
  glGetTexImage(GL_TEXTURE_1D, 0, GL_LUMINANCE, GL_FLOAT, values.data());
  ResetRand();
  bool negative = false;
  for (int i = 0; i < 180; ++i) {
    const float expected = NoiseValue(Rand());
    EXPECT_FLOAT_EQ(values[i], expected) << i;
    negative = negative || values[i] < 0.0f;
  }
  EXPECT_TRUE(negative);
  GLint filter = 0;
  glGetTexParameteriv(GL_TEXTURE_1D, GL_TEXTURE_MIN_FILTER, &filter);
  EXPECT_EQ(filter, GL_LINEAR);
  glGetTexParameteriv(GL_TEXTURE_1D, GL_TEXTURE_WRAP_S, &filter);
  EXPECT_EQ(filter, GL_CLAMP_TO_EDGE);
  glBindTexture(GL_TEXTURE_1D, 0);
  glDeleteTextures(1, &noise);
  CheckGlError("noise");
}

}  // namespace
