#pragma once
// One frame of the demo, pass by pass: the glow image, the shadow map, the lit scene,
// the glow added, the depth-of-field composite with film noise and the flash, the mask
// and the board overlays. Everything the frame needs comes in one record, so the whole
// frame runs without the controller (tests, benchmarks, tools).
#include <functional>
#include <memory>

#include "anim/math.h"
#include "assets/texture.h"
#include "render/draw_lists.h"
#include "render/picture_area.h"
#include "render/post_process.h"
#include "render/render_targets.h"
#include "render/shadow_map.h"

class Effect;
class IScene;
class SceneRenderer;

// The screen-sized targets, made once the window exists.
class MainTargets {
 public:
  MainTargets() = default;
  MainTargets(const MainTargets&) = delete;
  MainTargets& operator=(const MainTargets&) = delete;
  ~MainTargets();

  FrameBuffer main;                     // W×H, the main depth texture as its depth
  std::unique_ptr<Texture> mainColour;  // W×H, nearest
  std::unique_ptr<Texture> glowColour;  // W/4×H/4, linear
  FrameBuffer glow;                     // W/4×H/4 with a depth renderbuffer
  DepthTexture mainDepth;               // W×H, read by the composite
};

// Creates the main framebuffer, the main and glow colour textures, the glow framebuffer
// and the main depth texture for a W×H screen, in that order. Leaves framebuffer 0 bound.
std::unique_ptr<MainTargets> CreateMainTargets(int width, int height);

// Samples the mask overlay texel for texel: nearest, clamped at the edges, so its
// letterbox bars stay sharp at any size.
void PrepareMaskTexture(unsigned texture);

// The passes of a frame, in order, for observers that time or inspect them.
enum class FramePass { kGlow, kShadow, kOpaque, kTranslucent, kGlowAdded, kBlur, kComposite, kOverlays };
const char* FramePassName(FramePass pass);

struct FrameInputs {
  float timeMs = 0.0f;  // the timeline time
  float stepMs = 0.0f;  // the frame duration
  int width = 0;        // the screen
  int height = 0;
  sm::Mat4 view;        // the camera
  sm::Mat4 projection;
  IScene* scene = nullptr;  // the current scene; may be null
  ModelSlots* slots = nullptr;
  GlobalDrawLists* global = nullptr;
  SceneRenderer* renderer = nullptr;
  MainTargets* targets = nullptr;
  BlurTarget* glowBlur = nullptr;  // W/8×H/8
  BlurTarget* dofBlur = nullptr;   // W/4×H/4
  ShadowTarget* shadow = nullptr;
  Effect* postProcess = nullptr;   // "post_process"
  unsigned noiseTexture = 0;
  unsigned maskTexture = 0;        // none: no mask overlay
  // The rows the mask leaves visible (MaskVisibleRows of maskTexture): the scene is
  // drawn into those only. The default stands for the whole screen.
  PictureRows picture;
  float flash = 0.0f;              // the fade towards white
  int boardIndex = 0;
  unsigned boardTextures[4] = {0, 0, 0, 0};
  float boardOpacity = 0.0f;
  DepthOfField depthOfField;
  // Where the final picture goes: 0 = the window (tools and tests may pass their own).
  unsigned outputFramebuffer = 0;
  // Called after each pass (with the GL work of the pass issued, not necessarily done).
  std::function<void(FramePass)> afterPass;
  // Shows the frame (the buffer swap); may be empty.
  std::function<void()> present;
};

// The glow pass: glowing materials lit at a quarter of the screen, everything else in
// black over them, the scene's glow layer and the board, then blurred into the glow
// blur target.
void RenderGlow(const FrameInputs& frame, const sm::Vec3& eyePosition);

// The whole frame into the output framebuffer, ending with present().
void RenderFrame(const FrameInputs& frame);
