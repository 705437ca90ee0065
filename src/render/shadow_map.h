#pragma once
// The shadow map: depth of the opaque scene seen from the light, drawn once per frame
// into a target one and a half times the screen size in each direction, and read by the
// lit pass through the shadow lookup matrix. The same depth-only drawing also lays down
// the camera's depth before the lit pass.
#include <memory>

#include "anim/math.h"
#include "assets/texture.h"
#include "render/draw_lists.h"
#include "render/render_targets.h"

class Effect;

class ShadowTarget {
 public:
  ShadowTarget() = default;
  ShadowTarget(const ShadowTarget&) = delete;
  ShadowTarget& operator=(const ShadowTarget&) = delete;
  // Releases the framebuffer and both textures.
  ~ShadowTarget();

  int screenWidth = 0;
  int screenHeight = 0;
  int width = 0;   // of the shadow map
  int height = 0;
  DepthTexture depth;               // compares in the texture unit
  std::unique_ptr<Texture> colour;  // attached so the framebuffer is complete; never read
  FrameBuffer frameBuffer;
  Effect* effect = nullptr;  // "shadow_mapping"; owned by the content registry
};

// One and a half shadow-map texels along each screen pixel's side: shadow edges look as
// they do with four (the lookup's filter spans a fixed fraction of the map, wider than a
// texel at either size) with a seventh of the texels to fill each frame.
constexpr int ShadowMapSide(int screenSide) { return 3 * (screenSide > 0 ? screenSide : 0) / 2; }

// ShadowMapSide of W × ShadowMapSide of H, each clamped to the largest size the driver
// can draw into (maxSide): the map keeps covering the light's whole view at a coarser
// resolution.
void ShadowMapSize(int screenWidth, int screenHeight, int maxSide, int& width, int& height);

// The largest side the current driver takes for a texture, a renderbuffer and a viewport.
int MaxRenderTargetSide();

// Builds the target for a W×H screen with the effect "shadow_mapping" (may be null: the
// pass then only clears the map). Leaves framebuffer 0 bound.
std::unique_ptr<ShadowTarget> CreateShadowTarget(int screenWidth, int screenHeight, Effect* effect);

// Fills the shadow map from the light: the global opaque list, then each enabled slot's,
// every visible element once with "ShadowMapping". Translucent lists cast no shadow.
// The viewport and the framebuffer binding are as they were afterwards.
void RenderShadowMap(ShadowTarget& target, const sm::Mat4& lightView, const sm::Mat4& lightProjection,
                     const GlobalDrawLists& global, const ModelSlots& slots);

// Draws the visible elements of the global opaque list, then of each enabled slot's, into
// the depth buffer only, with the technique "ShadowMapping" of the effect: mvp = world ·
// view · projection, formed as the lit pass forms it, so an element drawn lit afterwards
// with LEQUAL lands on exactly these depths.
void DrawOpaqueDepth(Effect& effect, const GlobalDrawLists& global, const ModelSlots& slots, const sm::Mat4& view,
                     const sm::Mat4& projection);

// The light's view matrix of every frame unless the scene moves the light.
const sm::Mat4& DefaultLightView();
