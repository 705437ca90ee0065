#include "assets/model_file.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace model_file {
namespace {

// The smallest mesh record: node id, empty name, sub-mesh count and value count.
constexpr std::size_t kMinMeshBytes = 16;
// The smallest sub-mesh: empty material name and a vertex count.
constexpr std::size_t kMinSubMeshBytes = 8;
// The smallest node value: empty name, type and mode.
constexpr std::size_t kMinValueBytes = 6;

bool StartsWithHeader(const void* data, std::size_t size) {
  return size >= kHeaderSize && std::memcmp(data, kMagic, kMagicSize) == 0;
}

std::size_t KeyBytes(std::uint8_t type) { return type == kInt || type == kFloat ? 8 : 4; }

}  // namespace

void ComputeBounds(const float* vertices, std::size_t vertexCount, BoundingBox& box,
                   BoundingSphere& sphere) {
  box = BoundingBox();
  sphere = BoundingSphere();
  if (vertexCount == 0) return;
  box.minX = box.maxX = vertices[0];
  box.minY = box.maxY = vertices[1];
  box.minZ = box.maxZ = vertices[2];
  for (std::size_t i = 0; i < vertexCount; ++i) {
    const float* p = vertices + i * kFloatsPerVertex;
    if (p[0] < box.minX) box.minX = p[0];
    if (p[0] > box.maxX) box.maxX = p[0];
    if (p[1] < box.minY) box.minY = p[1];
    if (p[1] > box.maxY) box.maxY = p[1];
    if (p[2] < box.minZ) box.minZ = p[2];
    if (p[2] > box.maxZ) box.maxZ = p[2];
  }
  box.centre[0] = (box.maxX + box.minX) * 0.5f;
  box.centre[1] = (box.maxY + box.minY) * 0.5f;
  box.centre[2] = (box.maxZ + box.minZ) * 0.5f;
  const float dx = box.centre[0] - box.minX;
  const float dy = box.centre[1] - box.maxY;
  const float dz = box.centre[2] - box.minZ;
  sphere.radius = std::sqrt(dx * dx + dy * dy + dz * dz);
  std::memcpy(sphere.centre, box.centre, sizeof sphere.centre);
}

Reader::Reader(const void* data, std::size_t size) : reader_(data, size) {
  if (StartsWithHeader(data, size)) {
    hasHeader_ = true;
    reader_.Skip(kMagicSize);
    version_ = reader_.ReadU16();
  }
  meshCount_ = reader_.ReadI32();
  if (!reader_.Ok()) {
    meshCount_ = 0;
    error_ = "no mesh count: " + reader_.Error();
  }
}

bool Reader::ReadMesh(MeshData& mesh) {
  mesh = MeshData();
  if (!Ok()) return false;
  if (meshesRead_ >= meshCount_) {
    error_ = "no more meshes";
    return false;
  }
  const int index = meshesRead_++;
  mesh.nodeId = reader_.ReadI32();
  reader_.ReadString(mesh.name);
  if (version_ != 0) reader_.ReadF32s(mesh.pivot.a, 16);

  const std::int32_t subMeshCount = reader_.ReadI32();
  for (std::int32_t i = 0; reader_.Ok() && i < subMeshCount; ++i) {
    // A forged count cannot make the list grow beyond what the buffer could hold.
    if (!reader_.Has(1, kMinSubMeshBytes)) {
      reader_.Fail("sub-mesh " + std::to_string(i) + " of " + std::to_string(subMeshCount) + " missing");
      break;
    }
    mesh.subMeshes.emplace_back();
    ReadSubMesh(mesh.subMeshes.back());
  }
  const std::int32_t valueCount = reader_.ReadI32();
  for (std::int32_t i = 0; reader_.Ok() && i < valueCount; ++i) {
    if (!reader_.Has(1, kMinValueBytes)) {
      reader_.Fail("node value " + std::to_string(i) + " of " + std::to_string(valueCount) + " missing");
      break;
    }
    mesh.values.emplace_back();
    ReadValue(mesh.values.back());
  }
  if (!reader_.Ok()) {
    error_ = "mesh " + std::to_string(index) + (mesh.name.empty() ? "" : " '" + mesh.name + "'") +
             ": " + reader_.Error();
    return false;
  }
  return true;
}

bool Reader::ReadSubMesh(SubMeshData& subMesh) {
  reader_.ReadString(subMesh.materialName);
  const std::int32_t vertexCount = reader_.ReadI32();
  if (!reader_.Ok()) return false;
  if (vertexCount < 0) return reader_.Fail("negative vertex count " + std::to_string(vertexCount));
  if (!reader_.Has(static_cast<std::uint64_t>(vertexCount), kFileFloatsPerVertex * 4)) {
    return reader_.Fail(std::to_string(vertexCount) + " vertices do not fit in the " +
                        std::to_string(reader_.Remaining()) + " bytes left");
  }
  const std::size_t count = static_cast<std::size_t>(vertexCount);
  subMesh.vertices.resize(count * kFloatsPerVertex);
  float* out = subMesh.vertices.data();
  if constexpr (bytes::kHostIsLittleEndian) {
    const std::uint8_t* in = reader_.Cursor();
    for (std::size_t i = 0; i < count; ++i, in += kFileFloatsPerVertex * 4, out += kFloatsPerVertex) {
      std::memcpy(out + 0, in + 0, 12);
      out[3] = 1.0f;
      std::memcpy(out + 4, in + 12, 12);
      out[7] = 1.0f;
      std::memcpy(out + 8, in + 24, 12);
      out[11] = 1.0f;
      std::memcpy(out + 12, in + 36, 8);
      out[14] = 1.0f;
    }
    reader_.Skip(count * kFileFloatsPerVertex * 4);
  } else {
    for (std::size_t i = 0; i < count; ++i, out += kFloatsPerVertex) {
      reader_.ReadF32s(out + 0, 3);
      reader_.ReadF32s(out + 4, 3);
      reader_.ReadF32s(out + 8, 3);
      reader_.ReadF32s(out + 12, 2);
      out[3] = out[7] = out[11] = out[14] = 1.0f;
    }
  }
  ComputeBounds(subMesh.vertices.data(), count, subMesh.box, subMesh.sphere);
  return true;
}

bool Reader::ReadValue(NodeValue& value) {
  reader_.ReadString(value.name);
  value.type = reader_.ReadU8();
  value.mode = reader_.ReadU8();
  if (!reader_.Ok()) return false;
  if (value.mode == kConstant) {
    switch (value.type) {
      case kBool: value.boolValue = reader_.ReadU8() != 0; break;
      case kInt: value.intValue = reader_.ReadI32(); break;
      case kFloat: value.floatValue = reader_.ReadF32(); break;
      case kVec3: {
        float xyz[3];
        reader_.ReadF32s(xyz, 3);
        value.vec3Value = sm::Vec3(xyz[0], xyz[1], xyz[2]);
        break;
      }
      case kString: reader_.ReadString(value.stringValue); break;
      default: break;  // an unknown type has no constant in the file
    }
    return reader_.Ok();
  }
  // Every other mode is keyed, an unknown one included: its keys are read so the rest
  // of the file stays in step, and the loader stores nothing for it.
  const std::int32_t keyCount = reader_.ReadI32();
  if (keyCount <= 0) return reader_.Ok();
  const std::size_t keyBytes = KeyBytes(value.type);
  if (!reader_.Has(static_cast<std::uint64_t>(keyCount), keyBytes)) {
    return reader_.Fail(std::to_string(keyCount) + " keys of value '" + value.name + "' do not fit");
  }
  value.keys.resize(static_cast<std::size_t>(keyCount));
  for (ValueKey& key : value.keys) {
    key.time = reader_.ReadF32();
    if (value.type == kInt) key.intValue = reader_.ReadI32();
    if (value.type == kFloat) key.floatValue = reader_.ReadF32();
  }
  return reader_.Ok();
}

bool Parse(const void* data, std::size_t size, ModelData& model, std::string& error) {
  model = ModelData();
  Reader reader(data, size);
  model.hasHeader = reader.HasHeader();
  model.version = reader.Version();
  for (int i = 0; reader.Ok() && i < reader.MeshCount(); ++i) {
    MeshData mesh;
    if (!reader.ReadMesh(mesh)) break;
    model.meshes.push_back(std::move(mesh));
  }
  if (!reader.Ok()) {
    error = reader.Error();
    model.meshes.clear();
    return false;
  }
  return true;
}

bool ReadFile(const std::string& path, ModelData& model, std::string& error) {
  return bytes::ReadFileWith(path, model, error, Parse);
}

int PeekMeshCount(const std::string& path) {
  std::error_code failed;
  if (!std::filesystem::is_regular_file(path, failed)) return 0;
  const std::uintmax_t fileSize = std::filesystem::file_size(path, failed);
  if (failed) return 0;
  std::ifstream file(path, std::ios::binary);
  char head[kHeaderSize + 4] = {};
  file.read(head, sizeof head);
  bytes::ByteReader reader(head, static_cast<std::size_t>(file.gcount()));
  std::size_t body = 0;
  std::size_t minMeshBytes = kMinMeshBytes;
  if (fileSize >= kHeaderSize && StartsWithHeader(head, reader.Size())) {
    body = kHeaderSize;
    reader.Skip(kMagicSize);
    if (reader.ReadU16() != 0) minMeshBytes += 16 * 4;  // every mesh carries a pivot
  }
  const std::int32_t count = reader.ReadI32();
  if (!reader.Ok() || count <= 0) return 0;
  // Progress totals are summed over files: a forged count must not inflate them
  // beyond what the file could hold.
  const std::uintmax_t fits = (fileSize - body - 4) / minMeshBytes;
  return static_cast<std::uintmax_t>(count) > fits ? static_cast<int>(fits) : count;
}

void Write(const ModelData& model, bytes::ByteWriter& out) {
  const bool pivots = model.hasHeader && model.version != 0;
  if (model.hasHeader) {
    out.WriteBytes(kMagic, kMagicSize);
    out.WriteU16(model.version);
  }
  out.WriteI32(static_cast<std::int32_t>(model.meshes.size()));
  for (const MeshData& mesh : model.meshes) {
    out.WriteI32(mesh.nodeId);
    out.WriteString(mesh.name);
    if (pivots) out.WriteF32s(mesh.pivot.a, 16);
    out.WriteI32(static_cast<std::int32_t>(mesh.subMeshes.size()));
    for (const SubMeshData& subMesh : mesh.subMeshes) {
      out.WriteString(subMesh.materialName);
      const std::size_t count = subMesh.VertexCount();
      out.WriteI32(static_cast<std::int32_t>(count));
      out.Reserve(out.Size() + count * kFileFloatsPerVertex * 4);
      for (std::size_t i = 0; i < count; ++i) {
        const float* v = subMesh.vertices.data() + i * kFloatsPerVertex;
        out.WriteF32s(v + 0, 3);
        out.WriteF32s(v + 4, 3);
        out.WriteF32s(v + 8, 3);
        out.WriteF32s(v + 12, 2);
      }
    }
    out.WriteI32(static_cast<std::int32_t>(mesh.values.size()));
    for (const NodeValue& value : mesh.values) {
      out.WriteString(value.name);
      out.WriteU8(value.type);
      out.WriteU8(value.mode);
      if (value.mode == kConstant) {
        switch (value.type) {
          case kBool: out.WriteU8(value.boolValue ? 1 : 0); break;
          case kInt: out.WriteI32(value.intValue); break;
          case kFloat: out.WriteF32(value.floatValue); break;
          case kVec3:
            out.WriteF32(value.vec3Value.x);
            out.WriteF32(value.vec3Value.y);
            out.WriteF32(value.vec3Value.z);
            break;
          case kString: out.WriteString(value.stringValue); break;
          default: break;
        }
        continue;
      }
      out.WriteI32(static_cast<std::int32_t>(value.keys.size()));
      for (const ValueKey& key : value.keys) {
        out.WriteF32(key.time);
        if (value.type == kInt) out.WriteI32(key.intValue);
        if (value.type == kFloat) out.WriteF32(key.floatValue);
      }
    }
  }
}

std::string Write(const ModelData& model) {
  bytes::ByteWriter out;
  Write(model, out);
  return out.Take();
}

bool WriteFile(const std::string& path, const ModelData& model, std::string& error) {
  return bytes::WriteWholeFile(path, Write(model), error);
}

}  // namespace model_file
