#include "datagen/pipeline/archive.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

#include "base/byte_io.h"
#include "platform/zip_archive.h"

namespace datagen {

std::vector<std::string> ArchiveEntries(const std::vector<std::string>& files) {
  std::set<std::string> entries;
  for (const std::string& file : files) {
    entries.insert(file);
    for (std::size_t slash = file.find('/'); slash != std::string::npos; slash = file.find('/', slash + 1)) {
      entries.insert(file.substr(0, slash + 1));
    }
  }
  return std::vector<std::string>(entries.begin(), entries.end());
}

namespace {

bool IsCompressed(const std::string& name) {
  for (const char* extension : {".png", ".jpg", ".mp3"}) {
    const std::size_t length = std::char_traits<char>::length(extension);
    if (name.size() > length && name.compare(name.size() - length, length, extension) == 0) return true;
  }
  return false;
}

}  // namespace

bool PackArchive(const std::string& root, const std::vector<std::string>& files, const std::string& archivePath,
                 std::string& error) {
  error.clear();
  const std::string partial = archivePath + ".partial";
  platform::ZipWriter zip;
  if (!zip.Open(partial)) {
    error = "cannot create '" + partial + "'";
    return false;
  }
  for (const std::string& entry : ArchiveEntries(files)) {
    if (entry.back() == '/') {
      if (!zip.AddFolder(entry)) {
        error = "cannot add the folder '" + entry + "' to the archive";
        break;
      }
      continue;
    }
    std::string bytes;
    if (!bytes::ReadWholeFile(root + "/" + entry, bytes, error)) break;
    if (!zip.AddFile(entry, bytes, IsCompressed(entry) ? 0 : 9)) {
      error = "cannot add '" + entry + "' to the archive";
      break;
    }
  }
  const bool closed = zip.Close();
  std::error_code ignored;
  if (!error.empty() || !closed) {
    if (error.empty()) error = "cannot finish the archive '" + partial + "'";
    std::filesystem::remove(partial, ignored);
    return false;
  }
  std::error_code renamed;
  std::filesystem::rename(partial, archivePath, renamed);
  if (renamed) {
    error = "cannot move the archive to '" + archivePath + "': " + renamed.message();
    std::filesystem::remove(partial, ignored);
    return false;
  }
  return true;
}

}  // namespace datagen
