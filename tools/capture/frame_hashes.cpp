#include "capture/frame_hashes.h"

#include <cerrno>
#include <cinttypes>
#include <cstring>
#include <fstream>

namespace {
constexpr std::uint64_t kFnvOffset = 14695981039346656037ull;
constexpr std::uint64_t kFnvPrime = 1099511628211ull;
constexpr double kLargestSeconds = 1e9;  // about 32 years of timeline
}  // namespace

std::uint64_t PixelHash(const Image& picture) {
  std::uint64_t hash = kFnvOffset;
  if (picture.pixels == nullptr) return hash;
  const std::size_t rowBytes = picture.RowBytes();
  for (int row = picture.height - 1; row >= 0; --row) {
    const unsigned char* p = picture.pixels.get() + static_cast<std::size_t>(row) * rowBytes;
    for (std::size_t i = 0; i < rowBytes; ++i) hash = (hash ^ p[i]) * kFnvPrime;
  }
  return hash;
}

std::string FormatHashLine(const HashLine& line) {
  char text[80];
  std::snprintf(text, sizeof text, "%ld %.6f %016" PRIx64, line.frame, line.seconds, line.hash);
  return text;
}

bool ParseHashLine(const std::string& text, HashLine& line) {
  char hash[17] = {};
  int consumed = 0;
  if (std::sscanf(text.c_str(), "%ld %lf %16[0-9a-f]%n", &line.frame, &line.seconds, hash, &consumed) != 3) {
    return false;
  }
  if (static_cast<std::size_t>(consumed) != text.size() || std::strlen(hash) != 16) return false;
  // Only what a capture writes: a frame of the grid and its time, frame / fps. A time
  // that is not a number, or one too large to print in a line, came from elsewhere.
  if (line.frame < 0 || !(line.seconds >= 0.0 && line.seconds < kLargestSeconds)) return false;
  line.hash = std::strtoull(hash, nullptr, 16);
  return true;
}

std::map<long, HashLine> ReadHashFile(const std::string& path) {
  std::map<long, HashLine> lines;
  std::ifstream in(path);
  std::string text;
  // A last line without its line feed was cut off while being written.
  while (std::getline(in, text) && !in.eof()) {
    HashLine line;
    if (ParseHashLine(text, line)) lines[line.frame] = line;
  }
  return lines;
}

bool HashFileWriter::Create(const std::string& path, std::string& error) {
  Close();
  failed_ = false;
  file_ = std::fopen(path.c_str(), "w");
  if (file_ == nullptr) {
    error = "couldn't create " + path + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

bool HashFileWriter::Write(const HashLine& line) {
  if (file_ == nullptr) return false;
  if (std::fprintf(file_, "%s\n", FormatHashLine(line).c_str()) < 0 || std::fflush(file_) != 0) failed_ = true;
  return !failed_;
}

bool HashFileWriter::Close() {
  if (file_ == nullptr) return !failed_;
  if (std::fclose(file_) != 0) failed_ = true;
  file_ = nullptr;
  return !failed_;
}
