// Model geometry files: header and pivot rules, vertices and bounds, node values, and
// what a truncated or forged file does.
#include "assets/model_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "support/temp_dir.h"

namespace {

using bytes::ByteWriter;
using namespace model_file;

// One vertex's 11 file floats, derived from a seed so every component differs.
void WriteVertex(ByteWriter& out, float seed) {
  for (int i = 0; i < kFileFloatsPerVertex; ++i) out.WriteF32(seed + 0.01f * i);
}

// Bytes of a mesh with no sub-meshes and no values.
void WriteBareMesh(ByteWriter& out, int id, const std::string& name) {
  out.WriteI32(id);
  out.WriteString(name);
}

MeshData MakeMesh(int id, const std::string& name, int vertexCount) {
  MeshData mesh;
  mesh.nodeId = id;
  mesh.name = name;
  SubMeshData subMesh;
  subMesh.materialName = name + "_mat";
  for (int v = 0; v < vertexCount; ++v) {
    for (int f = 0; f < kFloatsPerVertex; ++f) {
      const bool fixedOne = f == 3 || f == 7 || f == 11 || f == 14;
      subMesh.vertices.push_back(fixedOne ? 1.0f : static_cast<float>(v * 100 + f));
    }
  }
  ComputeBounds(subMesh.vertices.data(), subMesh.VertexCount(), subMesh.box, subMesh.sphere);
  mesh.subMeshes.push_back(subMesh);
  return mesh;
}

NodeValue Constant(const std::string& name, std::uint8_t type) {
  NodeValue value;
  value.name = name;
  value.type = type;
  value.mode = kConstant;
  return value;
}

NodeValue Keyed(const std::string& name, std::uint8_t type, std::uint8_t mode, int keys) {
  NodeValue value;
  value.name = name;
  value.type = type;
  value.mode = mode;
  for (int k = 0; k < keys; ++k) {
    ValueKey key;
    key.time = 0.5f * k;
    if (type == kInt) key.intValue = -7 * k;
    if (type == kFloat) key.floatValue = 2.5f * k;
    value.keys.push_back(key);
  }
  return value;
}

ModelData Parsed(const std::string& bytes) {
  ModelData model;
  std::string error;
  EXPECT_TRUE(Parse(bytes.data(), bytes.size(), model, error)) << error;
  return model;
}

std::string ParseError(const std::string& bytes) {
  ModelData model;
  std::string error;
  EXPECT_FALSE(Parse(bytes.data(), bytes.size(), model, error));
  EXPECT_TRUE(model.meshes.empty());
  EXPECT_FALSE(error.empty());
  return error;
}

TEST(ModelFile, WithoutHeaderTheBodyStartsAtZeroAndMeshesCarryNoPivot) {
  ByteWriter out;
  out.WriteI32(2);
  WriteBareMesh(out, 7, "first");
  out.WriteI32(0);
  out.WriteI32(0);
  WriteBareMesh(out, -3, "");
  out.WriteI32(-5);  // zero or less: none
  out.WriteI32(-1);
  const ModelData model = Parsed(out.Bytes());
  EXPECT_FALSE(model.hasHeader);
  EXPECT_EQ(model.version, 0);
  ASSERT_EQ(model.meshes.size(), 2u);
  EXPECT_EQ(model.meshes[0].nodeId, 7);
  EXPECT_EQ(model.meshes[0].name, "first");
  EXPECT_EQ(model.meshes[1].nodeId, -3);
  EXPECT_TRUE(model.meshes[1].subMeshes.empty());
  // A file without a pivot gives the identity.
  for (const MeshData& mesh : model.meshes) {
    EXPECT_EQ(std::memcmp(mesh.pivot.a, sm::Mat4().a, sizeof mesh.pivot.a), 0);
  }
}

TEST(ModelFile, HeaderVersionDecidesWhetherMeshesCarryAPivot) {
  for (const std::uint16_t version : {std::uint16_t(0), std::uint16_t(1), std::uint16_t(513)}) {
    ByteWriter out;
    out.WriteBytes("HLCMDL", 6);
    out.WriteU16(version);
    out.WriteI32(1);
    WriteBareMesh(out, 4, "pivoted");
    if (version != 0) {
      for (int i = 0; i < 16; ++i) out.WriteF32(static_cast<float>(i + 1));
    }
    out.WriteI32(0);
    out.WriteI32(0);
    const ModelData model = Parsed(out.Bytes());
    EXPECT_TRUE(model.hasHeader);
    EXPECT_EQ(model.version, version);
    ASSERT_EQ(model.meshes.size(), 1u);
    EXPECT_EQ(model.meshes[0].name, "pivoted");
    // Version 0: the identity; otherwise the 16 floats in file order.
    EXPECT_EQ(model.meshes[0].pivot.a[1], version != 0 ? 2.0f : 0.0f) << version;
    EXPECT_EQ(model.meshes[0].pivot.a[15], version != 0 ? 16.0f : 1.0f) << version;
  }
}

TEST(ModelFile, HeaderNeedsEightBytesAndTheExactMagic) {
  // Exactly the header: the mesh count lies beyond the end.
  ByteWriter header;
  header.WriteBytes("HLCMDL", 6);
  header.WriteU16(1);
  EXPECT_NE(ParseError(header.Bytes()).find("mesh count"), std::string::npos);
  // An empty file has no mesh count either.
  ParseError("");

  // Six letters that differ in case are no header: the first four bytes are the count.
  ByteWriter lower;
  lower.WriteBytes("hlcmdl", 6);
  lower.WriteU16(0);
  ModelData model;
  std::string error;
  EXPECT_FALSE(Parse(lower.Bytes().data(), lower.Bytes().size(), model, error));

  // A count of zero meshes after the header is an empty model, which is fine.
  ByteWriter empty;
  empty.WriteBytes("HLCMDL", 6);
  empty.WriteU16(1);
  empty.WriteI32(0);
  EXPECT_TRUE(Parsed(empty.Bytes()).meshes.empty());
}

TEST(ModelFile, VerticesGetTheFixedFourthComponentsAndBoxBounds) {
  ByteWriter out;
  out.WriteI32(1);
  WriteBareMesh(out, 1, "box");
  out.WriteI32(2);
  out.WriteString("steel");
  out.WriteI32(2);
  // The example box: corners (-1, 2, 3) and (5, -4, 0).
  const float corners[2][3] = {{-1, 2, 3}, {5, -4, 0}};
  for (const float* p : corners) {
    out.WriteF32(p[0]);
    out.WriteF32(p[1]);
    out.WriteF32(p[2]);
    for (int i = 3; i < kFileFloatsPerVertex; ++i) out.WriteF32(10.0f + i);
  }
  out.WriteString("");
  out.WriteI32(0);  // a sub-mesh without vertices
  out.WriteI32(0);
  const ModelData model = Parsed(out.Bytes());
  ASSERT_EQ(model.meshes[0].subMeshes.size(), 2u);
  const SubMeshData& box = model.meshes[0].subMeshes[0];
  EXPECT_EQ(box.materialName, "steel");
  ASSERT_EQ(box.VertexCount(), 2u);
  const float expectedFirst[15] = {-1, 2, 3, 1, 13, 14, 15, 1, 16, 17, 18, 1, 19, 20, 1};
  for (int i = 0; i < 15; ++i) EXPECT_EQ(box.vertices[i], expectedFirst[i]) << i;
  EXPECT_EQ(box.box.minX, -1);
  EXPECT_EQ(box.box.maxX, 5);
  EXPECT_EQ(box.box.minY, -4);
  EXPECT_EQ(box.box.maxY, 2);
  EXPECT_EQ(box.box.minZ, 0);
  EXPECT_EQ(box.box.maxZ, 3);
  EXPECT_EQ(box.box.centre[0], 2);
  EXPECT_EQ(box.box.centre[1], -1);
  EXPECT_EQ(box.box.centre[2], 1.5f);
  EXPECT_EQ(box.box.centre[3], 1);
  EXPECT_FLOAT_EQ(box.sphere.radius, 4.5f);
  EXPECT_EQ(box.sphere.centre[0], 2);
  EXPECT_EQ(box.sphere.centre[2], 1.5f);

  const SubMeshData& none = model.meshes[0].subMeshes[1];
  EXPECT_EQ(none.VertexCount(), 0u);
  EXPECT_EQ(none.box.minX, 0);
  EXPECT_EQ(none.box.maxZ, 0);
  EXPECT_EQ(none.box.centre[3], 1);
  EXPECT_EQ(none.sphere.radius, 0);
}

TEST(ModelFile, BoundsTakeEveryVertexIntoAccount) {
  // The first vertex seeds the extremes; a later one below or above must replace them.
  std::vector<float> vertices(3 * kFloatsPerVertex, 1.0f);
  const float positions[3][3] = {{0, 0, 0}, {-2, 7, 1}, {4, -1, -6}};
  for (int v = 0; v < 3; ++v) std::memcpy(&vertices[v * kFloatsPerVertex], positions[v], 12);
  BoundingBox box;
  BoundingSphere sphere;
  ComputeBounds(vertices.data(), 3, box, sphere);
  EXPECT_EQ(box.minX, -2);
  EXPECT_EQ(box.maxX, 4);
  EXPECT_EQ(box.minY, -1);
  EXPECT_EQ(box.maxY, 7);
  EXPECT_EQ(box.minZ, -6);
  EXPECT_EQ(box.maxZ, 1);
}

TEST(ModelFile, NodeValuesOfEveryTypeAndModeKeepTheFileInStep) {
  ByteWriter out;
  out.WriteI32(1);
  WriteBareMesh(out, 1, "valued");
  out.WriteI32(0);
  out.WriteI32(9);
  out.WriteString("flag");      // bool constant: one byte
  out.WriteU8(kBool);
  out.WriteU8(kConstant);
  out.WriteU8(2);
  out.WriteString("count");     // int constant
  out.WriteU8(kInt);
  out.WriteU8(kConstant);
  out.WriteI32(-42);
  out.WriteString("speed");     // float constant
  out.WriteU8(kFloat);
  out.WriteU8(kConstant);
  out.WriteF32(0.25f);
  out.WriteString("offset");    // Vec3 constant
  out.WriteU8(kVec3);
  out.WriteU8(kConstant);
  out.WriteF32(1);
  out.WriteF32(2);
  out.WriteF32(3);
  out.WriteString("label");     // string constant
  out.WriteU8(kString);
  out.WriteU8(kConstant);
  out.WriteString("hello");
  out.WriteString("odd");       // unknown type: no constant in the file
  out.WriteU8(9);
  out.WriteU8(kConstant);
  out.WriteString("path");      // Vec3 linear, 4 keys: 16 bytes of bare times
  out.WriteU8(kVec3);
  out.WriteU8(kLinear);
  out.WriteI32(4);
  for (int k = 0; k < 4; ++k) out.WriteF32(k * 1.5f);
  out.WriteString("level");     // float TCB keys carry a value
  out.WriteU8(kFloat);
  out.WriteU8(kTcb);
  out.WriteI32(2);
  out.WriteF32(0);
  out.WriteF32(10);
  out.WriteF32(1);
  out.WriteF32(20);
  out.WriteString("beyond");    // unknown mode: int keys are read and carry values
  out.WriteU8(kInt);
  out.WriteU8(7);
  out.WriteI32(1);
  out.WriteF32(3);
  out.WriteI32(99);
  out.WriteI32(0);              // trailing mesh count of a second model: ignored
  const ModelData model = Parsed(out.Bytes());
  const std::vector<NodeValue>& values = model.meshes.at(0).values;
  ASSERT_EQ(values.size(), 9u);
  EXPECT_TRUE(values[0].boolValue);
  EXPECT_EQ(values[1].intValue, -42);
  EXPECT_EQ(values[2].floatValue, 0.25f);
  EXPECT_EQ(values[3].vec3Value.z, 3);
  EXPECT_EQ(values[3].vec3Value.w, 1);
  EXPECT_EQ(values[4].stringValue, "hello");
  EXPECT_EQ(values[5].type, 9);
  ASSERT_EQ(values[6].keys.size(), 4u);
  EXPECT_EQ(values[6].keys[3].time, 4.5f);
  ASSERT_EQ(values[7].keys.size(), 2u);
  EXPECT_EQ(values[7].keys[1].floatValue, 20);
  EXPECT_EQ(values[8].mode, 7);
  ASSERT_EQ(values[8].keys.size(), 1u);
  EXPECT_EQ(values[8].keys[0].intValue, 99);
}

TEST(ModelFile, WriterAndReaderRoundTrip) {
  for (const bool header : {false, true}) {
    ModelData model;
    model.hasHeader = header;
    model.version = header ? 2 : 0;
    model.meshes.push_back(MakeMesh(3, "hull", 6));
    model.meshes.push_back(MakeMesh(-1, "", 0));
    model.meshes[0].subMeshes.push_back(MakeMesh(0, "second", 3).subMeshes[0]);
    if (header) {
      for (int i = 0; i < 16; ++i) model.meshes[0].pivot.a[i] = 0.5f * i;
    }
    NodeValue flag = Constant("flag", kBool);
    flag.boolValue = true;
    NodeValue vec = Constant("v", kVec3);
    vec.vec3Value = sm::Vec3(-1, 0.5f, 8);
    NodeValue text = Constant("text", kString);
    text.stringValue = std::string("with\0zero", 9);
    model.meshes[0].values = {flag, vec, text, Keyed("steps", kInt, kStep, 3),
                              Keyed("fade", kFloat, kTcb, 5), Keyed("times", kString, kLinear, 2),
                              Keyed("empty", kFloat, kLinear, 0)};

    const std::string written = Write(model);
    const ModelData read = Parsed(written);
    EXPECT_EQ(Write(read), written) << "header " << header;
    ASSERT_EQ(read.meshes.size(), 2u);
    EXPECT_EQ(read.meshes[0].subMeshes[0].vertices, model.meshes[0].subMeshes[0].vertices);
    EXPECT_EQ(read.meshes[0].subMeshes[1].materialName, "second_mat");
    EXPECT_EQ(read.meshes[0].pivot.a[15], header ? 7.5f : 1.0f);
    EXPECT_EQ(read.meshes[0].values[2].stringValue, text.stringValue);
    EXPECT_EQ(read.meshes[0].values[3].keys[2].intValue, -14);
    EXPECT_EQ(read.meshes[0].subMeshes[0].box.maxY, 501);
  }
}

TEST(ModelFile, EveryTruncationFailsCleanly) {
  ModelData model;
  model.hasHeader = true;
  model.version = 1;
  model.meshes.push_back(MakeMesh(1, "a", 3));
  model.meshes[0].values = {Keyed("k", kFloat, kTcb, 2), Constant("s", kString)};
  model.meshes.push_back(MakeMesh(2, "b", 3));
  const std::string full = Write(model);
  for (std::size_t size = 0; size < full.size(); ++size) {
    // A copy of exactly that size, so that sanitizers see any read past it.
    const std::string prefix = full.substr(0, size);
    ModelData read;
    std::string error;
    EXPECT_FALSE(Parse(prefix.data(), prefix.size(), read, error)) << size;
  }
}

TEST(ModelFile, ForgedCountsAndLengthsFailWithoutHugeAllocations) {
  const auto withSubMesh = [](std::int32_t nameLength, std::int32_t vertexCount) {
    ByteWriter out;
    out.WriteI32(1);
    WriteBareMesh(out, 1, "m");
    out.WriteI32(1);
    out.WriteI32(nameLength);
    out.WriteI32(vertexCount);
    WriteVertex(out, 0);
    out.WriteI32(0);
    return out.Take();
  };
  EXPECT_NE(ParseError(withSubMesh(-1, 1)).find("negative string length"), std::string::npos);
  EXPECT_NE(ParseError(withSubMesh(0x7fffffff, 1)).find("end of data"), std::string::npos);
  EXPECT_NE(ParseError(withSubMesh(0, -1)).find("negative vertex count"), std::string::npos);
  EXPECT_NE(ParseError(withSubMesh(0, 0x7fffffff)).find("do not fit"), std::string::npos);
  // One vertex more than the file holds; the message says which mesh.
  const std::string oneTooMany = ParseError(withSubMesh(0, 2));
  EXPECT_NE(oneTooMany.find("do not fit"), std::string::npos);
  EXPECT_NE(oneTooMany.find("mesh 0 'm'"), std::string::npos);

  ByteWriter manyMeshes;
  manyMeshes.WriteI32(0x7fffffff);
  WriteBareMesh(manyMeshes, 1, "only");
  manyMeshes.WriteI32(0);
  manyMeshes.WriteI32(0);
  ParseError(manyMeshes.Bytes());

  ByteWriter manyKeys;
  manyKeys.WriteI32(1);
  WriteBareMesh(manyKeys, 1, "k");
  manyKeys.WriteI32(0);
  manyKeys.WriteI32(0x40000000);  // values
  manyKeys.WriteString("v");
  manyKeys.WriteU8(kInt);
  manyKeys.WriteU8(kStep);
  manyKeys.WriteI32(0x7fffffff);
  manyKeys.WriteF32(0);
  manyKeys.WriteI32(0);
  EXPECT_NE(ParseError(manyKeys.Bytes()).find("keys of value 'v' do not fit"), std::string::npos);
}

TEST(ModelFile, FilesAreReadAndPeekedByPath) {
  testing_support::TempDir dir;
  ModelData model;
  model.hasHeader = true;
  model.version = 1;
  for (int i = 0; i < 3; ++i) model.meshes.push_back(MakeMesh(i, "m" + std::to_string(i), 3));
  std::string error;
  ASSERT_TRUE(WriteFile(dir.File("three.geo"), model, error)) << error;
  ModelData read;
  ASSERT_TRUE(ReadFile(dir.File("three.geo"), read, error)) << error;
  EXPECT_EQ(read.meshes.size(), 3u);
  EXPECT_EQ(PeekMeshCount(dir.File("three.geo")), 3);

  model.hasHeader = false;
  model.version = 0;
  model.meshes.resize(2);
  ASSERT_TRUE(WriteFile(dir.File("two.geo"), model, error));
  EXPECT_EQ(PeekMeshCount(dir.File("two.geo")), 2);

  EXPECT_EQ(PeekMeshCount(dir.File("missing.geo")), 0);
  EXPECT_EQ(PeekMeshCount(dir.Path()), 0);
  EXPECT_FALSE(ReadFile(dir.File("missing.geo"), read, error));
  EXPECT_NE(error.find("missing.geo"), std::string::npos);
  EXPECT_FALSE(ReadFile(dir.Path(), read, error));

  // A forged count cannot claim more meshes than the file could hold, nor a negative one.
  ByteWriter forged;
  forged.WriteBytes("HLCMDL", 6);
  forged.WriteU16(0);
  forged.WriteI32(1000000);
  forged.WriteBytes(std::string(40, '\0').data(), 40);
  testing_support::WriteFile(dir.File("forged.geo"), forged.Bytes());
  EXPECT_EQ(PeekMeshCount(dir.File("forged.geo")), 2);
  EXPECT_FALSE(ReadFile(dir.File("forged.geo"), read, error));
  EXPECT_NE(error.find("forged.geo"), std::string::npos);
  testing_support::WriteFile(dir.File("negative.geo"), std::string("\xff\xff\xff\xff", 4));
  EXPECT_EQ(PeekMeshCount(dir.File("negative.geo")), 0);
}

}  // namespace
