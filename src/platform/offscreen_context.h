#pragma once
// A GL context on a hidden window, for tests and tools that draw into framebuffer
// objects without showing anything. Fetches the extension entry points too.
#include <string>

struct SDL_Window;

namespace platform {

class OffscreenContext {
 public:
  OffscreenContext() = default;
  OffscreenContext(const OffscreenContext&) = delete;
  OffscreenContext& operator=(const OffscreenContext&) = delete;
  ~OffscreenContext();

  // False (with Error() set) when no display or no suitable context is available.
  bool Create(int width = 64, int height = 64);
  bool IsValid() const { return context_ != nullptr; }
  const std::string& Error() const { return error_; }
  void Present();

 private:
  SDL_Window* window_ = nullptr;
  void* context_ = nullptr;
  std::string error_;
};

}  // namespace platform
