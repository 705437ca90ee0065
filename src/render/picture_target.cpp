#include "render/picture_target.h"

#include "platform/gl.h"

bool CreatePictureTarget(PictureTarget& target, int width, int height, bool colourTexture, std::string& error) {
  DeletePictureTarget(target);
  target.width = width;
  target.height = height;
  if (colourTexture) {
    glGenTextures(1, &target.colourTexture);
    glBindTexture(GL_TEXTURE_2D, target.colourTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glBindTexture(GL_TEXTURE_2D, 0);
  } else {
    glext::glGenRenderbuffersEXT(1, &target.colourRenderbuffer);
    glext::glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, target.colourRenderbuffer);
    glext::glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_RGBA8, width, height);
  }
  glext::glGenRenderbuffersEXT(1, &target.depth);
  glext::glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, target.depth);
  glext::glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT24, width, height);
  glext::glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, 0);
  glext::glGenFramebuffersEXT(1, &target.framebuffer);
  glext::glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, target.framebuffer);
  if (colourTexture) {
    glext::glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, target.colourTexture,
                                     0);
  } else {
    glext::glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_RENDERBUFFER_EXT,
                                        target.colourRenderbuffer);
  }
  glext::glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT, target.depth);
  const bool complete = glext::glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT) == GL_FRAMEBUFFER_COMPLETE_EXT;
  glext::glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
  if (!complete) {
    error = "the driver has no " + std::to_string(width) + "x" + std::to_string(height) + " framebuffer";
    DeletePictureTarget(target);
    return false;
  }
  return true;
}

void DeletePictureTarget(PictureTarget& target) {
  if (target.framebuffer != 0) glext::glDeleteFramebuffersEXT(1, &target.framebuffer);
  if (target.colourRenderbuffer != 0) glext::glDeleteRenderbuffersEXT(1, &target.colourRenderbuffer);
  if (target.depth != 0) glext::glDeleteRenderbuffersEXT(1, &target.depth);
  if (target.colourTexture != 0) glDeleteTextures(1, &target.colourTexture);
  target = PictureTarget();
}

void ReadPictureTarget(const PictureTarget& target, Image& picture) {
  if (picture.width != target.width || picture.height != target.height || picture.bitsPerPixel != 24 ||
      picture.pixels == nullptr) {
    picture = Image::Allocate(target.width, target.height, 24);
  }
  GLint bound = 0;
  glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &bound);
  glext::glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, target.framebuffer);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, target.width, target.height, GL_RGB, GL_UNSIGNED_BYTE, picture.pixels.get());
  glext::glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, static_cast<GLuint>(bound));
}
