#include "assets/camera_file.h"

namespace camera_file {
namespace {

// The smallest record: id and two constant blocks.
constexpr std::size_t kMinCameraBytes = 4 + 2 * 5;

bool ReadBlock(bytes::ByteReader& reader, ValueBlock& block) {
  block.animated = reader.ReadU8() != 0;
  if (!block.animated) {
    block.constant = reader.ReadF32();
    return reader.Ok();
  }
  const std::int32_t count = reader.ReadI32();
  if (!reader.Ok() || count <= 0) return reader.Ok();
  if (!reader.Has(static_cast<std::uint64_t>(count), 8)) {
    return reader.Fail(std::to_string(count) + " keys do not fit");
  }
  block.keys.resize(static_cast<std::size_t>(count));
  for (FloatKey& key : block.keys) {
    key.time = reader.ReadF32();
    key.value = reader.ReadF32();
  }
  return reader.Ok();
}

void WriteBlock(const ValueBlock& block, bytes::ByteWriter& out) {
  out.WriteU8(block.animated ? 1 : 0);
  if (!block.animated) {
    out.WriteF32(block.constant);
    return;
  }
  out.WriteI32(static_cast<std::int32_t>(block.keys.size()));
  for (const FloatKey& key : block.keys) {
    out.WriteF32(key.time);
    out.WriteF32(key.value);
  }
}

}  // namespace

bool Parse(const void* data, std::size_t size, std::vector<CameraRecord>& cameras, std::string& error) {
  cameras.clear();
  bytes::ByteReader reader(data, size);
  const std::int32_t count = reader.ReadI32();
  for (std::int32_t i = 0; reader.Ok() && i < count; ++i) {
    if (!reader.Has(1, kMinCameraBytes)) {
      reader.Fail("camera " + std::to_string(i) + " of " + std::to_string(count) + " missing");
      break;
    }
    CameraRecord camera;
    camera.id = reader.ReadI32();
    if (ReadBlock(reader, camera.fieldOfView) && ReadBlock(reader, camera.second)) {
      cameras.push_back(std::move(camera));
    }
  }
  if (!reader.Ok()) {
    error = reader.Error();
    cameras.clear();
    return false;
  }
  return true;
}

bool ReadFile(const std::string& path, std::vector<CameraRecord>& cameras, std::string& error) {
  return bytes::ReadFileWith(path, cameras, error, Parse);
}

void Write(const std::vector<CameraRecord>& cameras, bytes::ByteWriter& out) {
  out.WriteI32(static_cast<std::int32_t>(cameras.size()));
  for (const CameraRecord& camera : cameras) {
    out.WriteI32(camera.id);
    WriteBlock(camera.fieldOfView, out);
    WriteBlock(camera.second, out);
  }
}

std::string Write(const std::vector<CameraRecord>& cameras) {
  bytes::ByteWriter out;
  Write(cameras, out);
  return out.Take();
}

bool WriteFile(const std::string& path, const std::vector<CameraRecord>& cameras, std::string& error) {
  return bytes::WriteWholeFile(path, Write(cameras), error);
}

}  // namespace camera_file
