// Models with a GL context: the vertex buffers that loading creates, the two ways a
// sub-mesh draws, and the GL state drawing leaves behind.
#include <gtest/gtest.h>

#include <cstdint>

#include "assets/model.h"
#include "platform/gl.h"
#include "support/gl_test.h"
#include "support/temp_dir.h"

namespace {

using namespace model_file;

// A square over the whole viewport (two triangles) whose first texture coordinate
// points at s = 0.25 and whose second points at s = 0.75.
SubMeshData Square() {
  SubMeshData subMesh;
  subMesh.materialName = "screen";
  const float corners[6][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, -1}, {1, 1}, {-1, 1}};
  for (const auto& corner : corners) {
    const float vertex[kFloatsPerVertex] = {corner[0], corner[1], 0, 1,    0, 0, 1, 1,
                                            0.25f,     0.5f,      0, 1, 0.75f, 0.5f, 1};
    subMesh.vertices.insert(subMesh.vertices.end(), vertex, vertex + kFloatsPerVertex);
  }
  return subMesh;
}

class ModelGl : public testing_support::GlTest {
 protected:
  std::unique_ptr<Model> LoadSquare() {
    ModelData data;
    data.meshes.emplace_back();
    data.meshes[0].name = "monitor";
    data.meshes[0].subMeshes = {Square(), SubMeshData()};
    std::string error;
    EXPECT_TRUE(WriteFile(dir_.File("square.geo"), data, error)) << error;
    ModelLoader loader(observers_);
    std::unique_ptr<Model> model = loader.LoadModel(dir_.File("square.geo"), error);
    EXPECT_NE(model, nullptr) << error;
    return model;
  }

  // A 2 x 1 texture on unit 0: red on the left half, green on the right.
  void BindTwoColourTexture() {
    const std::uint8_t texels[] = {255, 0, 0, 255, 0, 255, 0, 255};
    glGenTextures(1, &texture_);
    glext::glActiveTextureARB(GL_TEXTURE0_ARB);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glEnable(GL_TEXTURE_2D);
  }

  std::uint32_t CentrePixel() {
    const std::vector<std::uint8_t> pixel = ReadPixels(128, 128, 1, 1);
    return (pixel[0] << 16) | (pixel[1] << 8) | pixel[2];
  }

  static GLint Integer(GLenum name) {
    GLint value = -1;
    glGetIntegerv(name, &value);
    return value;
  }

  // Offsets into the bound buffer come back as pointer values.
  static std::uintptr_t PointerOffset(GLenum name) {
    GLvoid* pointer = nullptr;
    glGetPointerv(name, &pointer);
    return reinterpret_cast<std::uintptr_t>(pointer);
  }

  void ExpectNothingEnabledOrBound() {
    EXPECT_EQ(Integer(GL_ARRAY_BUFFER_BINDING_ARB), 0);
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_NORMAL_ARRAY));
    EXPECT_EQ(Integer(GL_CLIENT_ACTIVE_TEXTURE_ARB), GL_TEXTURE1_ARB);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
    glext::glClientActiveTextureARB(GL_TEXTURE0_ARB);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
  }

  testing_support::TempDir dir_;
  ContentObservers observers_;
  GLuint texture_ = 0;
};

TEST_F(ModelGl, SubMeshesGetStaticBuffersHoldingTheirVertices) {
  std::unique_ptr<Model> model = LoadSquare();
  ASSERT_NE(model, nullptr);
  ASSERT_TRUE(HasCurrentGlContext());
  EXPECT_EQ(Integer(GL_ARRAY_BUFFER_BINDING_ARB), 0);  // loading leaves nothing bound
  std::vector<GLuint> names;
  for (const auto& subMesh : model->meshes[0]->subMeshes) {
    ASSERT_NE(subMesh->vertexBuffer, 0u);
    names.push_back(subMesh->vertexBuffer);
    glext::glBindBufferARB(GL_ARRAY_BUFFER_ARB, subMesh->vertexBuffer);
    GLint size = -1;
    GLint usage = 0;
    glext::glGetBufferParameterivARB(GL_ARRAY_BUFFER_ARB, GL_BUFFER_SIZE_ARB, &size);
    glext::glGetBufferParameterivARB(GL_ARRAY_BUFFER_ARB, GL_BUFFER_USAGE_ARB, &usage);
    EXPECT_EQ(size, subMesh->vertexCount * 60);
    EXPECT_EQ(usage, GL_STATIC_DRAW_ARB);
    if (size > 0) {
      std::vector<float> stored(subMesh->vertices.size());
      glext::glGetBufferSubDataARB(GL_ARRAY_BUFFER_ARB, 0, size, stored.data());
      EXPECT_EQ(stored, subMesh->vertices);
    }
  }
  glext::glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
  EXPECT_EQ(model->meshes[0]->subMeshes[1]->vertexCount, 0);
  CheckGlError("upload");

  model.reset();
  for (const GLuint name : names) EXPECT_FALSE(glext::glIsBufferARB(name)) << name;
}

TEST_F(ModelGl, DrawUsesTheFirstTextureCoordinateAndDrawSecondUVTheSecond) {
  std::unique_ptr<Model> model = LoadSquare();
  ASSERT_NE(model, nullptr);
  BindTwoColourTexture();
  const SubMesh& square = *model->meshes[0]->subMeshes[0];

  glClearColor(0, 0, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  square.Draw();
  EXPECT_EQ(CentrePixel(), 0xFF0000u);
  EXPECT_EQ(Integer(GL_VERTEX_ARRAY_SIZE), 4);
  EXPECT_EQ(Integer(GL_VERTEX_ARRAY_STRIDE), 60);
  EXPECT_EQ(PointerOffset(GL_NORMAL_ARRAY_POINTER), 16u);
  EXPECT_EQ(Integer(GL_TEXTURE_COORD_ARRAY_SIZE), 3);  // unit 1
  EXPECT_EQ(PointerOffset(GL_TEXTURE_COORD_ARRAY_POINTER), 48u);
  ExpectNothingEnabledOrBound();
  EXPECT_EQ(Integer(GL_TEXTURE_COORD_ARRAY_SIZE), 4);  // unit 0
  EXPECT_EQ(PointerOffset(GL_TEXTURE_COORD_ARRAY_POINTER), 32u);

  glClear(GL_COLOR_BUFFER_BIT);
  square.DrawSecondUV();
  EXPECT_EQ(CentrePixel(), 0x00FF00u);
  ExpectNothingEnabledOrBound();
  EXPECT_EQ(Integer(GL_TEXTURE_COORD_ARRAY_SIZE), 3);
  EXPECT_EQ(PointerOffset(GL_TEXTURE_COORD_ARRAY_POINTER), 48u);

  // The empty sub-mesh draws nothing and leaves the same clean state.
  glClear(GL_COLOR_BUFFER_BIT);
  model->meshes[0]->subMeshes[1]->Draw();
  EXPECT_EQ(CentrePixel(), 0x0000FFu);
  ExpectNothingEnabledOrBound();
  CheckGlError("draw");
  glDeleteTextures(1, &texture_);
}

}  // namespace
