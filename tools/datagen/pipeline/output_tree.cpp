#include "datagen/pipeline/output_tree.h"

#include <filesystem>
#include <system_error>

#include "base/byte_io.h"

namespace datagen {

namespace fs = std::filesystem;

OutputTree::OutputTree(std::string root) : root_(std::move(root)) {}

bool OutputTree::Fail(const std::string& message) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (error_.empty()) error_ = message;
  return false;
}

bool OutputTree::PrepareFolder(const std::string& relative) {
  std::error_code error;
  fs::create_directories(fs::path(PathOf(relative)).parent_path(), error);
  if (error) return Fail("cannot create the folder of '" + PathOf(relative) + "': " + error.message());
  return true;
}

void OutputTree::Record(const std::string& relative) {
  std::error_code error;
  const std::uint64_t size = fs::file_size(PathOf(relative), error);
  std::lock_guard<std::mutex> lock(mutex_);
  files_[relative] = error ? 0 : size;
}

bool OutputTree::RecordFilesOnDisk() {
  std::error_code error;
  for (fs::recursive_directory_iterator it(root_, error), end; !error && it != end; it.increment(error)) {
    if (it->is_regular_file(error)) Record(fs::relative(it->path(), root_).generic_string());
  }
  if (error) return Fail("cannot list the files of '" + root_ + "': " + error.message());
  return true;
}

bool OutputTree::WriteBytes(const std::string& relative, const std::string& bytes) {
  if (!PrepareFolder(relative)) return false;
  std::string error;
  if (!bytes::WriteWholeFile(PathOf(relative), bytes, error)) return Fail(error);
  Record(relative);
  return true;
}

bool OutputTree::WriteImage(const std::string& relative, const Image& image, int jpegQuality) {
  if (!PrepareFolder(relative)) return false;
  const std::string path = PathOf(relative);
  const bool png = relative.size() > 4 && relative.compare(relative.size() - 4, 4, ".png") == 0;
  const bool ok = png ? EncodePng(path, image) : EncodeJpeg(path, image, jpegQuality);
  if (!ok) return Fail("cannot write the picture '" + path + "'");
  Record(relative);
  return true;
}

bool OutputTree::CopyFile(const std::string& source, const std::string& relative) {
  std::string bytes, error;
  if (!bytes::ReadWholeFile(source, bytes, error)) return Fail(error);
  return WriteBytes(relative, bytes);
}

std::vector<std::string> OutputTree::Files() const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<std::string> files;
  for (const auto& entry : files_) files.push_back(entry.first);
  return files;
}

std::uint64_t OutputTree::SizeOf(const std::string& relative) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto found = files_.find(relative);
  return found == files_.end() ? 0 : found->second;
}

bool OutputTree::Failed() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return !error_.empty();
}

std::string OutputTree::Error() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return error_;
}

}  // namespace datagen
