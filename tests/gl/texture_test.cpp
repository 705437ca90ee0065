// Textures, the texture loader, cube maps and depth textures on a real GL context.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assets/image.h"
#include "assets/test_images.h"
#include "base/log.h"
#include "assets/texture.h"
#include "platform/gl.h"
#include "support/gl_test.h"
#include "support/temp_dir.h"

namespace {

using testing::ElementsAreArray;
using testing_support::ReadFile;
using testing_support::TempDir;

class TextureGl : public testing_support::GlTest {
 protected:
  static GLint Level(GLenum target, int level, GLenum what) {
    GLint value = 0;
    glGetTexLevelParameteriv(target, level, what, &value);
    return value;
  }
  static GLint Parameter(GLenum target, GLenum what) {
    GLint value = 0;
    glGetTexParameteriv(target, what, &value);
    return value;
  }
  static std::vector<unsigned char> Pixels(GLenum target, GLenum format, int bytes) {
    std::vector<unsigned char> pixels(static_cast<size_t>(bytes));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(target, 0, format, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
  }
  static GLint Bound(GLenum binding) {
    GLint name = 0;
    glGetIntegerv(binding, &name);
    return name;
  }
  std::unique_ptr<Texture> Load(const std::string& path) {
    TextureLoader loader;
    return std::unique_ptr<Texture>(static_cast<Texture*>(loader.Load(path.c_str(), nullptr)));
  }

  TempDir dir_;
};

TEST_F(TextureGl, UploadsTightRowsInTheFormatOfTheirDepth) {
  // Three bytes per row at 8 bits and fifteen at 24: neither is a multiple of 4.
  const std::vector<unsigned char> alpha = {1, 2, 3, 4, 5, 6};
  Texture grey(3, 2, 8, alpha.data(), GL_CLAMP_TO_EDGE, GL_NEAREST, GL_NEAREST, false);
  EXPECT_NE(grey.GetName(), 0u);
  EXPECT_EQ(Bound(GL_TEXTURE_BINDING_2D), static_cast<GLint>(grey.GetName()));
  EXPECT_EQ(Level(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE), 8);
  EXPECT_EQ(Level(GL_TEXTURE_2D, 0, GL_TEXTURE_RED_SIZE), 0);  // alpha, not luminance
  EXPECT_EQ(Level(GL_TEXTURE_2D, 0, GL_TEXTURE_LUMINANCE_SIZE), 0);
  EXPECT_THAT(Pixels(GL_TEXTURE_2D, GL_ALPHA, 6), ElementsAreArray(alpha));

  std::vector<unsigned char> rgb(5 * 3 * 3);
  for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<unsigned char>(i * 5);
  Texture colour(5, 3, 24, rgb.data(), GL_CLAMP_TO_EDGE, GL_NEAREST, GL_NEAREST, false);
  EXPECT_EQ(Level(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH), 5);
  EXPECT_EQ(Level(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE), 0);
  EXPECT_THAT(Pixels(GL_TEXTURE_2D, GL_RGB, 45), ElementsAreArray(rgb));
  GLint alignment = 0;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  EXPECT_EQ(alignment, 4);  // put back as it was

  // Render targets: storage without pixels.
  Texture target(64, 32, 32, nullptr, GL_CLAMP_TO_EDGE, GL_LINEAR, GL_LINEAR, false);
  EXPECT_EQ(Level(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT), 32);
  EXPECT_EQ(Parameter(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
  CheckGlError("creating textures");

  GLuint name = 0;
  {
    Texture gone(1, 1, 24, rgb.data(), GL_REPEAT, GL_NEAREST, GL_NEAREST, false);
    name = gone.GetName();
    EXPECT_TRUE(glIsTexture(name));
  }
  EXPECT_FALSE(glIsTexture(name));  // destroying the texture deletes its GL object
}

TEST_F(TextureGl, LoaderMakesRepeatingMipmappedTexturesFromPngFiles) {
  test_images::PngPicture rgba;
  rgba.width = 4;
  rgba.height = 2;
  rgba.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
  rgba.rows = {std::vector<png_byte>(16, 200), std::vector<png_byte>(16, 100)};
  test_images::WritePng(dir_.File("rgba.png"), rgba);
  auto texture = Load(dir_.File("rgba.png"));
  ASSERT_NE(texture, nullptr);
  EXPECT_EQ(texture->GetBitsPerPixel(), 32);
  EXPECT_EQ(Bound(GL_TEXTURE_BINDING_2D), static_cast<GLint>(texture->GetName()));
  EXPECT_EQ(Parameter(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S), GL_REPEAT);
  EXPECT_EQ(Parameter(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T), GL_REPEAT);
  EXPECT_EQ(Parameter(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
  EXPECT_EQ(Parameter(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
  EXPECT_EQ(Level(GL_TEXTURE_2D, 2, GL_TEXTURE_WIDTH), 1);  // the mipmap chain exists
  EXPECT_EQ(Level(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE), 8);
  // Texture row 0 is the picture's bottom row.
  const std::vector<unsigned char> pixels = Pixels(GL_TEXTURE_2D, GL_RGBA, 32);
  EXPECT_EQ(pixels.front(), 100);
  EXPECT_EQ(pixels.back(), 200);

  test_images::PngPicture grey;
  grey.colorType = PNG_COLOR_TYPE_GRAY;
  grey.rows = {{42}};
  test_images::WritePng(dir_.File("grey.png"), grey);
  texture = Load(dir_.File("grey.png"));
  ASSERT_NE(texture, nullptr);
  EXPECT_EQ(texture->GetBitsPerPixel(), 8);
  EXPECT_THAT(Pixels(GL_TEXTURE_2D, GL_ALPHA, 1), ElementsAreArray({42}));
  CheckGlError("loading PNG textures");
}

TEST_F(TextureGl, TheThirdCharacterFromTheEndChoosesTheDecoder) {
  test_images::WriteSolidJpeg(dir_.File("x.gif"), 8, 4, 0, 255, 0);
  test_images::WriteSolidJpeg(dir_.File("JPEG.PNG"), 8, 4, 0, 255, 0);
  test_images::PngPicture png;
  png.rows = {{1, 2, 3}};
  test_images::WritePng(dir_.File("PNG.PNG"), png);
  test_images::WritePng(dir_.File("png.jpg"), png);

  auto gif = Load(dir_.File("x.gif"));
  ASSERT_NE(gif, nullptr);
  EXPECT_EQ(gif->GetWidth(), 8);
  EXPECT_EQ(gif->GetBitsPerPixel(), 24);
  EXPECT_NE(Load(dir_.File("JPEG.PNG")), nullptr);  // upper case: read as JPEG
  testing::internal::CaptureStderr();
  EXPECT_EQ(Load(dir_.File("PNG.PNG")), nullptr);
  EXPECT_EQ(Load(dir_.File("png.jpg")), nullptr);
  EXPECT_EQ(Load(dir_.File("missing.png")), nullptr);
  testing::internal::GetCapturedStderr();
  CheckGlError("loading textures by extension");
}

TEST_F(TextureGl, CubeMapFacesComeFromTheirFiles) {
  const struct {
    const char* file;
    GLenum face;
    unsigned char r, g, b;
  } faces[] = {
      {"x_pos.jpg", GL_TEXTURE_CUBE_MAP_POSITIVE_X, 255, 0, 0},
      {"x_neg.jpg", GL_TEXTURE_CUBE_MAP_NEGATIVE_X, 0, 255, 0},
      {"y_neg.jpg", GL_TEXTURE_CUBE_MAP_POSITIVE_Y, 0, 0, 255},  // opposite faces for y and z
      {"y_pos.jpg", GL_TEXTURE_CUBE_MAP_NEGATIVE_Y, 255, 255, 0},
      {"z_neg.jpg", GL_TEXTURE_CUBE_MAP_POSITIVE_Z, 0, 255, 255},
      {"z_pos.jpg", GL_TEXTURE_CUBE_MAP_NEGATIVE_Z, 255, 0, 255},
  };
  for (const auto& f : faces) {
    test_images::WriteSolidJpeg(dir_.File(std::string("env_") + f.file), 16, 16, f.r, f.g, f.b);
  }
  const unsigned cube = LoadCubeMap(dir_.File("env_"));
  ASSERT_NE(cube, 0u);
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_CUBE_MAP));
  EXPECT_EQ(Bound(GL_TEXTURE_BINDING_CUBE_MAP), 0);
  glBindTexture(GL_TEXTURE_CUBE_MAP, cube);
  EXPECT_EQ(Parameter(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
  for (const auto& f : faces) {
    EXPECT_EQ(Level(f.face, 4, GL_TEXTURE_WIDTH), 1) << f.file;  // mipmapped
    const std::vector<unsigned char> pixels = Pixels(f.face, GL_RGB, 16 * 16 * 3);
    const size_t centre = (8 * 16 + 8) * 3;
    EXPECT_NEAR(pixels[centre], f.r, 4) << f.file;
    EXPECT_NEAR(pixels[centre + 1], f.g, 4) << f.file;
    EXPECT_NEAR(pixels[centre + 2], f.b, 4) << f.file;
  }
  glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
  glDeleteTextures(1, &cube);
  CheckGlError("building a cube map");
}

TEST_F(TextureGl, ACubeMapWithoutFilesStillGetsANameAndSaysWhatIsMissing) {
  const std::string prefix = dir_.File("nothing_");
  OpenLog(dir_.File("log.txt"));
  testing::internal::CaptureStderr();
  const unsigned cube = LoadCubeMap(prefix);
  const std::string messages = testing::internal::GetCapturedStderr();
  const std::string log = ReadFile(dir_.File("log.txt"));
  for (const char* face : {"x_pos", "x_neg", "y_neg", "y_pos", "z_neg", "z_pos"}) {
    EXPECT_NE(log.find("couldn't load " + prefix + face + ".jpg: that face of the environment map is empty"),
              std::string::npos)
        << log;
  }
  EXPECT_NE(cube, 0u);
  EXPECT_EQ(messages, "can't open " + prefix + "x_pos.jpg\ncan't open " + prefix +
                          "x_neg.jpg\ncan't open " + prefix + "y_neg.jpg\ncan't open " + prefix +
                          "y_pos.jpg\ncan't open " + prefix + "z_neg.jpg\ncan't open " + prefix +
                          "z_pos.jpg\n");
  glDeleteTextures(1, &cube);
  CheckGlError("building an empty cube map");
}

TEST_F(TextureGl, DepthTexturesAre24BitDepthWithoutContent) {
  const DepthTexture depth = CreateDepthTexture(128, 64);
  EXPECT_NE(depth.name, 0u);
  EXPECT_EQ(depth.width, 128);
  EXPECT_EQ(depth.height, 64);
  EXPECT_EQ(Bound(GL_TEXTURE_BINDING_2D), 0);
  glBindTexture(GL_TEXTURE_2D, depth.name);
  EXPECT_EQ(Level(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT), GL_DEPTH_COMPONENT24);
  EXPECT_EQ(Level(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH), 128);
  glBindTexture(GL_TEXTURE_2D, 0);
  glDeleteTextures(1, &depth.name);
  CheckGlError("creating a depth texture");
}

}  // namespace
