// "greetz0" ... "greetz58": the greetings that flash up on the glass wall. The first
// is the heading, then one invented group name per change of the greetings signal;
// the last three are spares the signal never reaches.
#include <algorithm>
#include <array>
#include <cstdio>

#include "datagen/pipeline/context.h"
#include "datagen/steps.h"
#include "datagen/overlays/style.h"

namespace datagen {
namespace {

constexpr std::array<const char*, 59> kGreetings = {
    "greetings to",     "Northern Static",  "Polyhedra",       "Kernel Panic",      "Amber Circuit",
    "Lowpass",          "Scanline Society", "Bitfrost",        "Mode Seven",        "Copper Bars",
    "Phosphor",         "Zero Page",        "Chiptune Cartel", "Blitter Union",     "Delta Vee",
    "Hexagon Lab",      "Quantum Foam",     "Parallax Works",  "Sine Surfers",      "Dithered Dreams",
    "Cathode Ray",      "Offset Labs",      "Octree",          "Bytewise",          "Noise Floor",
    "Night Shift",      "Plasma Pilots",    "Twisted Pair",    "Framebuffer",       "Iron Lotus",
    "Tessellate",       "Overdrive",        "Pixel Monks",     "Red Shift",         "Glitch Garden",
    "Flux Capacity",    "Ultraviolet",      "Moonbase",        "Fractal Bloom",     "Deep Core",
    "Open Gate",        "Heap Corruption",  "Vertex Vandals",  "Synth Syndicate",   "Null Vector",
    "Echo Chamber",     "Paper Tiger",      "Chrome Horizon",  "Tape Hiss",         "Interlace",
    "Lost Sector",      "Polygon Pirates",  "Halftone",        "Bit Shifters",      "Aurora Borealis",
    "and you",          "Voxel Vista",      "Rotozoom",        "Raster Rebels",
};

Canvas Greeting(Fonts& fonts, int index) {
  const int width = 1024, height = 256;
  Canvas c(width, height);
  const bool heading = index == 0;
  TextStyle text;
  text.font = heading ? FontStyle::kSans : FontStyle::kCondensedBold;
  text.size = heading ? 96 : 150;
  text.letterSpacing = heading ? 6 : 2;
  text.colour = style::kInk;
  text.glowRadius = 10.0f;
  text.glowColour = style::kCyan;
  text.glowStrength = 1.6f;
  // Inside the brackets with room to spare: the band is seen at an angle, and a name
  // must never reach the pane's frame.
  text.size = FitTextSize(fonts, kGreetings[static_cast<std::size_t>(index)], text, width - 220);
  // A dark backing between the brackets, so the hall seen through the glass (crates,
  // posts, lamps) never competes with the name; its edge fades so it reads as a tinted
  // patch of the glass rather than a board stuck on it.
  const float top = 48, bottom = height - 48;
  for (int ring = 0; ring < 8; ++ring) {
    const float inset = 14.0f - 2.0f * static_cast<float>(ring);
    c.FillRoundedRect(40 + inset, top - 8 + inset, width - 40 - inset, bottom + 8 - inset, 24.0f,
                      Color(style::kDeep.r, style::kDeep.g, style::kDeep.b, 0.12f));
  }
  c.FillRoundedRect(54, top + 6, width - 54, bottom - 6, 18.0f,
                    Color(style::kDeep.r, style::kDeep.g, style::kDeep.b, 0.85f));
  // Brackets either side, like a label stencilled on the glass.
  for (float x : {40.0f, static_cast<float>(width) - 40.0f}) {
    const float dir = x < width * 0.5f ? 1.0f : -1.0f;
    c.FillRect(std::min(x, x + dir * 6), top, std::max(x, x + dir * 6), bottom, Color(0.35f, 0.85f, 1.0f, 0.8f));
    c.FillRect(std::min(x, x + dir * 40), top, std::max(x, x + dir * 40), top + 6, Color(0.35f, 0.85f, 1.0f, 0.8f));
    c.FillRect(std::min(x, x + dir * 40), bottom - 6, std::max(x, x + dir * 40), bottom, Color(0.35f, 0.85f, 1.0f, 0.8f));
  }
  // Capitals are about 0.73 em tall: centre them.
  const float baseline = 0.5f * static_cast<float>(height) + 0.36f * static_cast<float>(text.size);
  DrawText(c, fonts, kGreetings[static_cast<std::size_t>(index)], 0.5f * width, baseline, text, Align::kCentre);
  return c;
}

}  // namespace

bool BuildGreetings(Context& context) {
  for (int i = 0; i < static_cast<int>(kGreetings.size()); ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "greetz%d", i);
    if (!context.WriteTexture(name, Greeting(context.TextFonts(), i), 32)) return false;
  }
  return true;
}

}  // namespace datagen
