#pragma once
// A colour texture with a depth renderbuffer in a framebuffer object, for GL tests that
// draw and read the pixels back without relying on the hidden window's own buffer.
#include <cstdint>
#include <vector>

#include "platform/gl.h"

namespace testing_support {

class OffscreenTarget {
 public:
  OffscreenTarget(int width, int height) : width_(width), height_(height) {
    glGenTextures(1, &color_);
    glBindTexture(GL_TEXTURE_2D, color_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glBindTexture(GL_TEXTURE_2D, 0);
    glext::glGenRenderbuffersEXT(1, &depth_);
    glext::glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, depth_);
    glext::glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT24, width, height);
    glext::glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, 0);
    glext::glGenFramebuffersEXT(1, &framebuffer_);
    Bind();
    glext::glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, color_, 0);
    glext::glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT, depth_);
    complete_ = glext::glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT) == GL_FRAMEBUFFER_COMPLETE_EXT;
  }
  OffscreenTarget(const OffscreenTarget&) = delete;
  OffscreenTarget& operator=(const OffscreenTarget&) = delete;
  ~OffscreenTarget() {
    glext::glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    glext::glDeleteFramebuffersEXT(1, &framebuffer_);
    glext::glDeleteRenderbuffersEXT(1, &depth_);
    glDeleteTextures(1, &color_);
  }

  // Binds the framebuffer and sets the viewport to the whole target.
  void Bind() const {
    glext::glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer_);
    glViewport(0, 0, width_, height_);
  }
  bool Complete() const { return complete_; }
  GLuint Texture() const { return color_; }
  GLuint Framebuffer() const { return framebuffer_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

  // RGBA bytes of the whole target, bottom row first.
  std::vector<std::uint8_t> Pixels() const {
    GLint previous = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &previous);
    glext::glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer_);
    std::vector<std::uint8_t> pixels(static_cast<size_t>(width_) * height_ * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    glext::glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, static_cast<GLuint>(previous));
    return pixels;
  }

 private:
  int width_;
  int height_;
  GLuint color_ = 0;
  GLuint depth_ = 0;
  GLuint framebuffer_ = 0;
  bool complete_ = false;
};

// One pixel of an RGBA buffer of the given width, bottom row first.
struct Rgba {
  int r, g, b, a;
};
inline Rgba PixelAt(const std::vector<std::uint8_t>& pixels, int width, int x, int y) {
  const size_t i = (static_cast<size_t>(y) * width + x) * 4;
  return {pixels[i], pixels[i + 1], pixels[i + 2], pixels[i + 3]};
}

// A quad over clip space (-1..1), texture coordinates 0..1, in immediate mode.
inline void DrawClipQuad(float z = 0.0f) {
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex3f(-1, -1, z);
  glTexCoord2f(1, 0);
  glVertex3f(1, -1, z);
  glTexCoord2f(1, 1);
  glVertex3f(1, 1, z);
  glTexCoord2f(0, 1);
  glVertex3f(-1, 1, z);
  glEnd();
}

}  // namespace testing_support
