#include "app/archive.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/zip_archive.h"

namespace {

// Entry names end up in log lines: control bytes (a line feed above all) are shown as '?'.
std::string Printable(const std::string& text) {
  std::string out = text;
  for (char& c : out) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7f) c = '?';
  }
  return out;
}

bool IsFolderName(const std::string& name) {
  return !name.empty() && (name.back() == '/' || name.back() == '\\');
}

// Suffix of the file an entry is inflated into before it is known to be complete.
constexpr char kUnpackingSuffix[] = ".unpacking";

// Why an entry of this declared size may not be unpacked now; empty when it may.
std::string RefusalForSize(std::uint64_t declared, std::uint64_t unpackedSoFar, const UnpackLimits& limits,
                           const std::filesystem::path& folder) {
  if (declared > limits.maxEntryBytes) {
    return "it would inflate to " + std::to_string(declared) + " bytes, far more than any data file (at most " +
           std::to_string(limits.maxEntryBytes) + ")";
  }
  if (declared > limits.maxTotalBytes || unpackedSoFar > limits.maxTotalBytes - declared) {
    return "the archive would inflate to more than " + std::to_string(limits.maxTotalBytes) + " bytes";
  }
  std::error_code error;
  const std::filesystem::space_info space = std::filesystem::space(folder, error);
  if (!error && declared > space.available) {
    return "it needs " + std::to_string(declared) + " bytes and the disk has " + std::to_string(space.available);
  }
  return std::string();
}

// Inflates the current entry piece by piece into a temporary file beside target, which
// then replaces target; on any failure nothing is left and error is the line saying why
// ("couldn't unpack NAME: checksum mismatch", "couldn't write NAME").
bool UnpackEntry(platform::ZipReader& reader, const std::filesystem::path& target, const std::string& shown,
                 std::string& error) {
  const std::string partial = target.string() + kUnpackingSuffix;
  std::FILE* file = std::fopen(partial.c_str(), "wb");
  if (file == nullptr) {
    error = "couldn't write " + shown;
    return false;
  }
  bool writeFailed = false;
  const bool read = reader.ReadCurrent([&](const unsigned char* data, std::size_t size) {
    writeFailed = std::fwrite(data, 1, size, file) != size;
    return !writeFailed;
  });
  if (std::fclose(file) != 0) writeFailed = true;
  std::error_code renameError;
  if (read && !writeFailed) std::filesystem::rename(partial, target, renameError);
  if (!read || writeFailed || renameError) {
    std::remove(partial.c_str());
    error = writeFailed || renameError ? "couldn't write " + shown : "couldn't unpack " + shown + ": " + reader.Error();
    return false;
  }
  return true;
}

}  // namespace

std::string SafeEntryPath(const std::string& entryName) {
  if (entryName.find('\0') != std::string::npos) return std::string();
  std::string name = entryName;
  for (char& c : name) {
    if (c == '\\') c = '/';
  }
  if (name.empty() || name.front() == '/') return std::string();
  std::string relative;
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = name.find('/', start);
    if (end == std::string::npos) end = name.size();
    const std::string part = name.substr(start, end - start);
    if (part == "..") return std::string();
    if (!part.empty() && part != ".") {
      if (!relative.empty()) relative += '/';
      relative += part;
    }
    start = end + 1;
  }
  return relative;
}

bool UnpackArchive(const std::string& archivePath, const std::string& dataFolder,
                   std::vector<std::string>& messages, const UnpackLimits& limits) {
  platform::ZipReader reader;
  std::error_code code;
  if (!std::filesystem::is_regular_file(archivePath, code)) {
    const bool exists = std::filesystem::exists(archivePath, code);
    messages.push_back("couldn't open archive " + Printable(archivePath) + (exists ? ": not a file" : ": no such file"));
    return false;
  }
  if (!reader.Open(archivePath)) {
    messages.push_back("couldn't open archive " + Printable(archivePath) + ": " + reader.Error());
    return false;
  }
  if (reader.EntryCount() == 0 || !reader.First()) {
    messages.push_back("archive " + Printable(archivePath) + " has no entries" +
                       (reader.Error().empty() ? "" : ": " + reader.Error()));
    return false;
  }

  bool allUnpacked = true;
  auto fail = [&](const std::string& message) {
    messages.push_back(message);
    allUnpacked = false;
  };
  std::uint64_t unpackedBytes = 0;
  do {
    platform::ZipEntryInfo info;
    if (!reader.CurrentInfo(info)) {
      fail("archive " + Printable(archivePath) + ": unreadable entry: " + reader.Error());
      continue;
    }
    const std::string shown = Printable(info.name);
    const std::string relative = SafeEntryPath(info.name);
    if (relative.empty()) {
      fail("refused archive entry " + shown + ": not a path inside the data folder");
      continue;
    }
    const std::filesystem::path target = std::filesystem::path(dataFolder) / relative;
    if (IsFolderName(info.name)) {
      std::filesystem::create_directories(target, code);
      if (code) fail("couldn't create folder " + shown + ": " + code.message());
      continue;
    }
    std::filesystem::create_directories(target.parent_path(), code);
    if (code) {
      fail("couldn't create the folder of " + shown + ": " + code.message());
      continue;
    }
    const std::string refusal = RefusalForSize(info.uncompressedSize, unpackedBytes, limits, target.parent_path());
    if (!refusal.empty()) {
      fail("refused archive entry " + shown + ": " + refusal);
      continue;
    }
    std::string error;
    if (!UnpackEntry(reader, target, shown, error)) {
      fail(error);
      continue;
    }
    unpackedBytes += info.uncompressedSize;
  } while (reader.Next());
  if (!reader.Error().empty()) fail("archive " + Printable(archivePath) + ": " + reader.Error());
  return allUnpacked;
}
