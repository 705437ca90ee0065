#pragma once
// A fingerprint of each captured picture and the file that lists them, one line per
// frame: "<index> <seconds> <hash>", e.g. "7380 123.000000 9f0c1e2d3b4a5968".
//
// The hash is 64-bit FNV-1a over the picture's R, G, B bytes, rows from the top, as
// they appear in the frame's PNG file, so anyone can recompute it from the PNG.
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>

#include "assets/image.h"

std::uint64_t PixelHash(const Image& picture);

struct HashLine {
  long frame = 0;
  double seconds = 0.0;
  std::uint64_t hash = 0;
};
std::string FormatHashLine(const HashLine& line);
// False for anything that is not a complete line of that form.
bool ParseHashLine(const std::string& text, HashLine& line);

// Reads the complete lines of a hash file by frame index; a missing file gives none.
std::map<long, HashLine> ReadHashFile(const std::string& path);

// Writes the lines as they come, each flushed, so an interrupted capture leaves only
// complete lines behind.
class HashFileWriter {
 public:
  HashFileWriter() = default;
  HashFileWriter(const HashFileWriter&) = delete;
  HashFileWriter& operator=(const HashFileWriter&) = delete;
  ~HashFileWriter() { Close(); }

  // Replaces the file. False with error set when it cannot be created.
  bool Create(const std::string& path, std::string& error);
  bool Write(const HashLine& line);
  // False when any line could not be written.
  bool Close();

 private:
  std::FILE* file_ = nullptr;
  bool failed_ = false;
};
