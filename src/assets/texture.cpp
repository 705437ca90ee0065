#include "assets/texture.h"

#include <sys/stat.h>

#include "base/log.h"
#include "assets/image_prefetch.h"
#include "platform/gl.h"

namespace {

// Decoded rows are tightly packed; GL's default unpack alignment of 4 would misread
// every 8 and 24-bit picture whose row length is not a multiple of 4.
class TightUnpacking {
 public:
  TightUnpacking() {
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &previous_);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  }
  ~TightUnpacking() { glPixelStorei(GL_UNPACK_ALIGNMENT, previous_); }
  TightUnpacking(const TightUnpacking&) = delete;
  TightUnpacking& operator=(const TightUnpacking&) = delete;

 private:
  GLint previous_ = 4;
};

void GenerateMipmaps(GLenum target) {
  if (glext::glGenerateMipmapEXT != nullptr) glext::glGenerateMipmapEXT(target);
}

GLenum FormatOf(int bitsPerPixel) {
  switch (bitsPerPixel) {
    case 8: return GL_ALPHA;
    case 24: return GL_RGB;
    case 32: return GL_RGBA;
    default: return 0;
  }
}

}  // namespace

Texture::Texture(int width, int height, int bitsPerPixel, const void* pixels, int wrap,
                 int minFilter, int magFilter, bool mipmaps)
    : width_(width), height_(height), bitsPerPixel_(bitsPerPixel), mipmaps_(mipmaps) {
  const GLenum format = FormatOf(bitsPerPixel);
  glGenTextures(1, &name_);
  glBindTexture(GL_TEXTURE_2D, name_);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
  if (format == 0) return;
  {
    TightUnpacking unpacking;
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), width, height, 0, format,
                 GL_UNSIGNED_BYTE, pixels);
  }
  if (mipmaps) GenerateMipmaps(GL_TEXTURE_2D);
}

bool Texture::Replace(int width, int height, int bitsPerPixel, const void* pixels) {
  const GLenum format = FormatOf(bitsPerPixel);
  if (format == 0 || name_ == 0) return false;
  width_ = width;
  height_ = height;
  bitsPerPixel_ = bitsPerPixel;
  glBindTexture(GL_TEXTURE_2D, name_);
  {
    TightUnpacking unpacking;
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), width, height, 0, format, GL_UNSIGNED_BYTE, pixels);
  }
  if (mipmaps_) GenerateMipmaps(GL_TEXTURE_2D);
  return true;
}

Texture::~Texture() {
  if (name_ != 0) glDeleteTextures(1, &name_);
}

bool DecodeTextureFile(const std::string& path, Image& image) {
  const bool png = path.size() >= 3 && path[path.size() - 3] == 'p';
  return png ? DecodePng(path, image) : DecodeJpeg(path, image);
}

IDisposable* TextureLoader::Load(const char* path, sm::IServiceProvider* provider) {
  struct stat info;
  if (path == nullptr || stat(path, &info) != 0) return nullptr;
  auto* source = provider != nullptr
                     ? static_cast<IImageSource*>(provider->GetService(TypeKey<IImageSource>().c_str()))
                     : nullptr;
  Image image;
  if (!(source != nullptr ? source->Decode(path, image) : DecodeTextureFile(path, image))) return nullptr;
  return new Texture(image.width, image.height, image.bitsPerPixel, image.pixels.get(),
                     GL_REPEAT, GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, true);
}

unsigned LoadCubeMap(const std::string& prefix) {
  struct Face {
    const char* file;
    GLenum target;
  };
  static const Face kFaces[6] = {
      {"x_pos.jpg", GL_TEXTURE_CUBE_MAP_POSITIVE_X}, {"x_neg.jpg", GL_TEXTURE_CUBE_MAP_NEGATIVE_X},
      {"y_neg.jpg", GL_TEXTURE_CUBE_MAP_POSITIVE_Y}, {"y_pos.jpg", GL_TEXTURE_CUBE_MAP_NEGATIVE_Y},
      {"z_neg.jpg", GL_TEXTURE_CUBE_MAP_POSITIVE_Z}, {"z_pos.jpg", GL_TEXTURE_CUBE_MAP_NEGATIVE_Z},
  };
  glEnable(GL_TEXTURE_CUBE_MAP);
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_CUBE_MAP, name);
  Image images[6];
  for (int i = 0; i < 6; ++i) {
    // The decoder says why on standard error; the log, which is what a user sends in,
    // also names the face that stays empty.
    const std::string path = prefix + kFaces[i].file;
    if (!DecodeJpeg(path, images[i])) WriteLog("couldn't load %s: that face of the environment map is empty", path.c_str());
  }
  glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
  glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  {
    TightUnpacking unpacking;
    for (int i = 0; i < 6; ++i) {
      glTexImage2D(kFaces[i].target, 0, GL_RGB, images[i].width, images[i].height, 0, GL_RGB,
                   GL_UNSIGNED_BYTE, images[i].pixels.get());
    }
  }
  // Mipmaps exist only for a complete cube: six square faces of one size. Asking for
  // them otherwise is a GL error that would surface in some unrelated later check.
  bool complete = images[0].width > 0 && images[0].width == images[0].height;
  for (int i = 1; i < 6; ++i) {
    complete = complete && images[i].width == images[0].width &&
               images[i].height == images[0].height;
  }
  if (complete) GenerateMipmaps(GL_TEXTURE_CUBE_MAP);
  glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
  return name;
}

DepthTexture CreateDepthTexture(int width, int height) {
  DepthTexture depth;
  depth.width = width;
  depth.height = height;
  glGenTextures(1, &depth.name);
  glBindTexture(GL_TEXTURE_2D, depth.name);
  glGetError();
  glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT24, width, height, 0, GL_DEPTH_COMPONENT,
               GL_FLOAT, nullptr);
  glGetError();
  glBindTexture(GL_TEXTURE_2D, 0);
  return depth;
}
