#include "support/x11_client.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstring>
#include <thread>

namespace testing_support {
namespace {

int IgnoreErrors(Display*, XErrorEvent*) { return 0; }

unsigned long FindWindow(Display* display, Window root, const std::string& title) {
  Window rootReturn, parent;
  Window* children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display, root, &rootReturn, &parent, &children, &count)) return 0;
  unsigned long found = 0;
  for (unsigned int i = 0; i < count && found == 0; ++i) {
    char* name = nullptr;
    if (XFetchName(display, children[i], &name) && name != nullptr) {
      XWindowAttributes attributes;
      if (title == name && XGetWindowAttributes(display, children[i], &attributes) &&
          attributes.map_state == IsViewable) {
        found = children[i];
      }
      XFree(name);
    }
    if (found == 0) found = FindWindow(display, children[i], title);
  }
  if (children != nullptr) XFree(children);
  return found;
}

}  // namespace

void HoldDisplayConnection() {
  static Display* held = nullptr;
  // Also the first connection may meet a reset (the previous test program just ended).
  for (int attempt = 0; held == nullptr && attempt < 100; ++attempt) {
    held = XOpenDisplay(nullptr);
    if (held == nullptr) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

unsigned long WaitForWindow(const std::string& title, double timeoutSeconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
  // A server that is just resetting refuses connections for a moment.
  Display* display = XOpenDisplay(nullptr);
  while (display == nullptr && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    display = XOpenDisplay(nullptr);
  }
  if (display == nullptr) return 0;
  XSetErrorHandler(IgnoreErrors);
  unsigned long window = 0;
  while (window == 0 && std::chrono::steady_clock::now() < deadline) {
    window = FindWindow(display, DefaultRootWindow(display), title);
    if (window == 0) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  XCloseDisplay(display);
  return window;
}

bool RequestWindowClose(unsigned long window) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return false;
  XSetErrorHandler(IgnoreErrors);
  XEvent event;
  std::memset(&event, 0, sizeof event);
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  const Status sent = XSendEvent(display, window, False, NoEventMask, &event);
  XSync(display, False);
  XCloseDisplay(display);
  return sent != 0;
}

bool WindowPixel(unsigned long window, int x, int y, unsigned& rgb) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return false;
  XSetErrorHandler(IgnoreErrors);
  bool ok = false;
  XWindowAttributes attributes;
  if (XGetWindowAttributes(display, window, &attributes) && x >= 0 && y >= 0 && x < attributes.width &&
      y < attributes.height) {
    XImage* image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap);
    if (image != nullptr) {
      const unsigned long pixel = XGetPixel(image, 0, 0);
      const Visual* visual = attributes.visual;
      auto channel = [pixel](unsigned long mask) {
        int shift = 0;
        while (mask != 0 && (mask & 1) == 0) mask >>= 1, ++shift;
        return static_cast<unsigned>((pixel >> shift) & mask & 0xff);
      };
      rgb = (channel(visual->red_mask) << 16) | (channel(visual->green_mask) << 8) | channel(visual->blue_mask);
      XDestroyImage(image);
      ok = true;
    }
  }
  XCloseDisplay(display);
  return ok;
}

}  // namespace testing_support
