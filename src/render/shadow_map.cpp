#include "render/shadow_map.h"

#include <algorithm>

#include "assets/effect.h"
#include "assets/model.h"
#include "render/fx/fx.h"
#include "platform/gl.h"

ShadowTarget::~ShadowTarget() {
  DestroyFrameBuffer(frameBuffer);
  if (depth.name != 0) glDeleteTextures(1, &depth.name);
  depth = DepthTexture();
  colour.reset();
}

void ShadowMapSize(int screenWidth, int screenHeight, int maxSide, int& width, int& height) {
  width = std::min(ShadowMapSide(screenWidth), maxSide);
  height = std::min(ShadowMapSide(screenHeight), maxSide);
}

int MaxRenderTargetSide() {
  GLint texture = 0;
  GLint renderbuffer = 0;
  GLint viewport[2] = {0, 0};
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &texture);
  glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE_EXT, &renderbuffer);
  glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
  return std::min({texture, renderbuffer, viewport[0], viewport[1]});
}

std::unique_ptr<ShadowTarget> CreateShadowTarget(int screenWidth, int screenHeight, Effect* effect) {
  auto target = std::make_unique<ShadowTarget>();
  target->screenWidth = screenWidth;
  target->screenHeight = screenHeight;
  ShadowMapSize(screenWidth, screenHeight, MaxRenderTargetSide(), target->width, target->height);

  target->depth = CreateDepthTexture(target->width, target->height);
  glBindTexture(GL_TEXTURE_2D, target->depth.name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, GL_COMPARE_R_TO_TEXTURE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_FUNC, GL_LEQUAL);
  glTexParameteri(GL_TEXTURE_2D, GL_DEPTH_TEXTURE_MODE, GL_INTENSITY);
  glBindTexture(GL_TEXTURE_2D, 0);

  target->colour = std::make_unique<Texture>(target->width, target->height, 32, nullptr, GL_CLAMP_TO_EDGE, GL_NEAREST,
                                             GL_NEAREST, false);
  glBindTexture(GL_TEXTURE_2D, 0);

  CreateFrameBuffer(target->frameBuffer, target->width, target->height);
  AttachDepthTexture(target->frameBuffer, target->depth.name);
  AttachColour(target->frameBuffer, target->colour->GetName());
  BindFrameBuffer(0);
  target->effect = effect;
  return target;
}

namespace {

void DrawDepthOnly(Effect& effect, const DrawList& list, const sm::Mat4& view, const sm::Mat4& projection) {
  effect.SetTechnique("ShadowMapping");
  fx::Pass* pass = effect.FirstPass();
  if (pass == nullptr) return;
  sm::Mat4 world;
  for (const SubMesh* subMesh : list) {
    if (!subMesh->visible) continue;
    if (subMesh->owner != nullptr) {
      const float* transform = subMesh->owner->GetTransform();
      for (int i = 0; i < 16; ++i) world.a[i] = transform[i];
    } else {
      sm::Identity(world);
    }
    // Formed in the lit pass's order, so the same element lands on the same depths.
    const sm::Mat4 mvp = sm::Product(sm::Product(world, view), projection);
    effect.SetMatrix("mvp", mvp.a);
    pass->Set();
    subMesh->Draw();
    pass->Reset();
  }
}

}  // namespace

void DrawOpaqueDepth(Effect& effect, const GlobalDrawLists& global, const ModelSlots& slots, const sm::Mat4& view,
                     const sm::Mat4& projection) {
  DrawDepthOnly(effect, global.opaque, view, projection);
  for (const ModelSlot& slot : slots) {
    if (slot.enabled) DrawDepthOnly(effect, slot.opaque, view, projection);
  }
}

void RenderShadowMap(ShadowTarget& target, const sm::Mat4& lightView, const sm::Mat4& lightProjection,
                     const GlobalDrawLists& global, const ModelSlots& slots) {
  const unsigned previous = CurrentFrameBuffer();
  glPushAttrib(GL_VIEWPORT_BIT);
  glViewport(0, 0, target.width, target.height);
  BindFrameBuffer(target.frameBuffer.framebuffer);
  glext::glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT);
  glDepthMask(GL_TRUE);
  glClear(GL_DEPTH_BUFFER_BIT);
  glEnable(GL_POLYGON_OFFSET_FILL);
  glPolygonOffset(1.0f, 0.01f);
  if (target.effect != nullptr) DrawOpaqueDepth(*target.effect, global, slots, lightView, lightProjection);
  glDisable(GL_POLYGON_OFFSET_FILL);
  BindFrameBuffer(previous);
  glPopAttrib();
}

const sm::Mat4& DefaultLightView() {
  static const sm::Mat4 view = [] {
    sm::Mat4 m;
    const float columns[16] = {-0.9239f,   0.1557f,   -0.3496f,  0.0f,  //
                               0.0f,       0.9135f,   0.4067f,   0.0f,  //
                               0.3827f,    0.3758f,   -0.844f,   0.0f,  //
                               -703.3286f, -780.8308f, -193.7107f, 1.0f};
    for (int i = 0; i < 16; ++i) m.a[i] = columns[i];
    return m;
  }();
  return view;
}
