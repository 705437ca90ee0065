#pragma once
// The loading screen: the picture "loader.jpg" over the whole screen with a thin
// progress bar, drawn and presented once per loaded item.
#include <functional>
#include <memory>
#include <string>

class Texture;

// The bar in pixels, origin at the bottom left: x0..x1 by y0..y1.
struct LoadingBar {
  int x0 = 0;
  int y0 = 0;
  int x1 = 0;
  int y1 = 0;
};

// Where the bar lies on a width × height screen with done of total steps: from a
// quarter of the width over 0.496875 of it at full length, one line high at 13.4 % of
// the height. More steps than the total, and a total of 0, give the full length.
LoadingBar LoadingBarAt(int width, int height, int done, int total);

class LoadingScreen {
 public:
  LoadingScreen();
  ~LoadingScreen();
  LoadingScreen(const LoadingScreen&) = delete;
  LoadingScreen& operator=(const LoadingScreen&) = delete;

  // Loads dataFolder + "loader.jpg" and takes the screen size. False when the picture
  // is missing or unreadable: the screen is then black behind the bar.
  bool SetUp(const std::string& dataFolder, int width, int height);
  void Begin(int total);  // no steps done yet; draws
  void Step();            // one more step; draws
  // One complete frame into framebuffer, then present() when set.
  void Draw();
  // Deletes the picture (needs the GL context it was made in).
  void Release();

  unsigned framebuffer = 0;      // where the screen is drawn; 0 = the window
  std::function<void()> present;  // shows the frame; may be empty

  int Total() const { return total_; }
  int Done() const { return done_; }

 private:
  std::unique_ptr<Texture> picture_;
  int total_ = 0;
  int done_ = 0;
  int width_ = 0;
  int height_ = 0;
};
