#pragma once
// The unpacked data set on disk: every generator step writes its files through this,
// under one root, by their path inside the data set ("models/doors.geo"). It creates
// folders as needed, keeps the list of what was written (for the archive and the
// report) and remembers the first failure. Safe to use from several threads.
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "assets/image.h"

namespace datagen {

class OutputTree {
 public:
  explicit OutputTree(std::string root);

  const std::string& Root() const { return root_; }
  // The file's place on disk.
  std::string PathOf(const std::string& relative) const { return root_ + "/" + relative; }

  // Each writes one file (replacing an older one) and records it; false, with the
  // reason kept in Error(), when the file cannot be written.
  bool WriteBytes(const std::string& relative, const std::string& bytes);
  // PNG or JPEG by the path's extension (".png" or ".jpg").
  bool WriteImage(const std::string& relative, const Image& image, int jpegQuality = 90);
  bool CopyFile(const std::string& source, const std::string& relative);
  // Creates the folder of a file that a caller writes itself, then Record() it.
  bool PrepareFolder(const std::string& relative);
  void Record(const std::string& relative);
  bool Fail(const std::string& message);
  // Records every file already under the root as well, so that the list covers a tree
  // that a run has only added to. False (with the reason kept) when it cannot be read.
  bool RecordFilesOnDisk();

  // Relative paths of every file written, sorted bytewise.
  std::vector<std::string> Files() const;
  // Bytes of one recorded file (0 when unknown).
  std::uint64_t SizeOf(const std::string& relative) const;

  bool Failed() const;
  std::string Error() const;

 private:
  std::string root_;
  mutable std::mutex mutex_;
  std::map<std::string, std::uint64_t> files_;
  std::string error_;
};

}  // namespace datagen
