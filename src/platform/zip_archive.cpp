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
  info.compressedSize = raw.compressed_size;
  info.encrypted = (raw.flag & 1u) != 0;
  return true;
}

bool ZipReader::ReadCurrent(const ZipSink& sink) {
  error_.clear();
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
  std::vector<unsigned char> piece(kPieceBytes);
  std::uint64_t total = 0;
  for (;;) {
    const int read = unzReadCurrentFile(Unz(file_), piece.data(), static_cast<unsigned>(piece.size()));
    if (read < 0) {
      error_ = UnzipErrorText(read);
      break;
    }
    if (read == 0) break;
    total += static_cast<std::uint64_t>(read);
    // The declared size is what the archive says it holds; a stream that goes on past
    // it is a forgery (a zip bomb), and nothing more of it is inflated.
    if (total > info.uncompressedSize) {
      error_ = "inflates to more than its declared " + std::to_string(info.uncompressedSize) + " bytes";
      break;
    }
    if (!sink(piece.data(), static_cast<std::size_t>(read))) {
      error_ = "refused by the receiver";
      break;
    }
  }
  // Closing checks the checksum once everything was read.
  result = unzCloseCurrentFile(Unz(file_));
  if (error_.empty() && total != info.uncompressedSize) error_ = "size mismatch";
  if (error_.empty() && result != UNZ_OK) error_ = UnzipErrorText(result);
  return error_.empty();
}

bool ZipReader::ReadCurrent(std::vector<unsigned char>& data) {
  data.clear();
  const bool ok = ReadCurrent([&data](const unsigned char* bytes, std::size_t size) {
    data.insert(data.end(), bytes, bytes + size);
    return true;
  });
  if (!ok) data.clear();
  return ok;
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
