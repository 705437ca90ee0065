#pragma once
// What a window manager or a user does to a window, for tests under Xvfb: find a
// window by its title and ask it to close (WM_DELETE_WINDOW), as a title bar would.
#include <string>

namespace testing_support {

// Keeps one connection to the display open until the process ends. The X server resets
// when its last client goes (a program under test quitting, say), and while it does,
// new connections fail: tests that start and end several programs call this first.
void HoldDisplayConnection();
// Polls for a mapped top-level window whose title is exactly title; 0 on time-out.
unsigned long WaitForWindow(const std::string& title, double timeoutSeconds);
// Sends the WM_DELETE_WINDOW client message; false when the window is gone.
bool RequestWindowClose(unsigned long window);
// The colour on screen at (x, y) of a window's client area as 0xRRGGBB; false when the
// window is gone or the point lies outside it.
bool WindowPixel(unsigned long window, int x, int y, unsigned& rgb);

}  // namespace testing_support
