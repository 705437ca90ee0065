#include "assets/robot_pose_file.h"

namespace robot_pose_file {
namespace {

// Negation flips the sign bit only, so stored values come back bit for bit.
void ReadJoints(bytes::ByteReader& reader, Joints& joints, bool negateZ) {
  float values[kJointCount * 3];
  reader.ReadF32s(values, kJointCount * 3);
  for (int i = 0; i < kJointCount; ++i) {
    const float z = values[3 * i + 2];
    joints.joints[i] = sm::Vec3(values[3 * i], values[3 * i + 1], negateZ ? -z : z);
  }
}

void WriteJoints(const Joints& joints, bool negateZ, bytes::ByteWriter& out) {
  for (const sm::Vec3& joint : joints.joints) {
    out.WriteF32(joint.x);
    out.WriteF32(joint.y);
    out.WriteF32(negateZ ? -joint.z : joint.z);
  }
}

}  // namespace

bool ParseRestFrame(const void* data, std::size_t size, Joints& joints, std::string& error) {
  bytes::ByteReader reader(data, size);
  if (!reader.Has(1, kJointsBytes)) {
    error = "a rest frame needs " + std::to_string(kJointsBytes) + " bytes, the file has " +
            std::to_string(size);
    return false;
  }
  ReadJoints(reader, joints, false);
  return true;
}

bool ReadRestFrame(const std::string& path, Joints& joints, std::string& error) {
  return bytes::ReadFileWith(path, joints, error, ParseRestFrame);
}

void WriteRestFrame(const Joints& joints, bytes::ByteWriter& out) { WriteJoints(joints, false, out); }

std::string WriteRestFrame(const Joints& joints) {
  bytes::ByteWriter out;
  WriteRestFrame(joints, out);
  return out.Take();
}

bool WriteRestFrameFile(const std::string& path, const Joints& joints, std::string& error) {
  return bytes::WriteWholeFile(path, WriteRestFrame(joints), error);
}

bool ParseAnimation(const void* data, std::size_t size, std::vector<PoseKey>& keys, std::string& error) {
  keys.clear();
  bytes::ByteReader reader(data, size);
  const std::int32_t count = reader.ReadI32();
  if (!reader.Ok()) {
    error = "no key count: " + reader.Error();
    return false;
  }
  if (count <= 0) return true;
  if (!reader.Has(static_cast<std::uint64_t>(count), kKeyBytes)) {
    error = std::to_string(count) + " keys need " + std::to_string(count * static_cast<std::uint64_t>(kKeyBytes)) +
            " bytes, " + std::to_string(reader.Remaining()) + " follow the count";
    return false;
  }
  keys.resize(static_cast<std::size_t>(count));
  for (PoseKey& key : keys) {
    key.time = reader.ReadF32();
    ReadJoints(reader, key.frame, true);
  }
  return true;
}

bool ReadAnimation(const std::string& path, std::vector<PoseKey>& keys, std::string& error) {
  return bytes::ReadFileWith(path, keys, error, ParseAnimation);
}

void WriteAnimation(const std::vector<PoseKey>& keys, bytes::ByteWriter& out) {
  out.WriteI32(static_cast<std::int32_t>(keys.size()));
  for (const PoseKey& key : keys) {
    out.WriteF32(key.time);
    WriteJoints(key.frame, true, out);
  }
}

std::string WriteAnimation(const std::vector<PoseKey>& keys) {
  bytes::ByteWriter out;
  WriteAnimation(keys, out);
  return out.Take();
}

bool WriteAnimationFile(const std::string& path, const std::vector<PoseKey>& keys, std::string& error) {
  return bytes::WriteWholeFile(path, WriteAnimation(keys), error);
}

}  // namespace robot_pose_file
