#pragma once
// Models: the scenery and the characters. A model is a list of meshes; a mesh is a
// named scene node (animations bind to it by its node id) with a transform, a pivot,
// named node values and sub-meshes; a sub-mesh is one material's triangles in a
// static vertex buffer.
//
// The file is parsed by model_file.h; this turns the data into these objects and
// uploads each sub-mesh's vertices when a GL context is current. Without one (tools,
// tests) the objects are complete except that no vertex buffer exists and drawing
// does nothing.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "anim/keyed_value.h"
#include "anim/math.h"
#include "base/interfaces.h"
#include "assets/model_file.h"

class Material;
class Mesh;

class SubMesh {
 public:
  SubMesh() = default;
  SubMesh(const SubMesh&) = delete;
  SubMesh& operator=(const SubMesh&) = delete;
  // Deletes the vertex buffer.
  ~SubMesh();

  // Creates the vertex buffer from the vertices; needs a current GL context. Leaves no
  // buffer bound.
  void Upload();
  // Draws the triangles with positions, normals and both texture coordinates (unit 0:
  // four floats from offset 32, unit 1: three floats from offset 48).
  void Draw() const;
  // Draws with positions and the second texture coordinate on unit 0.
  void DrawSecondUV() const;

  unsigned vertexBuffer = 0;    // GL buffer name; 0 while none exists
  Material* material = nullptr;  // bound after loading; not owned
  int vertexCount = 0;          // a triangle list: 3 per triangle
  std::vector<float> vertices;  // model_file::kFloatsPerVertex per vertex
  Mesh* owner = nullptr;
  model_file::BoundingBox boundingBox;
  model_file::BoundingSphere boundingSphere;
  bool visible = true;      // the draw passes skip invisible sub-meshes
  bool cullExempt = false;  // frustum culling leaves it visible
  std::string materialName;
};

class Mesh final : public ITransformable {
 public:
  Mesh() = default;
  Mesh(const Mesh&) = delete;
  Mesh& operator=(const Mesh&) = delete;
  ~Mesh() = default;

  bool IsCamera() override { return false; }
  int GetId() override { return nodeId; }
  float* GetTransform() override { return transform.a; }
  float* GetBaseTransform() override { return baseTransform.a; }

  // The node value named name, or null.
  KeyedValue* FindValue(const std::string& name);

  std::vector<std::unique_ptr<SubMesh>> subMeshes;  // file order
  sm::Mat4 transform;      // world matrix the mesh is drawn with
  sm::Mat4 baseTransform;  // animated matrix before the node's local matrix
  std::map<std::string, KeyedValue> values;
  int nodeId = 0;
  std::string name;
  sm::Mat4 pivot;  // identity when the file carries none
  sm::Mat4 inversePivot;
  float colourMask[4] = {1, 1, 1, 1};
};

class Model : public IDisposable {
 public:
  std::vector<std::unique_ptr<Mesh>> meshes;  // file order
};

// The node value the file describes: a constant or a track of its type and mode,
// filled with the file's keys (int and float keys only; other types carry bare times).
KeyedValue MakeNodeValue(const model_file::NodeValue& value);

// Builds a mesh from parsed data (moving the vertices out of it); uploads nothing.
std::unique_ptr<Mesh> MakeMesh(model_file::MeshData&& data);

// True when a GL context is current and the buffer entry points are fetched.
bool HasCurrentGlContext();

class ModelLoader : public IAssetLoader {
 public:
  explicit ModelLoader(ContentObservers& observers) : observers_(observers) {}

  // Null when the file cannot be read or is truncated or inconsistent; the reason
  // goes to the log.
  IDisposable* Load(const char* path, sm::IServiceProvider* provider) override;
  // The same with the reason handed back (it names the file). Reports a step to
  // every observer after each mesh.
  std::unique_ptr<Model> LoadModel(const std::string& path, std::string& error);

  // Version of the file read last (0 when it had no header).
  unsigned short Version() const { return version_; }

 private:
  ContentObservers& observers_;
  unsigned short version_ = 0;
};

// The mesh count a model file announces (for progress); 0 when it cannot be read.
int PeekMeshCount(const std::string& path);
