// The environment cube map "env_" (images/env_*.jpg): the blurred surroundings that
// chrome and glass reflect, and the program's own environment. A dim hall: dark floor,
// grey-blue walls with a band of warm lamps above, a brighter roof with strip lights.
#include <cmath>

#include "datagen/pipeline/context.h"
#include "datagen/steps.h"
#include "datagen/texture/noise.h"
#include "datagen/world/materials.h"

namespace datagen {
namespace {

Color Surroundings(V3 d) {
  d = Normalize(d);
  const float up = d.y;
  const float azimuth = std::atan2(d.z, d.x);
  Color c;
  if (up < -0.05f) {
    c = Mix(Color(0.16f, 0.15f, 0.14f), Color(0.08f, 0.08f, 0.08f), Smoothstep(-0.05f, -0.6f, up));
  } else if (up < 0.45f) {
    // Walls: soft vertical panels and a row of warm lamps at the top.
    const float panels = 0.5f + 0.5f * std::cos(azimuth * 16.0f);
    c = Mix(Color(0.22f, 0.26f, 0.30f), Color(0.30f, 0.34f, 0.38f), panels * 0.5f);
    const float lamps = std::pow(0.5f + 0.5f * std::cos(azimuth * 9.0f), 6.0f) * std::exp(-std::pow((up - 0.32f) / 0.05f, 2.0f));
    c = c + Color(1.0f, 0.85f, 0.6f) * (1.3f * lamps);
  } else {
    const float strips = std::pow(0.5f + 0.5f * std::cos(d.x / std::max(0.2f, up) * 9.0f), 10.0f);
    c = Mix(Color(0.30f, 0.33f, 0.36f), Color(0.18f, 0.19f, 0.21f), Smoothstep(0.45f, 1.0f, up));
    c = c + Color(0.8f, 0.9f, 1.0f) * (0.8f * strips);
  }
  // A little unevenness so reflections do not look synthetic.
  const float n = 0.9f + 0.2f * ValueNoise(azimuth * 4.0f + 10.0f, up * 6.0f + 10.0f, 0, 17);
  return c * n;
}

}  // namespace

bool BuildEnvironmentMap(Context& context) {
  const int size = 256;
  // The files and the cube face each is uploaded to: the y and z pictures go to the
  // faces opposite their names. Each face's direction per texel follows OpenGL's cube
  // map table (sc, tc in -1..1).
  struct Face {
    const char* file;
    V3 (*direction)(float sc, float tc);
  };
  const Face faces[] = {
      {"x_pos", [](float sc, float tc) { return V3(1, -tc, -sc); }},   // +X
      {"x_neg", [](float sc, float tc) { return V3(-1, -tc, sc); }},   // -X
      {"y_neg", [](float sc, float tc) { return V3(sc, 1, tc); }},     // +Y
      {"y_pos", [](float sc, float tc) { return V3(sc, -1, -tc); }},   // -Y
      {"z_neg", [](float sc, float tc) { return V3(sc, -tc, 1); }},    // +Z
      {"z_pos", [](float sc, float tc) { return V3(-sc, -tc, -1); }},  // -Z
  };
  for (const Face& face : faces) {
    Canvas c(size, size);
    // Texel row t is the t-th uploaded row, which is the picture's t-th row from the
    // bottom: canvas row size - 1 - t.
    for (int t = 0; t < size; ++t) {
      for (int s = 0; s < size; ++s) {
        const float sc = 2.0f * (static_cast<float>(s) + 0.5f) / size - 1.0f;
        const float tc = 2.0f * (static_cast<float>(t) + 0.5f) / size - 1.0f;
        c.At(s, size - 1 - t) = Surroundings(face.direction(sc, tc));
      }
    }
    const std::string name = std::string("images/") + kEnvironmentMap + face.file + ".jpg";
    if (!context.Tree().WriteImage(name, c.Blurred(2.0f, false).ToImage(24), 90)) return false;
  }
  return true;
}

}  // namespace datagen
