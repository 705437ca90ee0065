#include "demo/gl_state.h"

#include "platform/gl.h"

sm::Mat4 SetInitialGlState(int width, int height, float fieldOfViewDegrees) {
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  sm::Mat4 projection;
  sm::Perspective(projection, fieldOfViewDegrees,
                  static_cast<float>(width) / static_cast<float>(height), kNearPlane, kFarPlane);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glShadeModel(GL_SMOOTH);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClearDepth(1.0);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glEnable(GL_NORMALIZE);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
  return projection;
}
