// Node animation files: block forms, nesting, round trip and malformed input.
#include "anim/animation_file.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace {

using bytes::ByteWriter;
using namespace animation_file;

void WriteMatrix(ByteWriter& out, float base) {
  for (int i = 0; i < 16; ++i) out.WriteF32(base + i);
}

// A node whose blocks are constants: position (1, 2, 3), rotation (angle, 0, 0, 1),
// scale (4, 5, 6).
void WriteConstantNode(ByteWriter& out, int id, float angle, int children) {
  out.WriteI32(id);
  WriteMatrix(out, 0);
  out.WriteI32(0);
  for (float v : {1.0f, 2.0f, 3.0f}) out.WriteF32(v);
  out.WriteI32(0);
  for (float v : {angle, 0.0f, 0.0f, 1.0f}) out.WriteF32(v);
  out.WriteI32(0);
  for (float v : {4.0f, 5.0f, 6.0f}) out.WriteF32(v);
  out.WriteI32(children);
}

AnimationData Parsed(const std::string& bytes) {
  AnimationData animation;
  std::string error;
  EXPECT_TRUE(Parse(bytes.data(), bytes.size(), animation, error)) << error;
  return animation;
}

std::string ParseError(const std::string& bytes) {
  AnimationData animation;
  std::string error;
  EXPECT_FALSE(Parse(bytes.data(), bytes.size(), animation, error));
  EXPECT_TRUE(animation.nodes.empty());
  return error;
}

NodeData KeyedNode(int id, int keys) {
  NodeData node;
  node.id = id;
  for (int i = 0; i < 16; ++i) node.local.a[i] = 0.25f * i;
  node.position.keyed = true;
  node.rotation.keyed = true;
  for (int k = 0; k < keys; ++k) {
    node.position.keys.push_back({1.0f * k, 1.0f + k, 2.0f - k, 3.0f * k});
    node.rotation.keys.push_back({1.0f * k, 0.5f * k, 0, 1, 0});
  }
  node.scale.x = node.scale.y = node.scale.z = 2;
  return node;
}

TEST(AnimationFile, ConstantsKeysEmptyTracksAndNesting) {
  ByteWriter out;
  out.WriteI32(2);
  WriteConstantNode(out, 5, 1.5f, 1);
  WriteConstantNode(out, 6, 0, -3);  // below 1: no children
  out.WriteI32(9);                   // the second top-level node
  WriteMatrix(out, 100);
  out.WriteI32(2);                   // two position keys
  for (float v : {0.0f, 1.0f, 2.0f, 3.0f, 1.0f, 4.0f, 5.0f, 6.0f}) out.WriteF32(v);
  out.WriteI32(-1);                  // empty rotation track
  out.WriteI32(1);                   // one scale key
  for (float v : {0.5f, 7.0f, 8.0f, 9.0f}) out.WriteF32(v);
  out.WriteI32(0);
  const AnimationData animation = Parsed(out.Bytes());
  ASSERT_EQ(animation.nodes.size(), 2u);
  const NodeData& first = animation.nodes[0];
  EXPECT_EQ(first.id, 5);
  EXPECT_EQ(first.local.a[15], 15);
  EXPECT_FALSE(first.position.keyed);
  EXPECT_EQ(first.position.z, 3);
  EXPECT_EQ(first.rotation.angle, 1.5f);
  EXPECT_EQ(first.rotation.axisZ, 1);
  EXPECT_EQ(first.scale.x, 4);
  ASSERT_EQ(first.children.size(), 1u);
  EXPECT_EQ(first.children[0].id, 6);
  EXPECT_TRUE(first.children[0].children.empty());

  const NodeData& second = animation.nodes[1];
  EXPECT_EQ(second.local.a[0], 100);
  ASSERT_EQ(second.position.keys.size(), 2u);
  EXPECT_EQ(second.position.keys[1].time, 1);
  EXPECT_EQ(second.position.keys[1].z, 6);
  EXPECT_TRUE(second.rotation.keyed);
  EXPECT_TRUE(second.rotation.keys.empty());
  EXPECT_EQ(second.scale.keys.at(0).x, 7);
}

TEST(AnimationFile, WriterAndReaderRoundTrip) {
  AnimationData animation;
  animation.nodes.push_back(KeyedNode(1, 3));
  animation.nodes[0].children.push_back(KeyedNode(2, 0));  // empty tracks
  animation.nodes[0].children[0].children.push_back(KeyedNode(3, 1));
  NodeData constant;
  constant.id = 4;
  constant.rotation.angle = -2;
  constant.rotation.axisY = 1;
  animation.nodes.push_back(constant);
  const std::string written = Write(animation);
  const AnimationData read = Parsed(written);
  EXPECT_EQ(Write(read), written);
  ASSERT_EQ(read.nodes.size(), 2u);
  EXPECT_TRUE(read.nodes[0].children[0].position.keyed);
  EXPECT_TRUE(read.nodes[0].children[0].position.keys.empty());
  EXPECT_EQ(read.nodes[0].children[0].children[0].id, 3);
  EXPECT_EQ(read.nodes[1].rotation.angle, -2);

  testing_support::TempDir dir;
  std::string error;
  ASSERT_TRUE(WriteFile(dir.File("a.ani"), animation, error)) << error;
  AnimationData fromFile;
  ASSERT_TRUE(ReadFile(dir.File("a.ani"), fromFile, error)) << error;
  EXPECT_EQ(Write(fromFile), written);
  EXPECT_FALSE(ReadFile(dir.File("none.ani"), fromFile, error));
  EXPECT_NE(error.find("none.ani"), std::string::npos);
}

TEST(AnimationFile, TruncatedAndForgedFilesFail) {
  AnimationData animation;
  animation.nodes.push_back(KeyedNode(1, 2));
  animation.nodes[0].children.push_back(KeyedNode(2, 1));
  const std::string full = Write(animation);
  for (std::size_t size = 0; size < full.size(); ++size) {
    const std::string prefix = full.substr(0, size);
    AnimationData read;
    std::string error;
    EXPECT_FALSE(Parse(prefix.data(), prefix.size(), read, error)) << size;
    EXPECT_FALSE(error.empty());
  }

  ByteWriter manyNodes;
  manyNodes.WriteI32(0x7fffffff);
  WriteConstantNode(manyNodes, 1, 0, 0);
  EXPECT_NE(ParseError(manyNodes.Bytes()).find("missing"), std::string::npos);

  ByteWriter manyKeys;
  manyKeys.WriteI32(1);
  manyKeys.WriteI32(1);
  WriteMatrix(manyKeys, 0);
  manyKeys.WriteI32(0x10000000);  // 16 bytes each: the product overflows 32 bits
  manyKeys.WriteBytes(std::string(64, '\0').data(), 64);
  EXPECT_NE(ParseError(manyKeys.Bytes()).find("do not fit"), std::string::npos);

  // A chain of single children deeper than any real tree is refused, not recursed into.
  ByteWriter deep;
  deep.WriteI32(1);
  for (int level = 0; level <= kMaxDepth; ++level) WriteConstantNode(deep, level, 0, 1);
  WriteConstantNode(deep, -1, 0, 0);
  EXPECT_NE(ParseError(deep.Bytes()).find("nested"), std::string::npos);
}

}  // namespace
