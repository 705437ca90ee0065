#pragma once
// The frame loop: empty the message queue, stop on Escape, then one Update and one
// Render with the accumulated time and the step, as often as presenting allows.
#include <functional>

#include "app/frame_timer.h"

// What the loop asks of the platform; tests supply their own.
struct FrameLoopEnvironment {
  std::function<bool()> pumpMessages;  // empties the queue; false when a quit request came
  std::function<bool()> escapeDown;    // Escape is held, or was pressed since the last pump
};

// The platform's message pump and key state.
FrameLoopEnvironment PlatformFrameLoopEnvironment();

// Client needs bool Update(float timeMs, float dtMs) and bool Render(float, float).
// An Update that returns false still gets its frame rendered; the loop ends after it.
template <typename Client>
void RunFrameLoop(Client& client, FrameTimer& timer, const FrameLoopEnvironment& environment) {
  float totalMs = 0.0f;
  bool stop = false;
  for (;;) {
    if (!environment.pumpMessages()) return;
    if (environment.escapeDown()) return;
    const float dtMs = timer.Tick();
    totalMs += dtMs;
    if (!client.Update(totalMs, dtMs)) stop = true;
    if (!client.Render(totalMs, dtMs) || stop) return;
  }
}
