// "hud0" ... "hud98": the loop on the two big monitors, 99 frames at 25 per second
// (3.96 s) that repeat seamlessly: everything that moves completes whole cycles in 99
// frames. Both monitors draw the same frame, so each frame holds two panels side by
// side and each monitor's face maps one half ("screens"): the assembly panel (a robot
// schematic with a sweeping scan line, a scrolling diagnostics log, a waveform, a
// blinking status) and the release rig's panel (clamp states, a pressure dial, a
// charge bar). Drawn at half opacity over dark glass, so bright on black.
#include <cmath>
#include <cstdio>
#include <string>

#include "datagen/pipeline/context.h"
#include "datagen/steps.h"
#include "datagen/overlays/style.h"
#include "datagen/texture/noise.h"

namespace datagen {
namespace {

constexpr int kFrames = 99;
constexpr int kWidth = 256, kHeight = 192;  // one panel; a frame is two side by side

const char* const kLogLines[] = {
    "WELD SEQ 04  OK",   "SERVO L2  31.4C", "ARC  148A  23.1V",  "TORQUE J1  0.82",
    "CORE TEMP NOMINAL", "BUS  48V  STABLE", "CAL  ARM-01  PASS", "CAL  ARM-02  PASS",
    "GYRO  DRIFT 0.02",  "HYD PRESS 212BAR", "FRAME  ALIGNED",   "WAKE  INHIBITED",
};
constexpr int kLogCount = static_cast<int>(sizeof kLogLines / sizeof kLogLines[0]);

Canvas AssemblyPanel(Fonts& fonts, int frame) {
  const float phase = static_cast<float>(frame) / static_cast<float>(kFrames);  // 0..1 over the loop
  Canvas c(kWidth, kHeight, Color(0.0f, 0.02f, 0.04f, 1));
  const Color line(0.35f, 0.85f, 1.0f, 1);
  const Color dim(0.15f, 0.45f, 0.6f, 1);
  // Frame and title bar.
  c.StrokeRect(2, 2, kWidth - 2, kHeight - 2, 1.5f, dim);
  c.FillRect(2, 2, kWidth - 2, 18, Color(0.1f, 0.35f, 0.5f, 1));
  TextStyle small;
  small.font = FontStyle::kMonoBold;
  small.size = 11;
  small.colour = style::kInk;
  DrawText(c, fonts, "UNIT 7  ASSEMBLY", 8, 14, small);
  // Blinking status: on for two thirds of each 33-frame beat (three blinks a loop).
  if (frame % 33 < 22) {
    c.FillRect(kWidth - 78, 4, kWidth - 6, 16, style::kAmber);
    TextStyle status = small;
    status.colour = Color(0.05f, 0.02f, 0, 1);
    DrawText(c, fonts, "WELDING", kWidth - 42, 14, status, Align::kCentre);
  }
  // The robot schematic: a stick figure in a box, a scan line sweeping down once a loop.
  const float sx = 12, sy = 28, sw = 92, sh = 120;
  c.StrokeRect(sx, sy, sx + sw, sy + sh, 1, dim);
  const float cx = sx + sw * 0.5f;
  c.FillCircle(cx, sy + 18, 8, Color(0, 0, 0, 0));
  c.Line(cx - 8, sy + 12, cx + 8, sy + 12, 1.2f, line);
  c.StrokeRect(cx - 8, sy + 10, cx + 8, sy + 26, 1.2f, line);
  c.StrokeRect(cx - 16, sy + 30, cx + 16, sy + 66, 1.2f, line);
  c.Line(cx - 16, sy + 33, cx - 26, sy + 64, 1.2f, line);
  c.Line(cx + 16, sy + 33, cx + 26, sy + 64, 1.2f, line);
  c.Line(cx - 8, sy + 66, cx - 11, sy + 110, 1.2f, line);
  c.Line(cx + 8, sy + 66, cx + 11, sy + 110, 1.2f, line);
  const float scan = sy + sh * phase;
  c.FillRect(sx + 1, scan - 1, sx + sw - 1, scan + 1, Color(0.5f, 1.0f, 0.8f, 0.9f));
  c.FillRect(sx + 1, scan - 10, sx + sw - 1, scan - 1, Color(0.3f, 0.9f, 0.7f, 0.15f));
  // Weld points on the figure light up in turn.
  const float points[][2] = {{-16, 40}, {16, 40}, {-12, 64}, {12, 64}, {0, 48}};
  for (int i = 0; i < 5; ++i) {
    const bool lit = (frame / 20) % 5 == i;
    c.FillCircle(cx + points[i][0], sy + points[i][1], lit ? 3.5f : 2.0f, lit ? style::kAmber : dim);
  }
  // Scrolling log: lines 12 px apart scroll up one line every 9 frames (11 lines a loop).
  TextStyle mono;
  mono.font = FontStyle::kMono;
  mono.size = 10;
  mono.colour = Color(0.55f, 0.95f, 1.0f, 1);
  const float lx = 112, ly0 = 30, ly1 = 116;
  const int scroll = frame * 12 / 9;
  for (int i = 0; i < 10; ++i) {
    const float y = ly0 + 10 + static_cast<float>(i * 12) - static_cast<float>(scroll % 12);
    if (y < ly0 + 8 || y > ly1) continue;
    const int lineIndex = (i + scroll / 12) % 11;
    DrawText(c, fonts, kLogLines[lineIndex % kLogCount], lx, y, mono);
  }
  c.StrokeRect(lx - 4, ly0, kWidth - 8, ly1 + 4, 1, dim);
  // Waveform: two sines that advance a whole number of periods per loop.
  const float wx0 = 112, wx1 = kWidth - 8, wy = 150;
  c.StrokeRect(wx0 - 4, 124, wx1, 178, 1, dim);
  float px = wx0, py = wy;
  for (float x = wx0; x <= wx1 - 4; x += 1.0f) {
    const float u = (x - wx0) / (wx1 - wx0);
    const float y = wy + 12.0f * std::sin(6.2831853f * (2.0f * u - phase)) +
                    5.0f * std::sin(6.2831853f * (7.0f * u + 3.0f * phase));
    if (x > wx0) c.Line(px, py, x, y, 1.3f, Color(0.5f, 1.0f, 0.7f, 1));
    px = x;
    py = y;
  }
  // Level bars under the schematic.
  for (int i = 0; i < 8; ++i) {
    const float level = 0.5f + 0.45f * std::sin(6.2831853f * (phase * static_cast<float>(1 + i % 3)) + static_cast<float>(i));
    const float x = 14 + static_cast<float>(i) * 11.5f;
    c.FillRect(x, 176 - 24 * level, x + 8, 176, i % 3 == 0 ? style::kAmber : line);
  }
  return c;
}

const char* const kClampNames[] = {"CLAMP A1", "CLAMP A2", "CLAMP B1", "CLAMP B2", "HOIST", "SPINE"};

Canvas ReleasePanel(Fonts& fonts, int frame) {
  const float phase = static_cast<float>(frame) / static_cast<float>(kFrames);
  Canvas c(kWidth, kHeight, Color(0.03f, 0.015f, 0.0f, 1));
  const Color line(1.0f, 0.72f, 0.3f, 1);
  const Color dim(0.5f, 0.3f, 0.1f, 1);
  c.StrokeRect(2, 2, kWidth - 2, kHeight - 2, 1.5f, dim);
  c.FillRect(2, 2, kWidth - 2, 18, Color(0.45f, 0.22f, 0.04f, 1));
  TextStyle small;
  small.font = FontStyle::kMonoBold;
  small.size = 11;
  small.colour = style::kInk;
  DrawText(c, fonts, "RIG 2  RELEASE", 8, 14, small);
  // "ARMED" blinks on the other half of the assembly panel's beat, so the two monitors
  // never blink together.
  if (frame % 33 >= 11) {
    c.FillRect(kWidth - 78, 4, kWidth - 6, 16, Color(0.95f, 0.25f, 0.15f, 1));
    TextStyle status = small;
    status.colour = Color(0.1f, 0.0f, 0.0f, 1);
    DrawText(c, fonts, "ARMED", kWidth - 42, 14, status, Align::kCentre);
  }
  // Clamp list: each clamp's lamp turns from locked to open in turn, one every 16
  // frames, and all close again for the loop's last frames.
  TextStyle mono;
  mono.font = FontStyle::kMono;
  mono.size = 10;
  mono.colour = Color(1.0f, 0.85f, 0.6f, 1);
  for (int i = 0; i < 6; ++i) {
    const float y = 40 + static_cast<float>(i) * 16;
    const bool open = frame >= 8 + i * 14 && frame < 96;
    DrawText(c, fonts, kClampNames[i], 14, y, mono);
    DrawText(c, fonts, open ? "OPEN" : "LOCK", 78, y, mono);
    c.FillCircle(112, y - 4, 3.5f, open ? Color(0.4f, 1.0f, 0.5f, 1) : Color(0.95f, 0.3f, 0.15f, 1));
  }
  c.StrokeRect(8, 26, 122, 134, 1, dim);
  // Pressure dial: a needle that swings once a loop, with a tick ring.
  const float dx = 186, dy = 80, radius = 44;
  for (int i = 0; i <= 12; ++i) {
    const float a = 3.14159265f * (0.75f + 1.5f * static_cast<float>(i) / 12.0f);
    const float inner = i % 3 == 0 ? radius - 9 : radius - 5;
    c.Line(dx + inner * std::cos(a), dy + inner * std::sin(a), dx + radius * std::cos(a), dy + radius * std::sin(a),
           1.2f, i >= 10 ? Color(0.95f, 0.3f, 0.15f, 1) : line);
  }
  const float swing = 0.5f - 0.5f * std::cos(6.2831853f * phase);
  const float needle = 3.14159265f * (0.75f + 1.5f * (0.15f + 0.7f * swing));
  c.Line(dx, dy, dx + (radius - 6) * std::cos(needle), dy + (radius - 6) * std::sin(needle), 2.0f, style::kInk);
  c.FillCircle(dx, dy, 4, line);
  char pressure[16];
  std::snprintf(pressure, sizeof pressure, "%3d BAR", 120 + static_cast<int>(110.0f * swing));
  DrawText(c, fonts, pressure, dx, dy + 34, mono, Align::kCentre);
  // Charge bar: fills over the loop in twelve steps, under its label.
  DrawText(c, fonts, "CHARGE", 14, 156, mono);
  const int steps = frame * 12 / kFrames;
  for (int i = 0; i < 12; ++i) {
    const float x = 64 + static_cast<float>(i) * 15;
    c.FillRect(x, 146, x + 11, 160, i <= steps ? (i >= 9 ? Color(0.95f, 0.3f, 0.15f, 1) : line) : dim);
  }
  c.StrokeRect(8, 140, kWidth - 8, 178, 1, dim);
  return c;
}

// The two panels side by side: the first monitor shows the left half, the second the right.
Canvas Frame(Fonts& fonts, int frame) {
  Canvas both(2 * kWidth, kHeight);
  both.Composite(AssemblyPanel(fonts, frame), 0, 0);
  both.Composite(ReleasePanel(fonts, frame), kWidth, 0);
  return both;
}

}  // namespace

bool BuildMonitorLoop(Context& context) {
  for (int i = 0; i < kFrames; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "hud%d", i);
    if (!context.WriteTexture(name, Frame(context.TextFonts(), i), 24)) return false;
  }
  return true;
}

}  // namespace datagen
