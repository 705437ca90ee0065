#pragma once
// Off-screen render targets: framebuffer objects with a depth buffer and a colour
// texture attached for each use.
#include "anim/math.h"

struct FrameBuffer {
  unsigned framebuffer = 0;
  unsigned colorTexture = 0;       // the texture last attached to colour 0; 0 until then
  unsigned depthRenderbuffer = 0;  // 0 once a depth texture has taken its place
  unsigned colorRenderbuffer = 0;  // never allocated: colour always goes to a texture
  int width = 0;
  int height = 0;
  int bitsPerPixel = 32;
};

// Records the size and creates the framebuffer with a depth renderbuffer of that size
// on its depth attachment; leaves framebuffer 0 bound. Returns true.
bool CreateFrameBuffer(FrameBuffer& target, int width, int height, int bitsPerPixel = 32);

// Binds the target's framebuffer and attaches a 2D texture (level 0) to colour 0.
void AttachColour(FrameBuffer& target, unsigned texture);

// Binds the target's framebuffer and puts a depth texture on its depth attachment; the
// depth renderbuffer it replaces is released.
void AttachDepthTexture(FrameBuffer& target, unsigned depthTexture);

// Deletes what exists (renderbuffers, framebuffer) and zeroes the record, so a second
// call does nothing.
void DestroyFrameBuffer(FrameBuffer& target);

// Binds the framebuffer (0 = the window).
void BindFrameBuffer(unsigned framebuffer);

// The framebuffer bound now.
unsigned CurrentFrameBuffer();

// Maps pixel coordinates (0..w, 0..h) to clip space, as the screen-space passes draw.
sm::Mat4 ScreenOrtho(int width, int height);

// Turns clip coordinates (-1..1) into texture and depth coordinates (0..1): the shadow
// lookup matrix is this · light projection · light view.
const sm::Mat4& ShadowBiasMatrix();

// Draws a texture over the rectangle (0, 0)-(width, height) of a pixel projection of
// the current viewport, in the current colour, without depth test or depth writes;
// restores GL state, both matrix stacks and leaves the model-view mode current. The
// texture's first row (t = 0) lands at the bottom.
void DrawScreenQuad(unsigned texture, int width, int height);
