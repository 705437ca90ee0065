#pragma once
// The camera file ("cameras/cameras.cam"): the animated cameras, each riding on a node
// of the "cameras" animation, with a field-of-view block and a second value block.
//
// Layout (little-endian, no header): i32 camera count, then per camera i32 node id and
// two value blocks. A value block is a u8 animated flag; non-zero: i32 key count and
// that many (time, value) float pairs; zero: one float constant. docs/formats.md has
// the full description.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/byte_io.h"

namespace camera_file {

struct FloatKey {
  float time = 0;
  float value = 0;
};

// animated: the keys make a track (even when there are none); otherwise the constant.
struct ValueBlock {
  bool animated = false;
  float constant = 0;
  std::vector<FloatKey> keys;
};

struct CameraRecord {
  std::int32_t id = 0;
  ValueBlock fieldOfView;  // radians
  ValueBlock second;
};

// Every count is checked against the bytes left: a truncated or forged file fails with
// a message. A negative key count means no keys.
bool Parse(const void* data, std::size_t size, std::vector<CameraRecord>& cameras, std::string& error);
// The error names the file.
bool ReadFile(const std::string& path, std::vector<CameraRecord>& cameras, std::string& error);

void Write(const std::vector<CameraRecord>& cameras, bytes::ByteWriter& out);
std::string Write(const std::vector<CameraRecord>& cameras);
bool WriteFile(const std::string& path, const std::vector<CameraRecord>& cameras, std::string& error);

}  // namespace camera_file
