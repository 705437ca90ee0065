#pragma once
// The scenes' unlit picture layers (credits, monitor screens, greetings): a texture
// laid over surfaces through their second texture coordinates, blended by alpha, drawn
// with the camera's own matrices (the meshes' transforms are not applied: the surfaces
// are stored where they are shown).
#include "anim/math.h"

class SubMesh;
class Texture;

struct OverlayDraw {
  const Texture* texture = nullptr;
  float alpha = 1.0f;
  bool depthTest = false;  // enabled for the draw; otherwise left as the frame has it
  // Above 0, depth is written only where the picture itself (its texels' alpha, whatever
  // the overlay's alpha) is more opaque than this, so the depth of field keeps the
  // letters sharp and still blurs what is seen through the clearer parts around them.
  float depthFromAlpha = 0.0f;
};

// Draws each sub-mesh with DrawSecondUV and the overlay's texture on unit 0, colour
// (1, 1, 1, alpha), blending (src alpha, 1 − src alpha); with depthFromAlpha, a second,
// depth-only draw lays down the depth of the solid parts. Loads projection and view
// into GL's matrices (left loaded); restores the enables, depth, colour mask and current
// colour state. Needs a current GL context.
void DrawOverlay(const OverlayDraw& overlay, const sm::Mat4& projection, const sm::Mat4& view,
                 const SubMesh* const* subMeshes, int count);
