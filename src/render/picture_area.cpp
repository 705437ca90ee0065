#include "render/picture_area.h"

#include <vector>

#include "platform/gl.h"

namespace {

bool RowOpaque(const unsigned char* alpha, int texWidth, int row) {
  const unsigned char* p = alpha + static_cast<long>(row) * texWidth;
  for (int x = 0; x < texWidth; ++x) {
    if (p[x] != 255) return false;
  }
  return true;
}

}  // namespace

PictureRows VisibleRows(const unsigned char* alpha, int texWidth, int texHeight, int screenHeight) {
  PictureRows whole{0, screenHeight};
  if (alpha == nullptr || texWidth <= 0 || texHeight <= 0 || screenHeight <= 0) return whole;
  std::vector<char> opaque(static_cast<std::size_t>(texHeight));
  for (int row = 0; row < texHeight; ++row) opaque[static_cast<std::size_t>(row)] = RowOpaque(alpha, texWidth, row);
  const auto covered = [&](int y) {
    // The row sampled by nearest filtering at the centre of window row y.
    const long row = (2L * y + 1) * texHeight / (2L * screenHeight);
    return opaque[static_cast<std::size_t>(row)] != 0;
  };
  PictureRows rows{0, screenHeight};
  while (rows.bottom < screenHeight && covered(rows.bottom)) ++rows.bottom;
  if (rows.bottom == screenHeight) return whole;
  while (rows.top > rows.bottom && covered(rows.top - 1)) --rows.top;
  return rows;
}

PictureRows MaskVisibleRows(unsigned maskTexture, int screenHeight) {
  PictureRows whole{0, screenHeight};
  if (maskTexture == 0) return whole;
  GLint width = 0;
  GLint height = 0;
  glBindTexture(GL_TEXTURE_2D, maskTexture);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
  std::vector<unsigned char> alpha;
  if (width > 0 && height > 0) {
    alpha.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    GLint packAlignment = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &packAlignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_ALPHA, GL_UNSIGNED_BYTE, alpha.data());
    glPixelStorei(GL_PACK_ALIGNMENT, packAlignment);
  }
  glBindTexture(GL_TEXTURE_2D, 0);
  if (alpha.empty()) return whole;
  return VisibleRows(alpha.data(), width, height, screenHeight);
}
