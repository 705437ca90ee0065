#include "assets/model.h"

#include <cstdint>
#include <utility>

#include "base/log.h"
#include "platform/gl.h"

namespace {

const GLvoid* Offset(std::size_t bytes) { return reinterpret_cast<const GLvoid*>(bytes); }

// The clean-up both draw paths share: nothing stays bound or enabled, and unit 1 is
// left the client-active unit.
void EndDraw() {
  glext::glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
  glDisableClientState(GL_NORMAL_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
  glext::glClientActiveTextureARB(GL_TEXTURE0_ARB);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glext::glClientActiveTextureARB(GL_TEXTURE1_ARB);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}

}  // namespace

SubMesh::~SubMesh() {
  if (vertexBuffer != 0 && glext::glDeleteBuffersARB != nullptr) {
    glext::glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
    const GLuint name = vertexBuffer;
    glext::glDeleteBuffersARB(1, &name);
  }
}

void SubMesh::Upload() {
  GLuint name = 0;
  glext::glGenBuffersARB(1, &name);
  vertexBuffer = name;
  glext::glBindBufferARB(GL_ARRAY_BUFFER_ARB, name);
  glext::glBufferDataARB(GL_ARRAY_BUFFER_ARB,
                         static_cast<GLsizeiptrARB>(vertices.size() * sizeof(float)),
                         vertices.data(), GL_STATIC_DRAW_ARB);
  // Unbound again: a buffer left bound would turn the client-memory vertex pointers
  // of later drawing code into offsets into this buffer.
  glext::glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
}

void SubMesh::Draw() const {
  if (vertexBuffer == 0) return;
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glext::glBindBufferARB(GL_ARRAY_BUFFER_ARB, vertexBuffer);
  glVertexPointer(4, GL_FLOAT, model_file::kVertexStride, Offset(0));
  glNormalPointer(GL_FLOAT, model_file::kVertexStride, Offset(16));
  glext::glClientActiveTextureARB(GL_TEXTURE0_ARB);
  glTexCoordPointer(4, GL_FLOAT, model_file::kVertexStride, Offset(32));
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glext::glClientActiveTextureARB(GL_TEXTURE1_ARB);
  glTexCoordPointer(3, GL_FLOAT, model_file::kVertexStride, Offset(48));
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glDrawArrays(GL_TRIANGLES, 0, vertexCount);
  EndDraw();
}

void SubMesh::DrawSecondUV() const {
  if (vertexBuffer == 0) return;
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glext::glBindBufferARB(GL_ARRAY_BUFFER_ARB, vertexBuffer);
  glVertexPointer(4, GL_FLOAT, model_file::kVertexStride, Offset(0));
  glext::glClientActiveTextureARB(GL_TEXTURE0_ARB);
  glTexCoordPointer(3, GL_FLOAT, model_file::kVertexStride, Offset(48));
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glDrawArrays(GL_TRIANGLES, 0, vertexCount);
  EndDraw();
}

KeyedValue* Mesh::FindValue(const std::string& valueName) {
  const auto found = values.find(valueName);
  return found == values.end() ? nullptr : &found->second;
}

KeyedValue MakeNodeValue(const model_file::NodeValue& value) {
  KeyedValue keyed(value.name, value.type, value.mode);
  if (value.mode == model_file::kConstant) {
    switch (value.type) {
      case model_file::kBool: keyed.Set<bool>(0.0f, value.boolValue); break;
      case model_file::kInt: keyed.Set<int>(0.0f, value.intValue); break;
      case model_file::kFloat: keyed.Set<float>(0.0f, value.floatValue); break;
      case model_file::kVec3: keyed.Set<sm::Vec3>(0.0f, value.vec3Value); break;
      case model_file::kString: keyed.Set<std::string>(0.0f, value.stringValue); break;
      default: break;
    }
    return keyed;
  }
  // Keys of other types are bare times and leave the track empty; a mode without a
  // track (above 3) takes no keys at all.
  for (const model_file::ValueKey& key : value.keys) {
    if (value.type == model_file::kInt) keyed.Set<int>(key.time, key.intValue);
    if (value.type == model_file::kFloat) keyed.Set<float>(key.time, key.floatValue);
  }
  return keyed;
}

std::unique_ptr<Mesh> MakeMesh(model_file::MeshData&& data) {
  auto mesh = std::make_unique<Mesh>();
  mesh->nodeId = data.nodeId;
  mesh->name = std::move(data.name);
  mesh->pivot = data.pivot;
  sm::Inverse(mesh->pivot, mesh->inversePivot);
  for (model_file::SubMeshData& source : data.subMeshes) {
    auto subMesh = std::make_unique<SubMesh>();
    subMesh->vertexCount = static_cast<int>(source.VertexCount());
    subMesh->vertices = std::move(source.vertices);
    subMesh->boundingBox = source.box;
    subMesh->boundingSphere = source.sphere;
    subMesh->materialName = std::move(source.materialName);
    subMesh->owner = mesh.get();
    mesh->subMeshes.push_back(std::move(subMesh));
  }
  for (const model_file::NodeValue& value : data.values) {
    mesh->values.insert_or_assign(value.name, MakeNodeValue(value));  // a repeat replaces
  }
  return mesh;
}

bool HasCurrentGlContext() {
  return glext::glGenBuffersARB != nullptr && glext::glBindBufferARB != nullptr &&
         glext::glBufferDataARB != nullptr && glGetString(GL_VERSION) != nullptr;
}

std::unique_ptr<Model> ModelLoader::LoadModel(const std::string& path, std::string& error) {
  version_ = 0;
  std::string buffer;
  if (!bytes::ReadWholeFile(path, buffer, error)) return nullptr;
  model_file::Reader reader(buffer.data(), buffer.size());
  version_ = reader.Version();
  const bool upload = HasCurrentGlContext();
  auto model = std::make_unique<Model>();
  for (int i = 0; reader.Ok() && i < reader.MeshCount(); ++i) {
    model_file::MeshData data;
    if (!reader.ReadMesh(data)) break;
    std::unique_ptr<Mesh> mesh = MakeMesh(std::move(data));
    if (upload) {
      for (const auto& subMesh : mesh->subMeshes) subMesh->Upload();
    }
    model->meshes.push_back(std::move(mesh));
    for (IContentObserver* observer : observers_) observer->OnStep();
  }
  if (!reader.Ok()) {
    error = "'" + path + "': " + reader.Error();
    return nullptr;
  }
  return model;
}

IDisposable* ModelLoader::Load(const char* path, sm::IServiceProvider*) {
  std::string error;
  std::unique_ptr<Model> model = LoadModel(path, error);
  if (!model) WriteLog("error: %s", error.c_str());
  return model.release();
}

int PeekMeshCount(const std::string& path) { return model_file::PeekMeshCount(path); }
