#include "render/noise_texture.h"

#include <vector>

#include "anim/random.h"
#include "platform/gl.h"

unsigned CreateNoiseTexture(int screenHeight) {
  const int count = screenHeight > 0 ? screenHeight / 4 : 0;
  std::vector<float> values(static_cast<size_t>(count));
  for (float& v : values) v = NoiseValue(Rand());

  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_1D, name);
  glTexParameteri(GL_TEXTURE_1D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_1D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameterf(GL_TEXTURE_1D, GL_TEXTURE_WRAP_S, static_cast<float>(GL_CLAMP_TO_EDGE));
  glTexParameterf(GL_TEXTURE_1D, GL_TEXTURE_WRAP_T, static_cast<float>(GL_CLAMP_TO_EDGE));
  // A float format keeps the negative half of the values; an 8-bit one would clamp
  // it to 0. Drivers without float textures get the 8-bit one.
  for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
  }
  glTexImage1D(GL_TEXTURE_1D, 0, GL_LUMINANCE32F_ARB, count, 0, GL_LUMINANCE, GL_FLOAT, values.data());
  if (glGetError() != GL_NO_ERROR) {
    glTexImage1D(GL_TEXTURE_1D, 0, GL_LUMINANCE, count, 0, GL_LUMINANCE, GL_FLOAT, values.data());
  }
  glBindTexture(GL_TEXTURE_1D, 0);
  return name;
}
