#include "render/render_targets.h"

#include "platform/gl.h"

bool CreateFrameBuffer(FrameBuffer& target, int width, int height, int bitsPerPixel) {
  target.width = width;
  target.height = height;
  target.bitsPerPixel = bitsPerPixel;
  target.colorTexture = 0;
  target.colorRenderbuffer = 0;
  glext::glGenRenderbuffersEXT(1, &target.depthRenderbuffer);
  glext::glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, target.depthRenderbuffer);
  glext::glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT, width, height);
  glext::glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, 0);
  glext::glGenFramebuffersEXT(1, &target.framebuffer);
  glext::glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, target.framebuffer);
  glext::glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT,
                                      target.depthRenderbuffer);
  glext::glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
  return true;
}

void AttachColour(FrameBuffer& target, unsigned texture) {
  glext::glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, target.framebuffer);
  glext::glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, texture, 0);
  target.colorTexture = texture;
}

void AttachDepthTexture(FrameBuffer& target, unsigned depthTexture) {
  glext::glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, target.framebuffer);
  glext::glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_TEXTURE_2D, depthTexture, 0);
  if (target.depthRenderbuffer != 0) {
    glext::glDeleteRenderbuffersEXT(1, &target.depthRenderbuffer);
    target.depthRenderbuffer = 0;
  }
}

void DestroyFrameBuffer(FrameBuffer& target) {
  if (target.depthRenderbuffer != 0) glext::glDeleteRenderbuffersEXT(1, &target.depthRenderbuffer);
  if (target.colorRenderbuffer != 0) glext::glDeleteRenderbuffersEXT(1, &target.colorRenderbuffer);
  if (target.framebuffer != 0) {
    if (CurrentFrameBuffer() == target.framebuffer) glext::glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    glext::glDeleteFramebuffersEXT(1, &target.framebuffer);
  }
  target = FrameBuffer();
}

void BindFrameBuffer(unsigned framebuffer) { glext::glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer); }

unsigned CurrentFrameBuffer() {
  GLint bound = 0;
  glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &bound);
  return static_cast<unsigned>(bound);
}

sm::Mat4 ScreenOrtho(int width, int height) {
  sm::Mat4 m;
  m.a[0] = 2.0f / static_cast<float>(width);
  m.a[5] = 2.0f / static_cast<float>(height);
  m.a[10] = -1.0f;
  m.a[12] = -1.0f;
  m.a[13] = -1.0f;
  return m;
}

const sm::Mat4& ShadowBiasMatrix() {
  static const sm::Mat4 bias = [] {
    sm::Mat4 m;
    m.a[0] = m.a[5] = m.a[10] = 0.5f;
    m.a[12] = m.a[13] = m.a[14] = 0.5f;
    return m;
  }();
  return bias;
}

void DrawScreenQuad(unsigned texture, int width, int height) {
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_DEPTH_BUFFER_BIT | GL_TEXTURE_BIT);

  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(viewport[0], viewport[2], viewport[1], viewport[3], -1.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();

  glEnable(GL_TEXTURE_2D);
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  glDepthMask(GL_FALSE);
  glBindTexture(GL_TEXTURE_2D, texture);
  const float w = static_cast<float>(width);
  const float h = static_cast<float>(height);
  glBegin(GL_QUADS);
  glTexCoord2f(0, 1);
  glVertex2f(0, h);
  glTexCoord2f(1, 1);
  glVertex2f(w, h);
  glTexCoord2f(1, 0);
  glVertex2f(w, 0);
  glTexCoord2f(0, 0);
  glVertex2f(0, 0);
  glEnd();

  glPopAttrib();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
}
