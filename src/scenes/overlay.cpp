#include "scenes/overlay.h"

#include "assets/model.h"
#include "assets/texture.h"
#include "platform/gl.h"

void DrawOverlay(const OverlayDraw& overlay, const sm::Mat4& projection, const sm::Mat4& view,
                 const SubMesh* const* subMeshes, int count) {
  glPushAttrib(GL_CURRENT_BIT | GL_DEPTH_BUFFER_BIT | GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT);
  // DrawSecondUV feeds its coordinates to unit 0, so the picture must be bound there.
  if (glext::glActiveTextureARB != nullptr) glext::glActiveTextureARB(GL_TEXTURE0_ARB);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, overlay.texture != nullptr ? overlay.texture->GetName() : 0);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  if (overlay.depthTest) glEnable(GL_DEPTH_TEST);
  glMatrixMode(GL_PROJECTION);
  glLoadMatrixf(projection.a);
  glMatrixMode(GL_MODELVIEW);
  glLoadMatrixf(view.a);
  glColor4f(1.0f, 1.0f, 1.0f, overlay.alpha);
  const bool solidDepth = overlay.depthFromAlpha > 0.0f;
  if (solidDepth) glDepthMask(GL_FALSE);
  for (int i = 0; i < count; ++i) subMeshes[i]->DrawSecondUV();
  if (solidDepth) {
    glDepthMask(GL_TRUE);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, overlay.depthFromAlpha);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    for (int i = 0; i < count; ++i) subMeshes[i]->DrawSecondUV();
  }
  glPopAttrib();
}
