#pragma once
// The live player's overlay, drawn over the scaled picture in the window and never
// into the picture itself: lines of text at the top left (time, scene, camera, pass
// times, errors) and the timeline strip along the bottom with a mark at every event,
// the loop and the play head. Text goes through the FreeType face of the platform
// layer into one texture, redrawn only when the text changes.
#include <memory>
#include <string>
#include <vector>

#include "demo/timeline_state.h"
#include "live/live_layout.h"
#include "platform/tools/font.h"

struct OverlayView {
  std::vector<std::string> lines;
  std::string error;  // drawn in red under the lines; empty: none
  double seconds = 0.0;
  double end = 1.0;
  const std::vector<TimelineEvent>* events = nullptr;
  bool looping = false;
  double loopFrom = 0.0;
  double loopTo = 0.0;
};

class LiveOverlay {
 public:
  static constexpr int kTextPixels = 14;

  LiveOverlay() = default;
  ~LiveOverlay();
  LiveOverlay(const LiveOverlay&) = delete;
  LiveOverlay& operator=(const LiveOverlay&) = delete;

  // False with error set when the face cannot be opened (the strip still draws).
  bool Open(const std::string& fontPath, std::string& error);
  // Draws into the window's back buffer (framebuffer 0) at its size; every GL state it
  // touches is put back.
  void Draw(const OverlayView& view, int windowWidth, int windowHeight);
  // Deletes the texture; needs the context that drew.
  void Release();

 private:
  void UpdateText(const OverlayView& view);
  void DrawText(int x, int y);
  void DrawStrip(const OverlayView& view, const LiveRect& strip);

  platform::FontFace face_;
  bool haveFace_ = false;
  std::string drawnText_;
  unsigned texture_ = 0;
  int textWidth_ = 0;
  int textHeight_ = 0;
};
