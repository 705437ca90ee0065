#pragma once
// The model geometry file (".geo"): reading it into plain data and writing it back.
// No GL here: the loader (model.h) turns the data into meshes with vertex buffers, and
// tools and tests read files without a display.
//
// Layout (little-endian; a string is a signed 32-bit byte count and the bytes):
//   optional header  "HLCMDL", u16 version     (present when the file is >= 8 bytes
//                                                and starts with the six letters)
//   i32 mesh count, then per mesh:
//     i32 node id, string name, [16 floats pivot when version != 0],
//     i32 sub-mesh count, per sub-mesh: string material, i32 vertex count,
//                                       11 floats per vertex,
//     i32 value count, per value: string name, u8 type, u8 mode, content.
// docs/formats.md has the full description.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "anim/math.h"
#include "base/byte_io.h"

namespace model_file {

// Floats per vertex in memory and in a vertex buffer: position xyzw, normal xyzw,
// first texture coordinate strq, second texture coordinate str.
constexpr int kFloatsPerVertex = 15;
constexpr int kVertexStride = kFloatsPerVertex * 4;
// Floats per vertex in the file: position xyz, normal xyz, first uv str, second uv st.
constexpr int kFileFloatsPerVertex = 11;
constexpr char kMagic[] = "HLCMDL";
constexpr std::size_t kMagicSize = 6;
constexpr std::size_t kHeaderSize = 8;

// Axis-aligned box of a sub-mesh: the extremes, then the centre (fourth component 1).
struct BoundingBox {
  float minX = 0, maxX = 0, minY = 0, maxY = 0, minZ = 0, maxZ = 0;
  float centre[4] = {0, 0, 0, 1};
};

// Sphere around the box: half its diagonal, same centre.
struct BoundingSphere {
  float radius = 0;
  float centre[4] = {0, 0, 0, 1};
};

// Bounds of vertexCount vertices in the 15-float layout; all zero (centre w 1) when
// there are none.
void ComputeBounds(const float* vertices, std::size_t vertexCount, BoundingBox& box,
                   BoundingSphere& sphere);

enum ValueType : std::uint8_t { kBool = 0, kInt = 1, kFloat = 2, kVec3 = 3, kString = 4 };
enum ValueMode : std::uint8_t { kConstant = 0, kStep = 1, kLinear = 2, kTcb = 3 };

// A key of a keyed node value. Only int and float values carry a value in the file;
// the keys of the other types are bare times.
struct ValueKey {
  float time = 0;
  std::int32_t intValue = 0;
  float floatValue = 0;
};

// A node value as the file holds it. Type and mode are kept as read, also when they
// are outside the known range (the loader then stores nothing for them).
struct NodeValue {
  std::string name;
  std::uint8_t type = kBool;
  std::uint8_t mode = kConstant;
  // The constant (mode 0); only the member of the value's type is meaningful.
  bool boolValue = false;
  std::int32_t intValue = 0;
  float floatValue = 0;
  sm::Vec3 vec3Value;
  std::string stringValue;
  // The keys (every mode other than 0), in file order.
  std::vector<ValueKey> keys;
};

struct SubMeshData {
  std::string materialName;
  std::vector<float> vertices;  // kFloatsPerVertex per vertex
  BoundingBox box;
  BoundingSphere sphere;

  std::size_t VertexCount() const { return vertices.size() / kFloatsPerVertex; }
};

struct MeshData {
  std::int32_t nodeId = 0;
  std::string name;
  sm::Mat4 pivot;  // identity when the file carries none (version 0)
  std::vector<SubMeshData> subMeshes;
  std::vector<NodeValue> values;  // file order; a later repeated name wins when stored
};

struct ModelData {
  bool hasHeader = false;
  std::uint16_t version = 0;  // 0 when there is no header
  std::vector<MeshData> meshes;
};

// Reads a model file from a buffer one mesh at a time, so the loader can upload each
// mesh and report progress before it reads the next. Every read is bounds-checked: a
// count or length beyond the end of the buffer fails the read, never over-reads and
// never allocates more than the buffer could describe.
class Reader {
 public:
  // Reads the header and the mesh count; Ok() is false when the count is missing.
  Reader(const void* data, std::size_t size);

  bool Ok() const { return reader_.Ok(); }
  const std::string& Error() const { return error_.empty() ? reader_.Error() : error_; }
  bool HasHeader() const { return hasHeader_; }
  std::uint16_t Version() const { return version_; }
  // The meshes the file announces (zero or less means none).
  int MeshCount() const { return meshCount_; }
  // Reads the next mesh; false (with Error() set) when the file ends or is
  // inconsistent. Call at most MeshCount() times.
  bool ReadMesh(MeshData& mesh);

 private:
  bool ReadSubMesh(SubMeshData& subMesh);
  bool ReadValue(NodeValue& value);

  bytes::ByteReader reader_;
  bool hasHeader_ = false;
  std::uint16_t version_ = 0;
  int meshCount_ = 0;
  int meshesRead_ = 0;
  std::string error_;
};

// Whole-buffer and whole-file reads. On failure error says why; the file form names
// the file.
bool Parse(const void* data, std::size_t size, ModelData& model, std::string& error);
bool ReadFile(const std::string& path, ModelData& model, std::string& error);

// The mesh count the file announces, read from its first bytes only (for progress
// counting before the load). 0 when the file cannot be read or announces none; never
// more meshes than the file's size could hold.
int PeekMeshCount(const std::string& path);

// Serialises a model. The header is written when hasHeader is set, and each mesh's
// pivot when the header's version is not 0 (exactly what the reader expects).
void Write(const ModelData& model, bytes::ByteWriter& out);
std::string Write(const ModelData& model);
bool WriteFile(const std::string& path, const ModelData& model, std::string& error);

}  // namespace model_file
