#include "app/archive.h"

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

// Writes the whole buffer; a file that could not be written completely is removed.
bool WriteWholeFile(const std::string& path, const std::vector<unsigned char>& data) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  bool ok = data.empty() || std::fwrite(data.data(), 1, data.size(), file) == data.size();
  if (std::fclose(file) != 0) ok = false;
  if (!ok) std::remove(path.c_str());
  return ok;
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
                   std::vector<std::string>& messages) {
  platform::ZipReader reader;
  std::error_code error;
  if (!std::filesystem::is_regular_file(archivePath, error)) {
    const bool exists = std::filesystem::exists(archivePath, error);
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
  std::vector<unsigned char> data;
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
      std::filesystem::create_directories(target, error);
      if (error) fail("couldn't create folder " + shown + ": " + error.message());
      continue;
    }
    std::filesystem::create_directories(target.parent_path(), error);
    if (error) {
      fail("couldn't create the folder of " + shown + ": " + error.message());
      continue;
    }
    if (!reader.ReadCurrent(data)) {
      fail("couldn't unpack " + shown + ": " + reader.Error());
      continue;
    }
    if (!WriteWholeFile(target.string(), data)) fail("couldn't write " + shown);
  } while (reader.Next());
  if (!reader.Error().empty()) fail("archive " + Printable(archivePath) + ": " + reader.Error());
  return allUnpacked;
}
