#pragma once
// The loading screen: the picture "loader.jpg" over the whole screen with a thin
// progress bar, drawn and presented as the items load. A frame is presented only when
// the bar has grown by a pixel and at most once per display refresh: with vertical
// sync, a present per item (hundreds of them) would hold loading to the refresh rate.
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

// Decides which loading steps are presented: the first, then a step whose bar end has
// moved since the last one presented once the gap has passed, and the last step
// whenever its bar differs from the one on screen. The gap is one refresh, or four
// times what the last present took where presenting is slow (a software renderer
// copying every frame to the screen), so presents never take more than a fifth of
// loading.
class PresentPacer {
 public:
  static constexpr double kDefaultInterval = 1.0 / 60.0;  // seconds: one refresh at 60 Hz
  static constexpr double kWorkPerPresent = 4.0;          // loading time per present's time

  explicit PresentPacer(double intervalSeconds = kDefaultInterval) : interval_(intervalSeconds) {}
  void Reset() { presented_ = false; }
  // barEnd: where the bar ends now (pixels); now: seconds on any steady clock; last:
  // the final step. True when this step is to be drawn and presented.
  bool ShouldPresent(int barEnd, double now, bool last);
  // After a present that ShouldPresent allowed: now, on the same clock, when it ended.
  void Presented(double now);

 private:
  double interval_;
  bool presented_ = false;
  int lastBarEnd_ = 0;
  double lastStart_ = 0.0;
  double lastEnd_ = 0.0;
  double lastCost_ = 0.0;
};

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
  void Step();            // one more step; draws when the pacer says so
  // One complete frame into framebuffer, then present() when set.
  void Draw();
  // Deletes the picture (needs the GL context it was made in).
  void Release();

  unsigned framebuffer = 0;      // where the screen is drawn; 0 = the window
  std::function<void()> present;  // shows the frame; may be empty
  bool shown = true;              // false: nothing is drawn (a reload behind the picture)
  // Seconds on a steady clock, for the pacer; the performance counter by default.
  std::function<double()> clock;

  int Presents() const { return presents_; }

  int Total() const { return total_; }
  int Done() const { return done_; }

 private:
  double Now() const;

  std::unique_ptr<Texture> picture_;
  PresentPacer pacer_;
  int presents_ = 0;
  int total_ = 0;
  int done_ = 0;
  int width_ = 0;
  int height_ = 0;
};
