#pragma once
// The node animation file (".ani"): reading it into plain data and writing it back.
// The data are the file's own values; the rotation rules (axis swap, accumulation of
// keys, spin detection) are applied when an Animation is built from them.
//
// Layout (little-endian, no header): i32 top-level node count, then the nodes. A node
// is i32 id, 16 floats local matrix (column-major), a position block, a rotation block,
// a scale block, i32 child count and the children. A vector block is i32 key count n:
// n > 0 keys of (time, x, y, z); n < 0 an empty track; n = 0 the constant x, y, z. A
// rotation block is the same with (time, angle, axis x, y, z) keys and an (angle,
// axis x, y, z) constant. docs/formats.md has the full description.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "anim/math.h"
#include "base/byte_io.h"

namespace animation_file {

// Deeper trees are refused as inconsistent: the data nest a few levels, and a bound
// keeps a forged file from exhausting the stack of the recursive node code.
constexpr int kMaxDepth = 256;

struct VectorKey {
  float time = 0;
  float x = 0, y = 0, z = 0;
};

struct RotationKey {
  float time = 0;
  float angle = 0;  // radians
  float axisX = 0, axisY = 0, axisZ = 0;
};

// keyed: a track (possibly empty, written as a negative count); otherwise the constant.
struct VectorBlock {
  bool keyed = false;
  std::vector<VectorKey> keys;
  float x = 0, y = 0, z = 0;
};

struct RotationBlock {
  bool keyed = false;
  std::vector<RotationKey> keys;
  float angle = 0;
  float axisX = 0, axisY = 0, axisZ = 0;
};

struct NodeData {
  std::int32_t id = 0;
  sm::Mat4 local;
  VectorBlock position;
  RotationBlock rotation;
  VectorBlock scale;
  std::vector<NodeData> children;
};

// The top-level nodes of a file (the children of the root the loader creates).
struct AnimationData {
  std::vector<NodeData> nodes;
};

// Every count is checked against the bytes left, so a truncated or forged file fails
// with a message instead of over-reading or allocating from the count.
bool Parse(const void* data, std::size_t size, AnimationData& animation, std::string& error);
// The error names the file.
bool ReadFile(const std::string& path, AnimationData& animation, std::string& error);

void Write(const AnimationData& animation, bytes::ByteWriter& out);
std::string Write(const AnimationData& animation);
bool WriteFile(const std::string& path, const AnimationData& animation, std::string& error);

}  // namespace animation_file
