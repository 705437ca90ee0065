#include "render/post_process.h"

#include "assets/effect.h"
#include "assets/material.h"
#include "assets/model.h"
#include "render/fx/fx.h"
#include "platform/gl.h"

BlurTarget::~BlurTarget() { DestroyFrameBuffer(frameBuffer); }

namespace {

std::unique_ptr<Texture> TargetTexture(int width, int height) {
  return std::make_unique<Texture>(width, height, 32, nullptr, GL_CLAMP_TO_EDGE, GL_LINEAR, GL_LINEAR, false);
}

// One direction of the blur from source into destination.
void BlurPass(BlurTarget& target, unsigned source, unsigned destination, bool glow) {
  AttachColour(target.frameBuffer, destination);
  glext::glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT);
  glBindTexture(GL_TEXTURE_2D, 0);
  Effect& effect = *target.effect;
  effect.SetTexture("texToBlur", source);
  effect.SetTechnique(glow ? "BlurGlowTech" : "BlurDofTech");
  if (fx::Pass* pass = effect.FirstPass()) {
    const int w = target.width;
    const int h = target.height;
    pass->Set();
    // The texture is flipped vertically; two passes make it upright again.
    glBegin(GL_QUADS);
    glTexCoord2i(0, 1);
    glVertex2i(0, 0);
    glTexCoord2i(1, 1);
    glVertex2i(w, 0);
    glTexCoord2i(1, 0);
    glVertex2i(w, h);
    glTexCoord2i(0, 0);
    glVertex2i(0, h);
    glEnd();
    pass->Reset();
  }
  BindFrameBuffer(0);
}

}  // namespace

std::unique_ptr<BlurTarget> CreateBlurTarget(Effect* blur, int width, int height) {
  auto target = std::make_unique<BlurTarget>();
  target->effect = blur;
  target->width = width;
  target->height = height;
  CreateFrameBuffer(target->frameBuffer, width, height);
  target->scratch = TargetTexture(width, height);
  for (auto& result : target->results) result = TargetTexture(width, height);
  glBindTexture(GL_TEXTURE_2D, 0);
  return target;
}

void Blur(BlurTarget& target, unsigned source, bool glow) { Blur(target, source, glow, 0.0f, 1.0f); }

void Blur(BlurTarget& target, unsigned source, bool glow, float sourceBottom, float sourceTop) {
  if (target.effect == nullptr) return;
  // Only a narrowed source sets the range, so effects without it still blur whole images.
  const bool narrowed = sourceBottom > 0.0f || sourceTop < 1.0f;
  const float sourceRows[2] = {sourceBottom, sourceTop};
  const float allRows[2] = {0.0f, 1.0f};
  glDepthMask(GL_FALSE);
  glPushAttrib(GL_ENABLE_BIT | GL_VIEWPORT_BIT | GL_CURRENT_BIT);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_LIGHTING);
  glEnable(GL_TEXTURE_2D);
  glColor4f(1, 1, 1, 1);
  glViewport(0, 0, target.width, target.height);
  const sm::Mat4 ortho = ScreenOrtho(target.width, target.height);
  target.effect->SetMatrix("mvp", ortho.a);
  const float horizontal[2] = {1.0f / static_cast<float>(target.width), 0.0f};
  const float vertical[2] = {0.0f, 1.0f / static_cast<float>(target.height)};
  unsigned input = source;
  for (int i = 0; i < target.iterations && i < 3; ++i) {
    target.effect->SetVector("scanStep", horizontal, 2);
    if (narrowed) target.effect->SetVector("sourceRows", i == 0 ? sourceRows : allRows, 2);
    BlurPass(target, input, target.scratch->GetName(), glow);
    if (narrowed && i == 0) target.effect->SetVector("sourceRows", allRows, 2);
    target.effect->SetVector("scanStep", vertical, 2);
    BlurPass(target, target.scratch->GetName(), target.results[i]->GetName(), glow);
    input = target.results[i]->GetName();
  }
  glPopAttrib();
  glDepthMask(GL_TRUE);
}

void DrawOccluderList(const DrawList& list, const sm::Mat4& projection, const sm::Mat4& view) {
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadMatrixf(projection.a);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadMatrixf(view.a);
  glPushAttrib(GL_CURRENT_BIT | GL_DEPTH_BUFFER_BIT | GL_ENABLE_BIT);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_LIGHTING);
  glDisable(GL_BLEND);
  glEnable(GL_DEPTH_TEST);
  glColor3f(0, 0, 0);
  glDepthMask(GL_TRUE);
  sm::Mat4 world;
  for (const SubMesh* subMesh : list) {
    if (!subMesh->visible) continue;
    const Material* material = subMesh->material;
    if (material != nullptr && material->opacity < 1.0f) {
      glColor4f(0, 0, 0, material->opacity);
      glEnable(GL_BLEND);
      glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    } else {
      glDisable(GL_BLEND);
    }
    if (subMesh->owner != nullptr) {
      const float* transform = subMesh->owner->GetTransform();
      for (int i = 0; i < 16; ++i) world.a[i] = transform[i];
    } else {
      sm::Identity(world);
    }
    const sm::Mat4 modelView = sm::Product(world, view);
    glLoadMatrixf(modelView.a);
    subMesh->Draw();
  }
  glPopAttrib();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
}

void ComposeDepthOfField(Effect* postProcess, unsigned sharpTexture, unsigned depthTexture, unsigned blurTexture,
                         unsigned noiseTexture, float fade, int width, int height, const DepthOfField& settings) {
  if (postProcess == nullptr) return;
  glBindTexture(GL_TEXTURE_2D, 0);
  postProcess->SetTechnique("DofGlowTech");
  postProcess->SetFloat("focal", settings.focal);
  postProcess->SetFloat("fade", fade);
  postProcess->SetFloat("focalFalloff", settings.focalFalloff);
  postProcess->SetFloat("noiseStrength", settings.noiseStrength);
  postProcess->SetTexture("depthTex", depthTexture);
  postProcess->SetTexture("sharpTex", sharpTexture);
  postProcess->SetTexture("blurTex", blurTexture);
  postProcess->SetTexture("noiseTex", noiseTexture);
  const sm::Mat4 ortho = ScreenOrtho(width, height);
  postProcess->SetMatrix("mvp", ortho.a);
  fx::Pass* pass = postProcess->FirstPass();
  if (pass == nullptr) return;
  const float w = static_cast<float>(width);
  const float h = static_cast<float>(height);
  pass->Set();
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex2f(0, 0);
  glTexCoord2f(0, 1);
  glVertex2f(0, h);
  glTexCoord2f(1, 1);
  glVertex2f(w, h);
  glTexCoord2f(1, 0);
  glVertex2f(w, 0);
  glEnd();
  pass->Reset();
}
