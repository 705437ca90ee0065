#include "platform/offscreen_context.h"

#include <SDL.h>

#include "platform/gl.h"
#include "platform/window.h"

namespace platform {

OffscreenContext::~OffscreenContext() {
  if (context_ != nullptr) {
    SDL_GL_MakeCurrent(window_, nullptr);
    SDL_GL_DeleteContext(context_);
  }
  if (window_ != nullptr) SDL_DestroyWindow(window_);
}

bool OffscreenContext::Create(int width, int height) {
  if (!InitVideo()) {
    error_ = "no display: " + VideoError();
    return false;
  }
  SDL_GL_ResetAttributes();
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
  window_ = SDL_CreateWindow("drift offscreen", 0, 0, width, height,
                             SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (window_ == nullptr) {
    error_ = "no window: " + VideoError();
    return false;
  }
  context_ = SDL_GL_CreateContext(window_);
  if (context_ == nullptr || SDL_GL_MakeCurrent(window_, context_) != 0) {
    error_ = "no GL context: " + VideoError();
    return false;
  }
  if (!FetchGlEntryPoints()) {
    error_ = "GL driver lacks a required extension entry point";
    return false;
  }
  return true;
}

void OffscreenContext::Present() {
  if (window_ != nullptr) SDL_GL_SwapWindow(window_);
}

}  // namespace platform
