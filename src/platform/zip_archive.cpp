#include "platform/zip_archive.h"

#include <unzip.h>
#include <zip.h>

#include <algorithm>
#include <cstring>

namespace platform {
namespace {

unzFile Unz(void* file) { return static_cast<unzFile>(file); }
zipFile Zip(void* file) { return static_cast<zipFile>(file); }

std::string UnzipErrorText(int code) {
  switch (code) {
    case UNZ_ERRNO: return "read error";
    case UNZ_BADZIPFILE: return "damaged archive or unsupported compression";
    case UNZ_CRCERROR: return "checksum mismatch";
    case UNZ_PARAMERROR: return "bad parameter";
    case UNZ_INTERNALERROR: return "internal error";
    default: return "inflate error " + std::to_string(code);
  }
}

// A declared size is only a claim: buffers grow with what actually inflates, up to this
// much reserved in advance.
constexpr std::uint64_t kMaxReserve = 64u << 20;
constexpr unsigned kReadChunk = 256u << 10;

}  // namespace

bool ZipReader::Open(const std::string& path) {
  Close();
  error_.clear();
  file_ = unzOpen64(path.c_str());
  if (file_ == nullptr) {
    error_ = "not a readable zip archive";
    return false;
  }
  return true;
}

void ZipReader::Close() {
  if (file_ != nullptr) {
    unzClose(Unz(file_));  // also closes a still-open entry
    file_ = nullptr;
  }
}

std::uint64_t ZipReader::EntryCount() const {
  if (file_ == nullptr) return 0;
  unz_global_info64 global{};
  if (unzGetGlobalInfo64(Unz(file_), &global) != UNZ_OK) return 0;
  return global.number_entry;
}

bool ZipReader::Step(int result) {
  if (result == UNZ_OK) return true;
  if (result != UNZ_END_OF_LIST_OF_FILE) error_ = UnzipErrorText(result);
  return false;
}

bool ZipReader::First() {
  error_.clear();
  if (file_ == nullptr) return false;
  return Step(unzGoToFirstFile(Unz(file_)));
}

bool ZipReader::Next() {
  error_.clear();
  if (file_ == nullptr) return false;
  return Step(unzGoToNextFile(Unz(file_)));
}

bool ZipReader::CurrentInfo(ZipEntryInfo& info) {
  error_.clear();
  if (file_ == nullptr) return false;
  unz_file_info64 raw{};
  int result = unzGetCurrentFileInfo64(Unz(file_), &raw, nullptr, 0, nullptr, 0, nullptr, 0);
  if (result != UNZ_OK) {
    error_ = UnzipErrorText(result);
    return false;
  }
  // The name is copied without a terminator when the buffer is exactly its size.
  std::vector<char> name(raw.size_filename + 1, '\0');
  result = unzGetCurrentFileInfo64(Unz(file_), &raw, name.data(), static_cast<uLong>(name.size()), nullptr, 0,
                                   nullptr, 0);
  if (result != UNZ_OK) {
    error_ = UnzipErrorText(result);
    return false;
  }
  info.name.assign(name.data(), raw.size_filename);
  info.uncompressedSize = raw.uncompressed_size;
  info.encrypted = (raw.flag & 1u) != 0;
  return true;
}

bool ZipReader::ReadCurrent(std::vector<unsigned char>& data) {
  error_.clear();
  data.clear();
  ZipEntryInfo info;
  if (!CurrentInfo(info)) return false;
  if (info.encrypted) {
    error_ = "encrypted entry";
    return false;
  }
  int result = unzOpenCurrentFile(Unz(file_));
  if (result != UNZ_OK) {
    error_ = UnzipErrorText(result);
    return false;
  }
  data.reserve(static_cast<std::size_t>(std::min(info.uncompressedSize, kMaxReserve)));
  std::vector<unsigned char> chunk(kReadChunk);
  for (;;) {
    const int read = unzReadCurrentFile(Unz(file_), chunk.data(), kReadChunk);
    if (read < 0) {
      error_ = UnzipErrorText(read);
      break;
    }
    if (read == 0) break;
    data.insert(data.end(), chunk.begin(), chunk.begin() + read);
  }
  // Closing checks the checksum once everything was read.
  result = unzCloseCurrentFile(Unz(file_));
  if (error_.empty() && data.size() != info.uncompressedSize) error_ = "size mismatch";
  if (error_.empty() && result != UNZ_OK) error_ = UnzipErrorText(result);
  if (!error_.empty()) {
    data.clear();
    return false;
  }
  return true;
}

bool ZipWriter::Open(const std::string& path) {
  Close();
  failed_ = false;
  file_ = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
  return file_ != nullptr;
}

bool ZipWriter::AddEntry(const std::string& name, const void* data, std::size_t size, int level) {
  if (file_ == nullptr) return false;
  zip_fileinfo info;
  std::memset(&info, 0, sizeof info);
  // A fixed, valid date keeps archives byte-for-byte reproducible.
  info.tmz_date.tm_year = 2000;
  info.tmz_date.tm_mon = 0;
  info.tmz_date.tm_mday = 1;
  const bool folder = !name.empty() && (name.back() == '/' || name.back() == '\\');
  if (folder) info.external_fa = 0x10;  // MS-DOS directory attribute
  const int method = level == 0 || folder ? 0 : Z_DEFLATED;
  const int zip64 = size >= 0xffffffffu ? 1 : 0;
  bool ok = zipOpenNewFileInZip64(Zip(file_), name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, method,
                                  std::clamp(level, 0, 9), zip64) == ZIP_OK;
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  while (ok && size > 0) {
    const unsigned piece = static_cast<unsigned>(std::min<std::size_t>(size, 1u << 30));
    ok = zipWriteInFileInZip(Zip(file_), bytes, piece) == ZIP_OK;
    bytes += piece;
    size -= piece;
  }
  if (zipCloseFileInZip(Zip(file_)) != ZIP_OK) ok = false;
  if (!ok) failed_ = true;
  return ok;
}

bool ZipWriter::AddFolder(const std::string& name) {
  const bool hasSeparator = !name.empty() && (name.back() == '/' || name.back() == '\\');
  return AddEntry(hasSeparator ? name : name + "/", nullptr, 0, 0);
}

bool ZipWriter::AddFileData(const std::string& name, const void* data, std::size_t size, int level) {
  return AddEntry(name, data, size, level);
}

bool ZipWriter::Close() {
  if (file_ == nullptr) return false;
  const bool ok = zipClose(Zip(file_), nullptr) == ZIP_OK && !failed_;
  file_ = nullptr;
  return ok;
}

}  // namespace platform
