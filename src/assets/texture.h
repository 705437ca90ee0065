#pragma once
// Textures: 2D OpenGL textures made from decoded images (or left empty for render
// targets), their loader, environment cube maps and depth textures. Everything here
// needs a current GL context.
#include <string>

#include "assets/image.h"
#include "base/interfaces.h"

class Texture : public IDisposable {
 public:
  // Creates and fills one 2D texture and leaves it bound to GL_TEXTURE_2D. The format
  // follows bitsPerPixel: 8 = GL_ALPHA (one grey value used as alpha), 24 = GL_RGB,
  // 32 = GL_RGBA; pixels are tightly packed bottom-up rows, or null for storage of
  // undefined content. Any other bitsPerPixel gives a texture name without storage.
  Texture(int width, int height, int bitsPerPixel, const void* pixels, int wrap, int minFilter,
          int magFilter, bool mipmaps);
  ~Texture() override;
  Texture(const Texture&) = delete;
  Texture& operator=(const Texture&) = delete;

  // Gives the texture new pixels under the same GL name, filters and wrap (mipmaps
  // made again when it had them): whatever holds the name sees the new picture. False
  // for a bitsPerPixel other than 8, 24 or 32 (nothing changes then).
  bool Replace(int width, int height, int bitsPerPixel, const void* pixels);

  unsigned GetName() const { return name_; }  // the GL texture name; 0 means none
  int GetWidth() const { return width_; }
  int GetHeight() const { return height_; }
  int GetBitsPerPixel() const { return bitsPerPixel_; }

 private:
  unsigned name_ = 0;
  int width_ = 0;
  int height_ = 0;
  int bitsPerPixel_ = 0;
  bool mipmaps_ = false;
};

// Decodes a texture file the way the loader does. The decoder is chosen by the third
// character from the end of the path: 'p' for PNG ("png"), anything else JPEG ("jpg");
// the test is case-sensitive, so X.PNG is read as a JPEG. False when it is missing or
// does not decode. Needs no GL context.
bool DecodeTextureFile(const std::string& path, Image& image);

// Loads image files as repeating, trilinear-filtered, mipmapped textures, decoded the
// way DecodeTextureFile does (through the load's IImageSource where the provider has
// one). Null when the file is missing or does not decode.
class TextureLoader : public IAssetLoader {
 public:
  IDisposable* Load(const char* path, sm::IServiceProvider* provider) override;
};

// Builds a mipmapped cube map from six JPEG files prefix + "x_pos.jpg", "x_neg.jpg",
// "y_neg.jpg", "y_pos.jpg", "z_neg.jpg", "z_pos.jpg", uploaded in that order to the
// faces +X, -X, +Y, -Y, +Z, -Z: the y and z pictures go to the faces opposite their
// names. A face whose file is missing or broken is left empty. Enables
// GL_TEXTURE_CUBE_MAP and returns the texture's name, which the caller owns.
unsigned LoadCubeMap(const std::string& prefix);

struct DepthTexture {
  unsigned name = 0;
  int width = 0;
  int height = 0;
};

// A 2D GL_DEPTH_COMPONENT24 texture without content; filters, wrap and comparison
// are set by the caller. Leaves GL_TEXTURE_2D unbound.
DepthTexture CreateDepthTexture(int width, int height);
