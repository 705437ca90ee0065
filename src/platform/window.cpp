#include "platform/window.h"

#include <SDL.h>

#include <cstring>
#include <vector>

#include "platform/signals.h"

namespace platform {
namespace {

// The receivers of input events, remembered when a window is created.
IKeyboardCallback* g_input = nullptr;
IPointerCallback* g_pointer = nullptr;

// Virtual-key codes that went down during the last PumpEvents.
std::vector<int> g_pressedKeys;
bool g_lastKeyShift = false;

constexpr char kTitle[] = "Drift :: by Halcyra";

// SDL keycodes to Windows virtual-key codes; 0 for keys the demo has no code for.
int VirtualKeyFromSdl(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
  if (key >= SDLK_F1 && key <= SDLK_F12) return vk::kF1 + (key - SDLK_F1);
  switch (key) {
    case SDLK_ESCAPE: return vk::kEscape;
    case SDLK_RETURN: return vk::kReturn;
    case SDLK_SPACE: return vk::kSpace;
    case SDLK_PAGEUP: return vk::kPageUp;
    case SDLK_PAGEDOWN: return vk::kPageDown;
    case SDLK_HOME: return vk::kHome;
    case SDLK_END: return vk::kEnd;
    case SDLK_COMMA: return vk::kComma;
    case SDLK_PERIOD: return vk::kPeriod;
    case SDLK_LEFTBRACKET: return vk::kLeftBracket;
    case SDLK_RIGHTBRACKET: return vk::kRightBracket;
    case SDLK_BACKSLASH: return vk::kBackslash;
    case SDLK_TAB: return vk::kTab;
    case SDLK_BACKSPACE: return vk::kBackspace;
    case SDLK_PAUSE: return vk::kPause;
    case SDLK_LEFT: return vk::kLeft;
    case SDLK_UP: return vk::kUp;
    case SDLK_RIGHT: return vk::kRight;
    case SDLK_DOWN: return vk::kDown;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return vk::kControl;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return vk::kShift;
    case SDLK_LALT:
    case SDLK_RALT: return vk::kAlt;
    default: return 0;
  }
}

// Virtual-key codes to scancodes, for the asynchronous key state.
SDL_Scancode ScancodeFromVirtualKey(int virtualKey) {
  if (virtualKey >= 'A' && virtualKey <= 'Z') {
    return SDL_GetScancodeFromKey(static_cast<SDL_Keycode>(SDLK_a + (virtualKey - 'A')));
  }
  if (virtualKey >= '0' && virtualKey <= '9') {
    return SDL_GetScancodeFromKey(static_cast<SDL_Keycode>(SDLK_0 + (virtualKey - '0')));
  }
  if (virtualKey >= vk::kF1 && virtualKey < vk::kF1 + 12) {
    return static_cast<SDL_Scancode>(SDL_SCANCODE_F1 + (virtualKey - vk::kF1));
  }
  switch (virtualKey) {
    case vk::kEscape: return SDL_SCANCODE_ESCAPE;
    case vk::kReturn: return SDL_SCANCODE_RETURN;
    case vk::kSpace: return SDL_SCANCODE_SPACE;
    case vk::kTab: return SDL_SCANCODE_TAB;
    case vk::kBackspace: return SDL_SCANCODE_BACKSPACE;
    case vk::kPause: return SDL_SCANCODE_PAUSE;
    case vk::kLeft: return SDL_SCANCODE_LEFT;
    case vk::kUp: return SDL_SCANCODE_UP;
    case vk::kRight: return SDL_SCANCODE_RIGHT;
    case vk::kDown: return SDL_SCANCODE_DOWN;
    case vk::kLeftControl: return SDL_SCANCODE_LCTRL;
    case vk::kRightControl: return SDL_SCANCODE_RCTRL;
    case vk::kLeftShift: return SDL_SCANCODE_LSHIFT;
    case vk::kRightShift: return SDL_SCANCODE_RSHIFT;
    default: return SDL_SCANCODE_UNKNOWN;
  }
}

int BitsPerPixel(Uint32 format) {
  // SDL reports 24 for the X server's 32-bit RGB888 depth; keep what it says.
  return SDL_BITSPERPIXEL(format);
}

DisplayMode FromSdl(const SDL_DisplayMode& mode) {
  return DisplayMode{mode.w, mode.h, BitsPerPixel(mode.format), mode.refresh_rate};
}

bool g_videoStarted = false;

}  // namespace

bool InitVideo() {
  if (g_videoStarted) return true;
  // Our own SIGINT/SIGTERM handlers end the run through the teardown.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
  g_videoStarted = true;
  return true;
}

void QuitVideo() {
  if (!g_videoStarted) return;
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  g_videoStarted = false;
}

bool CurrentDisplayMode(DisplayMode& mode) {
  if (!InitVideo()) return false;
  SDL_DisplayMode current;
  if (SDL_GetCurrentDisplayMode(0, &current) != 0) return false;
  mode = FromSdl(current);
  return true;
}

std::vector<DisplayMode> DisplayModes() {
  std::vector<DisplayMode> modes;
  if (!InitVideo()) return modes;
  const int count = SDL_GetNumDisplayModes(0);
  for (int i = 0; i < count; ++i) {
    SDL_DisplayMode mode;
    if (SDL_GetDisplayMode(0, i, &mode) == 0) modes.push_back(FromSdl(mode));
  }
  return modes;
}

std::string VideoError() { return SDL_GetError(); }

bool GlWindow::Create(IKeyboardCallback* input, int width, int height, int bitsPerPixel,
                      int refreshRate) {
  width_ = width;
  height_ = height;
  fullScreen_ = true;
  ownsWindow_ = true;
  scaled_ = false;
  if (!InitVideo() || !CreateGlWindow(width, height, bitsPerPixel, SDL_WINDOW_HIDDEN)) {
    TearDown();
    return false;
  }
  g_input = input;

  // Switch the display to the chosen mode where it offers that size; otherwise (and
  // on Wayland, where clients cannot switch modes) cover the desktop at its own mode.
  SDL_DisplayMode wanted{};
  wanted.w = width;
  wanted.h = height;
  wanted.refresh_rate = refreshRate;
  SDL_DisplayMode closest;
  const char* driver = SDL_GetCurrentVideoDriver();
  const bool canSwitch = driver == nullptr || std::strcmp(driver, "wayland") != 0;
  const bool offered = canSwitch && SDL_GetClosestDisplayMode(0, &wanted, &closest) != nullptr &&
                       closest.w == width && closest.h == height;
  scaled_ = !(offered && SDL_SetWindowDisplayMode(window_, &closest) == 0 &&
              SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN) == 0);
  if (scaled_) {
    // The window takes the desktop's size itself too: without a window manager (a
    // bare X server) nothing else would make it cover the screen.
    SDL_DisplayMode desktop;
    if (SDL_GetDesktopDisplayMode(0, &desktop) == 0) {
      SDL_SetWindowBordered(window_, SDL_FALSE);
      SDL_SetWindowSize(window_, desktop.w, desktop.h);
      SDL_SetWindowPosition(window_, 0, 0);
    }
    if (SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
      TearDown();
      return false;
    }
  }

  SDL_ShowCursor(SDL_DISABLE);
  SDL_DisableScreenSaver();
  if (!CreateContextAndShow()) return false;

  // A driver that accepted the mode yet gave another size is treated as a refusal.
  int drawableWidth = 0;
  int drawableHeight = 0;
  SDL_GL_GetDrawableSize(window_, &drawableWidth, &drawableHeight);
  if (drawableWidth != width || drawableHeight != height) scaled_ = true;
  return true;
}

bool GlWindow::CreateWindowed(IKeyboardCallback* input, IPointerCallback* pointer, int width, int height,
                              const char* title) {
  width_ = width;
  height_ = height;
  fullScreen_ = false;
  ownsWindow_ = true;
  if (!InitVideo() || !CreateGlWindow(width, height, 32, SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE)) {
    TearDown();
    return false;
  }
  SDL_SetWindowTitle(window_, title);
  SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  g_input = input;
  g_pointer = pointer;
  if (!CreateContextAndShow()) return false;
  DrawableSize(width_, height_);
  return true;
}

void GlWindow::DrawableSize(int& width, int& height) const {
  width = 0;
  height = 0;
  if (window_ != nullptr) SDL_GL_GetDrawableSize(window_, &width, &height);
}

bool GlWindow::CreateContextAndShow() {
  context_ = SDL_GL_CreateContext(window_);
  if (context_ == nullptr || SDL_GL_MakeCurrent(window_, context_) != 0) {
    TearDown();
    return false;
  }
  // Adaptive sync first, plain sync where the driver has none; what it really runs
  // with is read back, as some drivers accept the call and keep their own setting.
  if (SDL_GL_SetSwapInterval(-1) != 0) SDL_GL_SetSwapInterval(1);
  const int interval = SDL_GL_GetSwapInterval();
  sync_ = interval < 0 ? VerticalSync::kAdaptive : interval > 0 ? VerticalSync::kOn : VerticalSync::kOff;
  SDL_ShowWindow(window_);
  SDL_RaiseWindow(window_);
  SDL_SetWindowInputFocus(window_);
  return true;
}

bool GlWindow::CreateGlWindow(int width, int height, int bitsPerPixel, unsigned flags) {
  const int channelBits = bitsPerPixel >= 24 ? 8 : 5;
  // A depth size the driver refuses makes the window creation itself fail (no
  // matching visual), so the 32 -> 24 fallback wraps the creation.
  for (int depth : {32, 24}) {
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, channelBits);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, channelBits == 5 ? 6 : channelBits);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, channelBits);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depth);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    window_ = SDL_CreateWindow(kTitle, 0, 0, width, height, SDL_WINDOW_OPENGL | flags);
    if (window_ != nullptr) {
      depthBits_ = depth;
      return true;
    }
  }
  return false;
}

void GlWindow::TearDown() {
  if (fullScreen_) {
    if (window_ != nullptr) SDL_SetWindowFullscreen(window_, 0);
    if (g_videoStarted) SDL_ShowCursor(SDL_ENABLE);
  }
  if (context_ != nullptr) {
    SDL_GL_MakeCurrent(window_, nullptr);
    SDL_GL_DeleteContext(context_);
    context_ = nullptr;
  }
  if (window_ != nullptr && ownsWindow_) {
    SDL_DestroyWindow(window_);
    window_ = nullptr;
    g_input = nullptr;
    g_pointer = nullptr;
  }
}

void GlWindow::Present() {
  if (window_ != nullptr) SDL_GL_SwapWindow(window_);
}

PumpResult PumpEvents() {
  g_pressedKeys.clear();
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    switch (event.type) {
      case SDL_QUIT:
        return PumpResult::kQuit;
      case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) return PumpResult::kQuit;
        if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED && g_pointer != nullptr) {
          g_pointer->Resized(event.window.data1, event.window.data2);
        }
        break;
      case SDL_MOUSEMOTION:
        if (g_pointer != nullptr) {
          g_pointer->PointerMove(event.motion.x, event.motion.y, (event.motion.state & SDL_BUTTON_LMASK) != 0);
        }
        break;
      case SDL_MOUSEBUTTONUP:
        if (g_pointer != nullptr && event.button.button == SDL_BUTTON_LEFT) {
          g_pointer->PointerUp(event.button.x, event.button.y);
        }
        break;
      case SDL_KEYDOWN: {
        // Alt-F4 ends the run as closing the window does, also where no window manager
        // turns it into a close request (a compo machine's bare X server).
        if (event.key.keysym.sym == SDLK_F4 && (event.key.keysym.mod & KMOD_ALT) != 0) return PumpResult::kQuit;
        const int code = VirtualKeyFromSdl(event.key.keysym.sym);
        if (code != 0) g_pressedKeys.push_back(code);
        g_lastKeyShift = (event.key.keysym.mod & KMOD_SHIFT) != 0;
        if (g_input != nullptr && code != 0) g_input->Key(code);
        break;
      }
      case SDL_MOUSEBUTTONDOWN:
        // The pointer receiver hears of the press first, so it can tell a click on its
        // own controls from one meant for the demo.
        if (event.button.button == SDL_BUTTON_LEFT) {
          if (g_pointer != nullptr) g_pointer->PointerDown(event.button.x, event.button.y);
          if (g_input != nullptr) g_input->Click();
        }
        break;
      default:
        break;
    }
  }
  if (StopRequested()) return PumpResult::kQuit;
  return PumpResult::kContinue;
}

bool IsKeyDown(int virtualKey) {
  if (virtualKey == vk::kLeftButton) return IsLeftButtonDown();
  const Uint8* state = SDL_GetKeyboardState(nullptr);
  if (virtualKey == vk::kControl) return state[SDL_SCANCODE_LCTRL] || state[SDL_SCANCODE_RCTRL];
  if (virtualKey == vk::kShift) return state[SDL_SCANCODE_LSHIFT] || state[SDL_SCANCODE_RSHIFT];
  if (virtualKey == vk::kAlt) return state[SDL_SCANCODE_LALT] || state[SDL_SCANCODE_RALT];
  const SDL_Scancode code = ScancodeFromVirtualKey(virtualKey);
  return code != SDL_SCANCODE_UNKNOWN && state[code] != 0;
}

bool WasKeyPressed(int virtualKey) {
  for (int code : g_pressedKeys) {
    if (code == virtualKey) return true;
  }
  return false;
}

bool LastKeyHadShift() { return g_lastKeyShift; }

bool IsLeftButtonDown() {
  return (SDL_GetGlobalMouseState(nullptr, nullptr) & SDL_BUTTON(SDL_BUTTON_LEFT)) != 0;
}

void CursorPosition(int& x, int& y) { SDL_GetGlobalMouseState(&x, &y); }

void PrimaryScreenSize(int& width, int& height) {
  width = 0;
  height = 0;
  SDL_DisplayMode mode;
  if (InitVideo() && SDL_GetCurrentDisplayMode(0, &mode) == 0) {
    width = mode.w;
    height = mode.h;
  }
}

}  // namespace platform
