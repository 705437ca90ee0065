#pragma once
// The GL state every frame starts from, set once when the context is new.
#include "anim/math.h"

// Viewport, matrix modes, shading, clear values, depth test and hints. Returns the
// projection for the field of view (degrees) with near 10 and far 8000; it is kept
// by the caller, not loaded into GL.
sm::Mat4 SetInitialGlState(int width, int height, float fieldOfViewDegrees);

constexpr float kNearPlane = 10.0f;
constexpr float kFarPlane = 8000.0f;
