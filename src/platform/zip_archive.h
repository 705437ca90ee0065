#pragma once
// Zip archives: a reader that walks the entries in archive order and inflates one entry
// at a time, and a writer that packs files and folders (tests, the content builder).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform {

struct ZipEntryInfo {
  std::string name;                  // as stored: either separator, a trailing one for folders
  std::uint64_t uncompressedSize = 0;  // what the directory declares
  std::uint64_t compressedSize = 0;
  bool encrypted = false;
};

// Receives an entry's bytes piece by piece as they inflate; false stops the read.
using ZipSink = std::function<bool(const unsigned char* data, std::size_t size)>;

class ZipReader {
 public:
  ZipReader() = default;
  ZipReader(const ZipReader&) = delete;
  ZipReader& operator=(const ZipReader&) = delete;
  ~ZipReader() { Close(); }

  // False when the file is missing or not a zip archive (Error() says which).
  bool Open(const std::string& path);
  void Close();
  bool IsOpen() const { return file_ != nullptr; }
  // The number of entries the central directory lists.
  std::uint64_t EntryCount() const;

  // Moves to the first / next entry; false at the end of the list or on a damaged
  // directory (Error() is empty at a regular end).
  bool First();
  bool Next();

  bool CurrentInfo(ZipEntryInfo& info);
  // Inflates the current entry into sink, one piece of at most kPieceBytes at a time,
  // so an entry of any size takes no more memory than that. False, with Error() set,
  // when the entry cannot be read, when it inflates to more bytes than it declares (it
  // stops there; the rest is never inflated), when the sink refuses a piece ("refused
  // by the receiver"), or when its size or checksum do not match at the end. The
  // sink may have received pieces before a failure.
  bool ReadCurrent(const ZipSink& sink);
  // The same into memory, for small entries; data is empty after a failure.
  bool ReadCurrent(std::vector<unsigned char>& data);

  static constexpr std::size_t kPieceBytes = 256u << 10;

  const std::string& Error() const { return error_; }

 private:
  bool Step(int result);
  void* file_ = nullptr;  // unzFile
  std::string error_;
};

class ZipWriter {
 public:
  ZipWriter() = default;
  ZipWriter(const ZipWriter&) = delete;
  ZipWriter& operator=(const ZipWriter&) = delete;
  ~ZipWriter() { Close(); }

  // Creates (or replaces) the archive.
  bool Open(const std::string& path);
  // A folder entry; a '/' is appended when the name does not end in a separator.
  bool AddFolder(const std::string& name);
  // A file entry with the bytes deflated (level 0 stores them).
  bool AddFile(const std::string& name, const std::string& bytes, int level = 6) {
    return AddFileData(name, bytes.data(), bytes.size(), level);
  }
  bool AddFileData(const std::string& name, const void* data, std::size_t size, int level = 6);
  // Writes the central directory; false when anything before failed.
  bool Close();

 private:
  bool AddEntry(const std::string& name, const void* data, std::size_t size, int level);
  void* file_ = nullptr;  // zipFile
  bool failed_ = false;
};

}  // namespace platform
