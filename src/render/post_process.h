#pragma once
// Post-processing: the separable blur and its targets, the black occluders of the glow
// image, and the depth-of-field composite that makes the final picture.
#include <memory>

#include "anim/math.h"
#include "assets/texture.h"
#include "render/draw_lists.h"
#include "render/render_targets.h"

class Effect;

class BlurTarget {
 public:
  BlurTarget() = default;
  BlurTarget(const BlurTarget&) = delete;
  BlurTarget& operator=(const BlurTarget&) = delete;
  // Releases the framebuffer and the textures.
  ~BlurTarget();

  // The blurred image of the last Blur (result texture 2).
  unsigned Result() const { return results[2] ? results[2]->GetName() : 0; }

  int iterations = 3;
  Effect* effect = nullptr;  // "blur"; owned by the content registry
  FrameBuffer frameBuffer;
  std::unique_ptr<Texture> results[3];
  std::unique_ptr<Texture> scratch;
  int width = 0;
  int height = 0;
  int bitsPerPixel = 32;
};

// A target of w×h with the blur effect (may be null: Blur then does nothing): its
// framebuffer, a scratch texture and three result textures, linear and clamped.
std::unique_ptr<BlurTarget> CreateBlurTarget(Effect* blur, int width, int height);

// Blurs the source texture into the target's result texture 2: three iterations of a
// horizontal pass into the scratch texture and a vertical pass into the next result,
// the first pass also scaling the source to the target's size. The glow flag picks
// "BlurGlowTech", else "BlurDofTech". Depth test, lighting, viewport and colour are as
// before afterwards, depth writes are on and framebuffer 0 is bound.
void Blur(BlurTarget& target, unsigned source, bool glow);

// The same, with the first pass reading the source only between the texture rows
// sourceBottom and sourceTop (texture coordinates, 0..1): rows beyond them count as
// copies of the nearest row inside ("sourceRows" of the effect). For a source whose
// rows outside the range were never drawn.
void Blur(BlurTarget& target, unsigned source, bool glow, float sourceBottom, float sourceTop);

// Draws the list in black with the fixed-function pipeline (translucent materials with
// their opacity as alpha), so that in the glow image whatever does not glow hides the
// glowing surfaces behind it.
void DrawOccluderList(const DrawList& list, const sm::Mat4& projection, const sm::Mat4& view);

// The values of the composite that the frame keeps fixed.
struct DepthOfField {
  float focal = 100.0f;               // the distance in focus
  float focalFalloff = 0.00000007f;   // blur grows with falloff × (distance − focal)²
  float noiseStrength = 0.0f;
};

// Draws the final picture over width×height of the current framebuffer with
// "post_process"/"DofGlowTech": the sharp scene and its blurred copy mixed by depth,
// film noise, and fade (0..1) towards white. Does nothing without the effect.
void ComposeDepthOfField(Effect* postProcess, unsigned sharpTexture, unsigned depthTexture, unsigned blurTexture,
                         unsigned noiseTexture, float fade, int width, int height,
                         const DepthOfField& settings = DepthOfField());
