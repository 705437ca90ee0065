#include "datagen/texture/surfaces.h"

#include <algorithm>
#include <cmath>

#include "datagen/texture/noise.h"

namespace datagen {
namespace {

// Texture coordinates of a pixel centre, 0..1.
float Coord(int i, int size) { return (static_cast<float>(i) + 0.5f) / static_cast<float>(size); }

// Distance (in texture units) from u to the nearest multiple of 1 / count.
float DistanceToLine(float u, int count) {
  const float f = u * static_cast<float>(count);
  return std::fabs(f - std::round(f)) / static_cast<float>(count);
}

// A thin dark line of half width w (texture units), soft by one pixel.
float Groove(float distance, float w, int size) {
  return 1.0f - Smoothstep(w, w + 1.5f / static_cast<float>(size), distance);
}

Canvas Flat(int size, float value) { return Canvas(size, size, Color(value, value, value, 1)); }

// Scratches: short straight strokes at random places and angles, tiling.
void Scratches(Canvas& colour, Canvas* height, int count, float length, Color tone, std::uint32_t seed) {
  const int size = colour.Width();
  for (int i = 0; i < count; ++i) {
    const float x = Hash01(i, 1, seed) * static_cast<float>(size);
    const float y = Hash01(i, 2, seed) * static_cast<float>(size);
    const float angle = Hash01(i, 3, seed) * 6.2831853f;
    const float l = length * (0.3f + Hash01(i, 4, seed)) * static_cast<float>(size);
    const float dx = std::cos(angle) * l, dy = std::sin(angle) * l;
    Color c = tone;
    c.a = tone.a * (0.3f + 0.7f * Hash01(i, 5, seed));
    // Drawn at the nine wrapped offsets so strokes crossing an edge continue opposite.
    for (int ox = -1; ox <= 1; ++ox) {
      for (int oy = -1; oy <= 1; ++oy) {
        const float sx = x + static_cast<float>(ox * size), sy = y + static_cast<float>(oy * size);
        colour.Line(sx, sy, sx + dx, sy + dy, 1.0f, c);
        if (height != nullptr) height->Line(sx, sy, sx + dx, sy + dy, 1.0f, Color(0.35f, 0.35f, 0.35f, 0.5f * c.a));
      }
    }
  }
}

}  // namespace

Canvas NormalMap(const Canvas& height, float strength) {
  const int w = height.Width(), h = height.Height();
  Canvas out(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      // Canvas rows run top-down while t runs bottom-up: "up" in the picture is +t.
      const float dx = height.Wrapped(x + 1, y).r - height.Wrapped(x - 1, y).r;
      const float dy = height.Wrapped(x, y - 1).r - height.Wrapped(x, y + 1).r;
      const float nx = -dx * strength, ny = -dy * strength;
      const float length = std::sqrt(nx * nx + ny * ny + 1.0f);
      out.At(x, y) = Color(0.5f + 0.5f * nx / length, 0.5f + 0.5f * ny / length, 0.5f + 0.5f / length, 1);
    }
  }
  return out;
}

Surface ConcreteFloor(int size, std::uint32_t seed) {
  Surface s{Canvas(size, size), Flat(size, 0.5f)};
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const float u = Coord(x, size), v = Coord(y, size);
      const float broad = Fbm(u, v, 3, 5, seed);
      const float grain = Fbm(u, v, 64, 3, seed + 7);
      const float trowel = Fbm(u * 1.0f, v, 12, 2, seed + 11);
      float nearest = 0, second = 0;
      Cellular(u, v, 5, seed + 3, nearest, second);
      const float spot = 1.0f - Smoothstep(0.05f, 0.32f, nearest);
      const float oil = spot * Smoothstep(0.45f, 0.75f, Fbm(u, v, 6, 3, seed + 5));
      float tone = 0.50f + 0.16f * (broad - 0.5f) * 2.0f + 0.10f * (grain - 0.5f) + 0.05f * (trowel - 0.5f);
      tone *= 1.0f - 0.45f * oil;
      const float joint = Groove(std::min(DistanceToLine(u, 2), DistanceToLine(v, 2)), 0.0025f, size);
      tone *= 1.0f - 0.55f * joint;
      s.colour.At(x, y) = Color(tone * 0.98f, tone * 0.97f, tone * 0.93f, 1);
      s.height.At(x, y) = Color(0.5f + 0.08f * (grain - 0.5f) - 0.35f * joint, 0, 0, 1);
    }
  }
  return s;
}

Surface CladdingWall(int size, std::uint32_t seed) {
  Surface s{Canvas(size, size), Flat(size, 0.5f)};
  const int ribs = 48;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const float u = Coord(x, size), v = 1.0f - Coord(y, size);  // v = 0 at the floor
      const float rib = 0.5f + 0.5f * std::cos(u * static_cast<float>(ribs) * 6.2831853f);
      const float ridge = std::pow(rib, 3.0f);
      const float seam = Groove(DistanceToLine(u, 3), 0.0018f, size);
      const float streaks = Fbm(u * 1.0f, v * 0.08f, 24, 3, seed + 2);
      const float grime = (1.0f - Smoothstep(0.0f, 0.35f, v)) * 0.45f + 0.25f * Smoothstep(0.55f, 0.8f, streaks);
      const float blotch = Fbm(u, v, 4, 4, seed);
      float tone = 0.62f + 0.12f * (blotch - 0.5f) + 0.07f * ridge;
      tone *= 1.0f - grime;
      tone *= 1.0f - 0.5f * seam;
      s.colour.At(x, y) = Color(tone * 0.86f, tone * 0.90f, tone * 0.93f, 1);
      s.height.At(x, y) = Color(0.3f + 0.45f * ridge - 0.2f * seam, 0, 0, 1);
    }
  }
  return s;
}

Surface PaintedSteel(int size, std::uint32_t seed) {
  Surface s{Canvas(size, size), Flat(size, 0.5f)};
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const float u = Coord(x, size), v = Coord(y, size);
      const float roller = Fbm(u, v, 24, 3, seed + 1);
      const float broad = Fbm(u, v, 3, 4, seed);
      float nearest = 0, second = 0;
      Cellular(u, v, 7, seed + 9, nearest, second);
      const float chip = (1.0f - Smoothstep(0.04f, 0.10f, nearest)) * Smoothstep(0.55f, 0.7f, Fbm(u, v, 5, 2, seed + 4));
      const float rust = Smoothstep(0.68f, 0.85f, Fbm(u, v, 6, 5, seed + 8));
      float tone = 0.80f + 0.06f * (roller - 0.5f) + 0.10f * (broad - 0.5f);
      Color c(tone, tone, tone, 1);
      c = Mix(c, Color(0.32f, 0.31f, 0.30f, 1), chip * 0.9f);   // bare steel through chipped paint
      c = Mix(c, Color(0.45f, 0.24f, 0.12f, 1), rust * 0.6f);   // rust bloom
      s.colour.At(x, y) = c;
      s.height.At(x, y) = Color(0.5f - 0.2f * chip + 0.05f * (roller - 0.5f), 0, 0, 1);
    }
  }
  // As many scratches at any size: a larger map is the same paint, sharper.
  Scratches(s.colour, &s.height, 85, 0.05f, Color(0.35f, 0.35f, 0.34f, 0.6f), seed + 20);
  return s;
}

Surface HazardStripes(int size, std::uint32_t seed) {
  Surface s{Canvas(size, size), Canvas()};
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const float u = Coord(x, size), v = Coord(y, size);
      // Four stripe pairs across a repeat at 45 degrees; anti-aliased edges.
      const float phase = (u + v) * 4.0f;
      const float f = phase - std::floor(phase);
      const float edge = 1.5f * 4.0f / static_cast<float>(size);
      const float yellow = Smoothstep(-edge, edge, f) * (1.0f - Smoothstep(0.5f - edge, 0.5f + edge, f));
      const float wear = Smoothstep(0.6f, 0.8f, Fbm(u, v, 8, 4, seed));
      const float dirt = Fbm(u, v, 16, 3, seed + 1);
      Color c = Mix(Color(0.06f, 0.06f, 0.06f, 1), Color(0.95f, 0.72f, 0.08f, 1), yellow);
      c = Mix(c, Color(0.30f, 0.29f, 0.27f, 1), wear * 0.7f);
      c = c * (0.85f + 0.3f * (dirt - 0.5f));
      s.colour.At(x, y) = c;
    }
  }
  return s;
}

Surface Grating(int size, std::uint32_t seed) {
  Surface s{Canvas(size, size), Flat(size, 0.5f)};
  const int bars = 16, cross = 4;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const float u = Coord(x, size), v = Coord(y, size);
      const float along = 1.0f - Smoothstep(0.006f, 0.010f, DistanceToLine(u, bars));
      const float across = 1.0f - Smoothstep(0.004f, 0.008f, DistanceToLine(v, cross * bars / 4));
      const float metal = std::max(along, across * 0.9f);
      const float grime = Fbm(u, v, 6, 3, seed);
      const float tone = 0.12f + metal * (0.55f + 0.2f * (grime - 0.5f));
      s.colour.At(x, y) = Color(tone, tone * 0.98f, tone * 0.95f, 1);
      s.height.At(x, y) = Color(0.2f + 0.6f * metal, 0, 0, 1);
    }
  }
  return s;
}

Surface TreadPlate(int size, std::uint32_t seed) {
  Surface s{Canvas(size, size), Flat(size, 0.5f)};
  const int cells = 16;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const float u = Coord(x, size), v = Coord(y, size);
      // Raised lozenges alternating direction in a checkerboard.
      const float cu = u * static_cast<float>(cells), cv = v * static_cast<float>(cells);
      const int iu = static_cast<int>(std::floor(cu)), iv = static_cast<int>(std::floor(cv));
      float lu = cu - static_cast<float>(iu) - 0.5f, lv = cv - static_cast<float>(iv) - 0.5f;
      if ((iu + iv) % 2 != 0) std::swap(lu, lv);
      const float a = (lu + lv) * 0.7071f, b = (lu - lv) * 0.7071f;
      const float d = std::sqrt((a * a) / 0.16f + (b * b) / 0.006f);
      const float bump = 1.0f - Smoothstep(0.8f, 1.0f, d);
      const float wear = Fbm(u, v, 4, 4, seed);
      const float scuff = Fbm(u, v, 32, 2, seed + 3);
      float tone = 0.30f + 0.10f * (wear - 0.5f) + 0.05f * (scuff - 0.5f) + 0.12f * bump;
      s.colour.At(x, y) = Color(tone * 0.95f, tone * 0.97f, tone, 1);
      s.height.At(x, y) = Color(0.4f + 0.4f * bump, 0, 0, 1);
    }
  }
  Scratches(s.colour, nullptr, size / 4, 0.06f, Color(0.55f, 0.55f, 0.56f, 0.35f), seed + 10);
  return s;
}

Surface DoorPlate(int size, std::uint32_t seed) {
  Surface s{Canvas(size, size), Flat(size, 0.5f)};
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const float u = Coord(x, size), v = Coord(y, size);
      const float stiffener = 1.0f - Smoothstep(0.015f, 0.022f, DistanceToLine(v, 4));
      const float seam = Groove(DistanceToLine(u, 2), 0.002f, size);
      // Rivets along the stiffeners.
      const float ru = DistanceToLine(u, 16), rv = DistanceToLine(v + 0.045f, 4);
      const float rivet = 1.0f - Smoothstep(0.004f, 0.008f, std::sqrt(ru * ru + rv * rv));
      const float wear = Fbm(u, v, 5, 4, seed);
      float tone = 0.58f + 0.1f * (wear - 0.5f) + 0.06f * stiffener;
      tone *= 1.0f - 0.5f * seam;
      s.colour.At(x, y) = Color(tone, tone, tone, 1);
      s.height.At(x, y) = Color(0.4f + 0.35f * stiffener + 0.25f * rivet - 0.2f * seam, 0, 0, 1);
    }
  }
  Scratches(s.colour, &s.height, size / 5, 0.04f, Color(0.3f, 0.3f, 0.3f, 0.5f), seed + 30);
  return s;
}

Surface CorridorPanels(int size, std::uint32_t seed) {
  Surface s{Canvas(size, size), Flat(size, 0.5f)};
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const float u = Coord(x, size), v = 1.0f - Coord(y, size);
      const float seam = Groove(std::min(DistanceToLine(u, 2), DistanceToLine(v, 3)), 0.0025f, size);
      const float bu = DistanceToLine(u + 0.04f, 2), bv = DistanceToLine(v + 0.04f, 3);
      const float bolt = 1.0f - Smoothstep(0.005f, 0.009f, std::sqrt(bu * bu + bv * bv));
      const float band = Smoothstep(0.30f, 0.305f, v) * (1.0f - Smoothstep(0.36f, 0.365f, v));
      const float stain = Fbm(u, v, 4, 5, seed);
      float tone = 0.55f + 0.14f * (stain - 0.5f);
      Color c(tone * 0.93f, tone * 0.95f, tone, 1);
      c = Mix(c, Color(0.85f, 0.45f, 0.08f, 1) * (0.8f + 0.3f * stain), band);
      c = c * (1.0f - 0.6f * seam) * (1.0f - 0.3f * (1.0f - Smoothstep(0.0f, 0.15f, v)));
      s.colour.At(x, y) = c;
      s.height.At(x, y) = Color(0.5f - 0.3f * seam + 0.3f * bolt, 0, 0, 1);
    }
  }
  return s;
}

Surface RoofDeck(int size, std::uint32_t seed) {
  Surface s{Canvas(size, size), Canvas()};
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const float u = Coord(x, size), v = Coord(y, size);
      const float rib = 0.5f + 0.5f * std::cos(u * 16.0f * 6.2831853f);
      const float soot = Fbm(u, v, 3, 5, seed);
      const float tone = (0.24f + 0.08f * rib) * (0.8f + 0.4f * (soot - 0.5f));
      s.colour.At(x, y) = Color(tone, tone * 1.02f, tone * 1.06f, 1);
    }
  }
  return s;
}

Surface BrushedMetal(int size, std::uint32_t seed) {
  Surface s{Canvas(size, size), Canvas()};
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const float u = Coord(x, size), v = Coord(y, size);
      const float brush = ValueNoise(u * 2.0f, v * static_cast<float>(size) * 0.5f, 0, seed) * 0.5f +
                          ValueNoise(u * 4.0f, v * static_cast<float>(size) * 0.25f, 0, seed + 1) * 0.5f;
      const float broad = Fbm(u, v, 2, 3, seed + 2);
      const float tone = 0.72f + 0.10f * (brush - 0.5f) + 0.08f * (broad - 0.5f);
      s.colour.At(x, y) = Color(tone, tone, tone * 1.02f, 1);
    }
  }
  return s;
}

Surface GlassPane(int size, std::uint32_t seed) {
  Surface s{Canvas(size, size), Canvas()};
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const float u = Coord(x, size), v = Coord(y, size);
      const float smudge = Smoothstep(0.55f, 0.85f, Fbm(u, v, 4, 5, seed));
      const float tone = 0.80f - 0.12f * smudge;
      s.colour.At(x, y) = Color(tone * 0.86f, tone * 0.95f, tone, 1);
    }
  }
  return s;
}

Canvas LightPool(int size) {
  Canvas c(size, size);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const float dx = Coord(x, size) - 0.5f, dy = Coord(y, size) - 0.5f;
      const float r = std::sqrt(dx * dx + dy * dy) * 2.0f;
      const float a = std::pow(Clamp01(1.0f - r), 1.5f);
      c.At(x, y) = Color(1, 0.93f, 0.82f, a);
    }
  }
  return c;
}

Canvas LightShaft(int size, std::uint32_t seed) {
  Canvas c(size, size);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const float u = Coord(x, size), v = 1.0f - Coord(y, size);  // v = 1 at the lamp
      const float streaks = 0.6f + 0.4f * Fbm(u, v * 0.1f, 8, 3, seed);
      const float a = std::pow(v, 1.6f) * streaks;
      c.At(x, y) = Color(1, 0.95f, 0.85f, a);
    }
  }
  return c;
}

}  // namespace datagen
