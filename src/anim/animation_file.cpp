#include "anim/animation_file.h"

namespace animation_file {
namespace {

// The smallest node: id, matrix, three blocks with a count and no content, child count.
constexpr std::size_t kMinNodeBytes = 4 + 64 + 3 * 4 + 4;

class NodeParser {
 public:
  NodeParser(const void* data, std::size_t size) : reader_(data, size) {}

  bytes::ByteReader& Reader() { return reader_; }

  // count nodes into out; false when the file ends or is inconsistent.
  bool ReadNodes(std::int32_t count, int depth, std::vector<NodeData>& out) {
    if (count <= 0) return reader_.Ok();
    if (depth > kMaxDepth) return reader_.Fail("nodes nested deeper than " + std::to_string(kMaxDepth));
    for (std::int32_t i = 0; i < count; ++i) {
      // The list never grows beyond what the remaining bytes could describe.
      if (!reader_.Has(1, kMinNodeBytes)) {
        return reader_.Fail("node " + std::to_string(i) + " of " + std::to_string(count) + " missing");
      }
      out.emplace_back();
      if (!ReadNode(out.back(), depth)) return false;
    }
    return true;
  }

 private:
  bool ReadNode(NodeData& node, int depth) {
    node.id = reader_.ReadI32();
    reader_.ReadF32s(node.local.a, 16);
    ReadVector(node.position);
    ReadRotation(node.rotation);
    ReadVector(node.scale);
    const std::int32_t childCount = reader_.ReadI32();
    if (!reader_.Ok()) return false;
    return ReadNodes(childCount, depth + 1, node.children);
  }

  void ReadVector(VectorBlock& block) {
    const std::int32_t count = reader_.ReadI32();
    if (!reader_.Ok()) return;
    if (count == 0) {
      block.x = reader_.ReadF32();
      block.y = reader_.ReadF32();
      block.z = reader_.ReadF32();
      return;
    }
    block.keyed = true;
    if (count < 0) return;
    if (!reader_.Has(static_cast<std::uint64_t>(count), 16)) {
      reader_.Fail(std::to_string(count) + " vector keys do not fit");
      return;
    }
    block.keys.resize(static_cast<std::size_t>(count));
    for (VectorKey& key : block.keys) {
      float values[4];
      reader_.ReadF32s(values, 4);
      key = VectorKey{values[0], values[1], values[2], values[3]};
    }
  }

  void ReadRotation(RotationBlock& block) {
    const std::int32_t count = reader_.ReadI32();
    if (!reader_.Ok()) return;
    if (count == 0) {
      float values[4];
      reader_.ReadF32s(values, 4);
      block.angle = values[0];
      block.axisX = values[1];
      block.axisY = values[2];
      block.axisZ = values[3];
      return;
    }
    block.keyed = true;
    if (count < 0) return;
    if (!reader_.Has(static_cast<std::uint64_t>(count), 20)) {
      reader_.Fail(std::to_string(count) + " rotation keys do not fit");
      return;
    }
    block.keys.resize(static_cast<std::size_t>(count));
    for (RotationKey& key : block.keys) {
      float values[5];
      reader_.ReadF32s(values, 5);
      key = RotationKey{values[0], values[1], values[2], values[3], values[4]};
    }
  }

  bytes::ByteReader reader_;
};

void WriteVector(const VectorBlock& block, bytes::ByteWriter& out) {
  if (!block.keyed) {
    out.WriteI32(0);
    out.WriteF32(block.x);
    out.WriteF32(block.y);
    out.WriteF32(block.z);
    return;
  }
  // An empty track is a negative count (0 would mean a constant).
  out.WriteI32(block.keys.empty() ? -1 : static_cast<std::int32_t>(block.keys.size()));
  for (const VectorKey& key : block.keys) {
    const float values[4] = {key.time, key.x, key.y, key.z};
    out.WriteF32s(values, 4);
  }
}

void WriteRotation(const RotationBlock& block, bytes::ByteWriter& out) {
  if (!block.keyed) {
    out.WriteI32(0);
    const float values[4] = {block.angle, block.axisX, block.axisY, block.axisZ};
    out.WriteF32s(values, 4);
    return;
  }
  out.WriteI32(block.keys.empty() ? -1 : static_cast<std::int32_t>(block.keys.size()));
  for (const RotationKey& key : block.keys) {
    const float values[5] = {key.time, key.angle, key.axisX, key.axisY, key.axisZ};
    out.WriteF32s(values, 5);
  }
}

void WriteNodes(const std::vector<NodeData>& nodes, bytes::ByteWriter& out) {
  for (const NodeData& node : nodes) {
    out.WriteI32(node.id);
    out.WriteF32s(node.local.a, 16);
    WriteVector(node.position, out);
    WriteRotation(node.rotation, out);
    WriteVector(node.scale, out);
    out.WriteI32(static_cast<std::int32_t>(node.children.size()));
    WriteNodes(node.children, out);
  }
}

}  // namespace

bool Parse(const void* data, std::size_t size, AnimationData& animation, std::string& error) {
  animation = AnimationData();
  NodeParser parser(data, size);
  const std::int32_t count = parser.Reader().ReadI32();
  if (!parser.Reader().Ok() || !parser.ReadNodes(count, 1, animation.nodes)) {
    error = parser.Reader().Error();
    animation.nodes.clear();
    return false;
  }
  return true;
}

bool ReadFile(const std::string& path, AnimationData& animation, std::string& error) {
  return bytes::ReadFileWith(path, animation, error, Parse);
}

void Write(const AnimationData& animation, bytes::ByteWriter& out) {
  out.WriteI32(static_cast<std::int32_t>(animation.nodes.size()));
  WriteNodes(animation.nodes, out);
}

std::string Write(const AnimationData& animation) {
  bytes::ByteWriter out;
  Write(animation, out);
  return out.Take();
}

bool WriteFile(const std::string& path, const AnimationData& animation, std::string& error) {
  return bytes::WriteWholeFile(path, Write(animation), error);
}

}  // namespace animation_file
