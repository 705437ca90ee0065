#pragma once
// A fresh temporary folder per test, removed again at the end.
#include <string>

namespace testing_support {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder, without a trailing separator.
  const std::string& Path() const { return path_; }
  // Path() + "/" + relative.
  std::string File(const std::string& relative) const;

 private:
  std::string path_;
};

// Whole-file helpers for fixtures.
void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);

// Runs a test body with the working directory switched to a folder.
class ScopedWorkingDirectory {
 public:
  explicit ScopedWorkingDirectory(const std::string& folder);
  ~ScopedWorkingDirectory();

 private:
  std::string previous_;
};

}  // namespace testing_support
