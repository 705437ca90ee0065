#include "render/screen_picture.h"

#include "platform/gl.h"

ScreenRect FitPicture(int screenWidth, int screenHeight, int pictureWidth, int pictureHeight) {
  ScreenRect rect;
  if (screenWidth <= 0 || screenHeight <= 0 || pictureWidth <= 0 || pictureHeight <= 0) return rect;
  // Compare the aspects without dividing: w·ph against h·pw.
  const long long wide = static_cast<long long>(screenWidth) * pictureHeight;
  const long long tall = static_cast<long long>(screenHeight) * pictureWidth;
  if (wide >= tall) {
    rect.height = screenHeight;
    rect.width = static_cast<int>(tall / pictureHeight);
  } else {
    rect.width = screenWidth;
    rect.height = static_cast<int>(wide / pictureWidth);
  }
  rect.x = (screenWidth - rect.width) / 2;
  rect.y = (screenHeight - rect.height) / 2;
  return rect;
}

SavedGlState::SavedGlState() {
  glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &framebuffer_);
  glGetIntegerv(GL_ACTIVE_TEXTURE_ARB, &activeTexture_);
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
  glext::glActiveTextureARB(GL_TEXTURE0_ARB);
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture_);
  glGetIntegerv(GL_CURRENT_PROGRAM, &program_);
  for (GLenum mode : {GL_PROJECTION, GL_MODELVIEW, GL_TEXTURE}) {
    glMatrixMode(mode);
    glPushMatrix();
  }
}

SavedGlState::~SavedGlState() {
  for (GLenum mode : {GL_TEXTURE, GL_MODELVIEW, GL_PROJECTION}) {
    glMatrixMode(mode);
    glPopMatrix();
  }
  glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(texture_));
  glPopClientAttrib();
  glPopAttrib();
  glext::glActiveTextureARB(static_cast<GLenum>(activeTexture_));
  glext::glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, static_cast<GLuint>(framebuffer_));
  if (program_ != 0) UseProgram(static_cast<unsigned>(program_));
}

void SavedGlState::UseProgram(unsigned program) {
  if (glext::glUseProgram != nullptr) glext::glUseProgram(program);
}

void ScreenCoordinates(int width, int height) {
  glext::glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
  SavedGlState::UseProgram(0);
  glViewport(0, 0, width, height);
  glDisable(GL_SCISSOR_TEST);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  glDisable(GL_LIGHTING);
  glDisable(GL_FOG);
  glDisable(GL_ALPHA_TEST);
  glDisable(GL_TEXTURE_CUBE_MAP);
  glDepthMask(GL_FALSE);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0.0, width, height, 0.0, -1.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void DrawPictureOnScreen(unsigned texture, const ScreenRect& rect, int screenWidth, int screenHeight) {
  SavedGlState saved;
  ScreenCoordinates(screenWidth, screenHeight);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glDisable(GL_BLEND);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  const float x = static_cast<float>(rect.x);
  const float y = static_cast<float>(rect.y);
  const float w = static_cast<float>(rect.width);
  const float h = static_cast<float>(rect.height);
  // The picture's rows are bottom-up: its last row is the screen's top.
  glBegin(GL_QUADS);
  glTexCoord2f(0, 1);
  glVertex2f(x, y);
  glTexCoord2f(1, 1);
  glVertex2f(x + w, y);
  glTexCoord2f(1, 0);
  glVertex2f(x + w, y + h);
  glTexCoord2f(0, 0);
  glVertex2f(x, y + h);
  glEnd();
}
