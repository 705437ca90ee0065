#pragma once
// The lighting of models: the two lighting effects, material and transform binding,
// and the two list passes that use them (glow sources, and the lit, shadow-receiving
// scene).
#include <memory>

#include "anim/math.h"
#include "render/draw_lists.h"
#include "render/material_binding.h"

class DemoContent;
class Effect;
class Material;

// The effects every model is lit with; both belong to the content registry.
struct LightingEffects {
  Effect* standard = nullptr;    // "std_lighting": glow sources
  Effect* glowShadow = nullptr;  // "std_lighting_glow_shadow": the main scene
};

class SceneRenderer {
 public:
  explicit SceneRenderer(const LightingEffects& effects) : effects_(effects) {}
  LightingEffects& Effects() { return effects_; }

 private:
  LightingEffects effects_;
};

// Looks the lighting effects up in the registry. Without "std_lighting" it writes
// "error: effect 'std_lighting' wasn't found" and returns null. A missing
// "std_lighting_glow_shadow" is logged too but not fatal: the lit passes then draw
// nothing.
std::unique_ptr<SceneRenderer> PrepareSceneRenderer(const DemoContent& content);

// What the lighting reads of a material: colours, factors and the resolved maps.
MaterialView ViewOf(const Material& material);

// Selects the technique and sets the material's values on "std_lighting" (null: the
// grey no-material defaults).
void BindMaterial(const Material* material, LightingEffects& effects);

// The same on "std_lighting_glow_shadow", with the shadow depth texture and the shadow
// lookup matrix.
void BindMaterialGlowShadow(const Material* material, LightingEffects& effects, unsigned shadowTexture,
                            const sm::Mat4& shadowMatrix);

// Sets "mvp" = projection · view · world, "world", "lightPosition" and "eyePosition" on
// the glow-shadow effect when glowShadow is set, else on the standard effect.
void BindTransforms(LightingEffects& effects, const sm::Mat4& projection, const sm::Mat4& view,
                    const float* world, const sm::Vec3& lightPosition, const sm::Vec3& eyePosition, bool glowShadow);

// The glow sources: every visible element lit by the standard effect from the eye,
// scaled by the colour mask of the list's first mesh.
void DrawGlowSourceList(const DrawList& list, SceneRenderer& renderer, const sm::Mat4& projection,
                        const sm::Mat4& view, const sm::Vec3& eyePosition);

// The main scene: every visible element lit by the glow-shadow effect, shadowed through
// the light's view and projection and the shadow depth texture.
void DrawLitList(const DrawList& list, SceneRenderer& renderer, const sm::Mat4& projection, const sm::Mat4& view,
                 const sm::Vec3& lightPosition, const sm::Vec3& eyePosition, const sm::Mat4& lightView,
                 const sm::Mat4& lightProjection, unsigned shadowTexture);

// B · light projection · light view: light-space positions to shadow-map coordinates.
sm::Mat4 ShadowMatrix(const sm::Mat4& lightProjection, const sm::Mat4& lightView);

// The camera position: the translation of the inverse view matrix.
sm::Vec3 EyePosition(const sm::Mat4& view);
