#include "render/frame.h"

#include "platform/gl.h"
#include "render/lighting.h"
#include "render/scene_interface.h"
#include "render/shadow_map.h"

MainTargets::~MainTargets() {
  DestroyFrameBuffer(main);
  DestroyFrameBuffer(glow);
  if (mainDepth.name != 0) glDeleteTextures(1, &mainDepth.name);
  mainDepth = DepthTexture();
}

std::unique_ptr<MainTargets> CreateMainTargets(int width, int height) {
  auto targets = std::make_unique<MainTargets>();
  CreateFrameBuffer(targets->main, width, height);
  targets->mainColour =
      std::make_unique<Texture>(width, height, 32, nullptr, GL_CLAMP_TO_EDGE, GL_NEAREST, GL_NEAREST, false);
  targets->glowColour =
      std::make_unique<Texture>(width / 4, height / 4, 32, nullptr, GL_CLAMP_TO_EDGE, GL_LINEAR, GL_LINEAR, false);
  glBindTexture(GL_TEXTURE_2D, 0);
  CreateFrameBuffer(targets->glow, width / 4, height / 4);
  targets->mainDepth = CreateDepthTexture(width, height);
  glBindTexture(GL_TEXTURE_2D, targets->mainDepth.name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_DEPTH_TEXTURE_MODE, GL_INTENSITY);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, GL_NONE);
  glBindTexture(GL_TEXTURE_2D, 0);
  AttachDepthTexture(targets->main, targets->mainDepth.name);
  BindFrameBuffer(0);
  return targets;
}

void PrepareMaskTexture(unsigned texture) {
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glBindTexture(GL_TEXTURE_2D, 0);
}

const char* FramePassName(FramePass pass) {
  switch (pass) {
    case FramePass::kGlow: return "glow";
    case FramePass::kShadow: return "shadow";
    case FramePass::kOpaque: return "opaque";
    case FramePass::kTranslucent: return "translucent";
    case FramePass::kGlowAdded: return "glow added";
    case FramePass::kBlur: return "blur";
    case FramePass::kComposite: return "composite";
    case FramePass::kOverlays: return "overlays";
  }
  return "?";
}

namespace {

void After(const FrameInputs& frame, FramePass pass) {
  if (frame.afterPass) frame.afterPass(pass);
}

// The board of the current index over the viewport's w×h, blended by its opacity.
void DrawBoard(const FrameInputs& frame, int width, int height) {
  if (!(frame.boardOpacity > 0.0f)) return;
  if (frame.boardIndex < 0 || frame.boardIndex > 3 || frame.boardTextures[frame.boardIndex] == 0) return;
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4f(1, 1, 1, frame.boardOpacity);
  DrawScreenQuad(frame.boardTextures[frame.boardIndex], width, height);
  glDisable(GL_BLEND);
  glColor4f(1, 1, 1, 1);
}

}  // namespace

void RenderGlow(const FrameInputs& frame, const sm::Vec3& eyePosition) {
  MainTargets& targets = *frame.targets;
  const int w = frame.width / 4;
  const int h = frame.height / 4;
  AttachColour(targets.glow, targets.glowColour->GetName());
  glext::glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT);
  glViewport(0, 0, w, h);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

  for (ModelSlot& slot : *frame.slots) {
    if (slot.enabled) DrawGlowSourceList(slot.glow, *frame.renderer, frame.projection, frame.view, eyePosition);
  }
  DrawGlowSourceList(frame.global->glow, *frame.renderer, frame.projection, frame.view, eyePosition);

  glEnable(GL_DEPTH_TEST);
  glDepthMask(GL_TRUE);
  if (frame.scene != nullptr) frame.scene->DrawGlow(0.0f, frame.stepMs / 1000.0f);

  for (ModelSlot& slot : *frame.slots) {
    if (slot.enabled) DrawOccluderList(slot.nonGlow, frame.projection, frame.view);
  }
  DrawOccluderList(frame.global->nonGlow, frame.projection, frame.view);

  DrawBoard(frame, w, h);

  BindFrameBuffer(0);
  glViewport(0, 0, frame.width, frame.height);
  if (frame.glowBlur != nullptr) Blur(*frame.glowBlur, targets.glowColour->GetName(), true);
}

void RenderFrame(const FrameInputs& frame) {
  MainTargets& targets = *frame.targets;
  SceneRenderer& renderer = *frame.renderer;
  const float time = frame.timeMs / 1000.0f;
  const float step = frame.stepMs / 1000.0f;
  const sm::Vec3 eye = EyePosition(frame.view);

  RenderGlow(frame, eye);
  After(frame, FramePass::kGlow);

  sm::Mat4 lightView = DefaultLightView();
  if (frame.scene != nullptr) frame.scene->AdjustLight(lightView);
  const sm::Mat4& lightProjection = frame.projection;
  if (frame.shadow != nullptr) RenderShadowMap(*frame.shadow, lightView, lightProjection, *frame.global, *frame.slots);
  const unsigned shadowTexture = frame.shadow != nullptr ? frame.shadow->depth.name : 0;
  After(frame, FramePass::kShadow);

  AttachColour(targets.main, targets.mainColour->GetName());
  glext::glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_TEXTURE_2D, targets.mainDepth.name,
                                   0);
  glext::glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT);
  // Under the mask's opaque bars nothing drawn is seen: the scene and the composite keep
  // to the visible rows, and the blur reads no further than they reach.
  const bool letterboxed = frame.maskTexture != 0 && !frame.picture.IsWholeScreen(frame.height);
  if (letterboxed) {
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, frame.picture.bottom, frame.width, frame.picture.top - frame.picture.bottom);
  }
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

  // The opaque scene's depth first, with the shadow pass's depth-only drawing: the lit
  // pass then runs its lighting once per pixel, for the nearest surface only, instead of
  // for every surface that a nearer one later covers. LEQUAL lets the nearest surface
  // through again at the depth it laid down.
  GLint depthFunc = GL_LEQUAL;
  glGetIntegerv(GL_DEPTH_FUNC, &depthFunc);
  glDepthFunc(GL_LEQUAL);
  if (frame.shadow != nullptr && frame.shadow->effect != nullptr) {
    DrawOpaqueDepth(*frame.shadow->effect, *frame.global, *frame.slots, frame.view, frame.projection);
  }
  for (ModelSlot& slot : *frame.slots) {
    if (slot.enabled) {
      DrawLitList(slot.opaque, renderer, frame.projection, frame.view, eye, eye, lightView, lightProjection,
                  shadowTexture);
    }
  }
  DrawLitList(frame.global->opaque, renderer, frame.projection, frame.view, eye, eye, lightView, lightProjection,
              shadowTexture);
  glDepthFunc(static_cast<GLenum>(depthFunc));
  if (frame.scene != nullptr) frame.scene->DrawOpaque(time, step);
  After(frame, FramePass::kOpaque);

  for (ModelSlot& slot : *frame.slots) {
    if (slot.enabled) {
      DrawLitList(slot.translucent, renderer, frame.projection, frame.view, eye, eye, lightView, lightProjection,
                  shadowTexture);
    }
  }
  DrawLitList(frame.global->translucent, renderer, frame.projection, frame.view, eye, eye, lightView,
              lightProjection, shadowTexture);
  if (frame.scene != nullptr) frame.scene->DrawTranslucent(time, step);
  After(frame, FramePass::kTranslucent);

  if (frame.glowBlur != nullptr) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glColor4f(1, 1, 1, 1);
    DrawScreenQuad(frame.glowBlur->Result(), frame.width, frame.height);
    glDisable(GL_BLEND);
  }
  if (letterboxed) glDisable(GL_SCISSOR_TEST);
  BindFrameBuffer(0);
  After(frame, FramePass::kGlowAdded);

  if (frame.dofBlur != nullptr) {
    if (letterboxed) {
      // The centres of the first and last visible rows, so no tap blends in a bar row.
      const float rows = static_cast<float>(frame.height);
      const float bottom = (static_cast<float>(frame.picture.bottom) + 0.5f) / rows;
      const float top = (static_cast<float>(frame.picture.top) - 0.5f) / rows;
      Blur(*frame.dofBlur, targets.mainColour->GetName(), false, bottom, top);
    } else {
      Blur(*frame.dofBlur, targets.mainColour->GetName(), false);
    }
  }
  After(frame, FramePass::kBlur);

  BindFrameBuffer(frame.outputFramebuffer);
  if (letterboxed) glEnable(GL_SCISSOR_TEST);
  ComposeDepthOfField(frame.postProcess, targets.mainColour->GetName(), targets.mainDepth.name,
                      frame.dofBlur != nullptr ? frame.dofBlur->Result() : targets.mainColour->GetName(),
                      frame.noiseTexture, frame.flash, frame.width, frame.height, frame.depthOfField);
  if (letterboxed) glDisable(GL_SCISSOR_TEST);
  After(frame, FramePass::kComposite);

  if (frame.maskTexture != 0) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1, 1, 1, 1);
    DrawScreenQuad(frame.maskTexture, frame.width, frame.height);
    glDisable(GL_BLEND);
  }
  DrawBoard(frame, frame.width, frame.height);
  After(frame, FramePass::kOverlays);
  BindFrameBuffer(0);

  if (frame.present) frame.present();
}
