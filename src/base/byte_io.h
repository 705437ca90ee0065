#pragma once
// Little-endian reading and writing of the binary data files (models, animations, the
// camera file, robot poses). Header-only so that every library that reads or writes a
// data file, the animation library included, shares this one implementation.
//
// ByteReader never reads past its buffer: the first read that would fails, the reader
// stays failed from then on (later reads fail too and yield zeros), and Error() tells
// what was missing and where. Parsers can therefore read a whole record and check once.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace bytes {

inline constexpr bool kHostIsLittleEndian = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__;

class ByteReader {
 public:
  ByteReader(const void* data, std::size_t size)
      : data_(static_cast<const std::uint8_t*>(data)), size_(size) {}

  bool Ok() const { return error_.empty(); }
  const std::string& Error() const { return error_; }
  std::size_t Offset() const { return offset_; }
  std::size_t Size() const { return size_; }
  std::size_t Remaining() const { return size_ - offset_; }

  // True when count items of itemSize bytes each are still in the buffer (and the
  // product does not overflow); does not fail the reader.
  bool Has(std::uint64_t count, std::uint64_t itemSize) const {
    if (itemSize == 0) return true;
    return count <= Remaining() / itemSize;
  }

  // Marks the reader failed with a message of the caller's (keeps the first message).
  bool Fail(const std::string& message) {
    if (error_.empty()) error_ = message + " at offset " + std::to_string(offset_);
    return false;
  }

  bool Skip(std::size_t count) {
    if (!Need(count)) return false;
    offset_ += count;
    return true;
  }

  bool ReadBytes(void* out, std::size_t count) {
    if (!Need(count)) {
      std::memset(out, 0, count);
      return false;
    }
    std::memcpy(out, data_ + offset_, count);
    offset_ += count;
    return true;
  }

  std::uint8_t ReadU8() {
    std::uint8_t value = 0;
    ReadBytes(&value, 1);
    return value;
  }
  std::uint16_t ReadU16() { return ReadScalar<std::uint16_t>(); }
  std::int32_t ReadI32() { return static_cast<std::int32_t>(ReadScalar<std::uint32_t>()); }
  float ReadF32() {
    const std::uint32_t raw = ReadScalar<std::uint32_t>();
    float value;
    std::memcpy(&value, &raw, sizeof value);
    return value;
  }

  // count floats into out (all zero when they are not all there).
  bool ReadF32s(float* out, std::size_t count) {
    if (!Has(count, 4)) {
      std::memset(out, 0, count * sizeof(float));
      return FailAtEnd();
    }
    if constexpr (kHostIsLittleEndian) {
      std::memcpy(out, data_ + offset_, count * 4);
      offset_ += count * 4;
    } else {
      for (std::size_t i = 0; i < count; ++i) out[i] = ReadF32();
    }
    return true;
  }

  // A string: signed 32-bit byte count, then the bytes. A negative count or one
  // beyond the end of the buffer fails the reader.
  bool ReadString(std::string& out) {
    out.clear();
    const std::int32_t length = ReadI32();
    if (!Ok()) return false;
    if (length < 0) return Fail("negative string length " + std::to_string(length));
    if (!Need(static_cast<std::size_t>(length))) return false;
    out.assign(reinterpret_cast<const char*>(data_ + offset_), static_cast<std::size_t>(length));
    offset_ += static_cast<std::size_t>(length);
    return true;
  }

  // The bytes at the current position, for bulk parsers that checked Has() first.
  const std::uint8_t* Cursor() const { return data_ + offset_; }

 private:
  bool Need(std::size_t count) {
    if (!Ok()) return false;
    return count <= Remaining() || FailAtEnd();
  }

  bool FailAtEnd() {
    if (!Ok()) return false;
    error_ = "unexpected end of data at offset " + std::to_string(offset_) + " of " +
             std::to_string(size_);
    offset_ = size_;
    return false;
  }

  template <typename T>
  T ReadScalar() {
    std::uint8_t raw[sizeof(T)];
    if (!ReadBytes(raw, sizeof(T))) return 0;
    T value = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) value |= static_cast<T>(T(raw[i]) << (8 * i));
    return value;
  }

  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t offset_ = 0;
  std::string error_;
};

class ByteWriter {
 public:
  const std::string& Bytes() const { return bytes_; }
  std::string Take() { return std::move(bytes_); }
  std::size_t Size() const { return bytes_.size(); }
  void Reserve(std::size_t size) { bytes_.reserve(size); }

  void WriteBytes(const void* data, std::size_t count) {
    bytes_.append(static_cast<const char*>(data), count);
  }
  void WriteU8(std::uint8_t value) { bytes_.push_back(static_cast<char>(value)); }
  void WriteU16(std::uint16_t value) { WriteScalar(value); }
  void WriteI32(std::int32_t value) { WriteScalar(static_cast<std::uint32_t>(value)); }
  void WriteF32(float value) {
    std::uint32_t raw;
    std::memcpy(&raw, &value, sizeof raw);
    WriteScalar(raw);
  }
  void WriteF32s(const float* values, std::size_t count) {
    if constexpr (kHostIsLittleEndian) {
      WriteBytes(values, count * 4);
    } else {
      for (std::size_t i = 0; i < count; ++i) WriteF32(values[i]);
    }
  }
  void WriteString(const std::string& value) {
    WriteI32(static_cast<std::int32_t>(value.size()));
    bytes_.append(value);
  }

 private:
  template <typename T>
  void WriteScalar(T value) {
    for (std::size_t i = 0; i < sizeof(T); ++i) bytes_.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  }

  std::string bytes_;
};

// Reads a whole file with one read. False with error set (naming the path) when it
// cannot be opened or read.
inline bool ReadWholeFile(const std::string& path, std::string& out, std::string& error) {
  out.clear();
  std::error_code ignored;
  std::FILE* file = std::filesystem::is_regular_file(path, ignored) ? std::fopen(path.c_str(), "rb") : nullptr;
  if (file == nullptr) {
    error = "cannot open '" + path + "'";
    return false;
  }
  bool ok = std::fseek(file, 0, SEEK_END) == 0;
  const long size = ok ? std::ftell(file) : -1;
  ok = ok && size >= 0 && std::fseek(file, 0, SEEK_SET) == 0;
  if (ok) {
    out.resize(static_cast<std::size_t>(size));
    ok = std::fread(out.data(), 1, out.size(), file) == out.size();
  }
  std::fclose(file);
  if (!ok) {
    out.clear();
    error = "cannot read '" + path + "'";
  }
  return ok;
}

// Writes (creates or truncates) a whole file. False with error set when it fails.
inline bool WriteWholeFile(const std::string& path, const std::string& bytes, std::string& error) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    error = "cannot create '" + path + "'";
    return false;
  }
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  ok = std::fclose(file) == 0 && ok;
  if (!ok) error = "cannot write '" + path + "'";
  return ok;
}

// Reads a whole file and parses it with parse(data, size, value, error); a parse
// error is prefixed with the path, so every reader's message names its file.
template <typename Value, typename Parser>
bool ReadFileWith(const std::string& path, Value& value, std::string& error, Parser parse) {
  std::string buffer;
  if (!ReadWholeFile(path, buffer, error)) return false;
  if (!parse(buffer.data(), buffer.size(), value, error)) {
    error = "'" + path + "': " + error;
    return false;
  }
  return true;
}

}  // namespace bytes
