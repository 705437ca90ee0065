// The content registry with the real texture and material loaders, and the
// material texture pass, on a GL context.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/log.h"
#include "assets/demo_content.h"
#include "assets/material.h"
#include "assets/material_resolution.h"
#include "assets/test_images.h"
#include "assets/texture.h"
#include "platform/gl.h"
#include "support/gl_test.h"
#include "support/temp_dir.h"

namespace {

using testing_support::ReadFile;
using testing_support::TempDir;

class ContentGl : public testing_support::GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    for (const char* folder : {"textures", "materials", "images"}) {
      std::filesystem::create_directories(dir_.File(folder));
    }
    OpenLog(dir_.File("log.txt"));
  }
  void TearDown() override {
    CloseLog();
    GenericSingleton<DemoContent>::Destroy();  // textures go while the context lives
    GlTest::TearDown();
  }
  void WriteMaterial(const std::string& file, const Material& material) {
    std::string error;
    ASSERT_TRUE(WriteMaterialFile(dir_.File("materials/" + file), material, error)) << error;
  }
  std::string Root() const { return dir_.Path() + "/"; }

  TempDir dir_;
};

TEST_F(ContentGl, TexturesAndMaterialsLoadAndBind) {
  test_images::PngPicture png;
  png.width = 2;
  png.height = 2;
  png.rows = {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}};
  test_images::WritePng(dir_.File("textures/a.png"), png);
  test_images::WritePng(dir_.File("textures/b.png"), png);
  test_images::WriteSolidJpeg(dir_.File("textures/a.jpg"), 8, 8, 9, 9, 9);
  for (const char* face : {"x_pos", "x_neg", "y_pos", "y_neg", "z_pos", "z_neg"}) {
    test_images::WriteSolidJpeg(dir_.File(std::string("images/env_") + face + ".jpg"), 4, 4, 1, 2, 3);
  }
  Material shiny;
  shiny.name = "shiny";
  shiny.diffuseMapName = "a";
  shiny.opacityMapName = "b";
  shiny.environmentMapName = "env_";
  WriteMaterial("shiny.mat", shiny);
  Material broken;  // maps that no texture carries, reported diffuse, bump, opacity
  broken.diffuseMapName = "d1";
  broken.opacityMapName = "o1";
  broken.bumpMapName = "b1";
  WriteMaterial("broken.mat", broken);

  ASSERT_TRUE(DemoContent::Instance()->LoadAll(Root(), nullptr));
  DemoContent& content = *DemoContent::Instance();
  Texture* a = content.Get<Texture>("a");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->GetWidth(), 8);  // the JPEG, loaded after the PNG of the same name
  ASSERT_NE(content.Get<Texture>("b"), nullptr);

  EXPECT_FALSE(ResolveMaterialTextures(Root()));
  EXPECT_EQ(ReadFile(dir_.File("log.txt")),
            "error: texture d1 wasn't fount\n"
            "error: texture b1 wasn't fount\n"
            "error: texture o1 wasn't fount\n");
  const Material* resolved = content.Get<Material>("shiny");
  ASSERT_NE(resolved, nullptr);
  EXPECT_EQ(resolved->diffuseMap, a);
  EXPECT_EQ(resolved->opacityMap, content.Get<Texture>("b"));
  EXPECT_EQ(resolved->bumpMap, nullptr);
  ASSERT_NE(resolved->GetEnvironmentMap(), 0u);
  glBindTexture(GL_TEXTURE_CUBE_MAP, resolved->GetEnvironmentMap());
  GLint width = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_CUBE_MAP_POSITIVE_Z, 0, GL_TEXTURE_WIDTH, &width);
  EXPECT_EQ(width, 4);
  glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
  EXPECT_EQ(content.Get<Material>("broken")->diffuseMap, nullptr);
  EXPECT_TRUE(ResolveMeshMaterials());

  // Shutting down deletes the textures and the material's cube map.
  const GLuint textureName = a->GetName();
  const GLuint cubeName = resolved->GetEnvironmentMap();
  content.ReleaseAll();
  EXPECT_FALSE(glIsTexture(textureName));
  EXPECT_FALSE(glIsTexture(cubeName));
  CheckGlError("loading and releasing content");
}

TEST_F(ContentGl, ABrokenTextureIsReportedAndTheRestStillLoads) {
  testing_support::WriteFile(dir_.File("textures/bad.png"), "not a png");
  test_images::WriteSolidJpeg(dir_.File("textures/good.jpg"), 2, 2, 0, 0, 0);
  struct : IContentObserver {
    void OnError(const char* message) override { errors.push_back(message); }
    void OnBegin(int count) override { total = count; }
    void OnStep() override { ++steps; }
    void OnFinished() override {}
    std::vector<std::string> errors;
    int total = -1;
    int steps = 0;
  } observer;
  DemoContent::Instance()->AddObserver(&observer);
  testing::internal::CaptureStderr();
  EXPECT_FALSE(DemoContent::Instance()->LoadAll(Root(), nullptr));
  testing::internal::GetCapturedStderr();
  EXPECT_THAT(observer.errors,
              testing::ElementsAre("couldn't load asset '" + Root() + "textures/bad.png'"));
  EXPECT_EQ(observer.total, 2);
  EXPECT_EQ(observer.steps, 2);
  EXPECT_NE(DemoContent::Instance()->Get<Texture>("good"), nullptr);
}

}  // namespace
