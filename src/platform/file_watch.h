#pragma once
// Changes under a folder tree, from the kernel's file notifications (inotify): files
// written and closed, moved in or out, removed. Folders created later are watched as
// they appear, and so is the root when it is removed and made again. Polling never
// blocks.
#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

namespace platform {

class FileWatch {
 public:
  FileWatch() = default;
  ~FileWatch();
  FileWatch(const FileWatch&) = delete;
  FileWatch& operator=(const FileWatch&) = delete;

  // Watches root and every folder below it. False with error set when the tree cannot
  // be watched (no such folder, no notifications).
  bool Watch(const std::string& root, std::string& error);
  // The files changed since the last poll, relative to the root ("textures/a.png"),
  // each once, in the order they first changed.
  std::vector<std::string> Poll();

 private:
  // Watches a folder and those below it; found, when given, receives the files they
  // already hold.
  void AddFolder(const std::string& relative, std::vector<std::string>* found);
  // The root folder's inode now; 0 when it is not there.
  ino_t RootInode() const;

  int descriptor_ = -1;
  std::string root_;
  std::map<int, std::string> folders_;  // watch descriptor -> folder relative to root
  bool rootLost_ = false;               // the root was removed; watched again when back
  ino_t rootInode_ = 0;                 // a root made anew has another: watched afresh
};

}  // namespace platform
