#include "platform/file_watch.h"

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace platform {
namespace {

constexpr std::uint32_t kFileEvents =
    IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE | IN_CREATE | IN_DELETE_SELF | IN_MOVE_SELF;

std::string Joined(const std::string& folder, const std::string& name) {
  return folder.empty() ? name : folder + "/" + name;
}

}  // namespace

ino_t FileWatch::RootInode() const {
  struct stat info;
  if (::stat(root_.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return 0;
  return info.st_ino;
}

FileWatch::~FileWatch() {
  if (descriptor_ >= 0) ::close(descriptor_);
}

bool FileWatch::Watch(const std::string& root, std::string& error) {
  if (descriptor_ >= 0) ::close(descriptor_);
  folders_.clear();
  root_ = root;
  while (root_.size() > 1 && root_.back() == '/') root_.pop_back();
  std::error_code code;
  if (!std::filesystem::is_directory(root_, code)) {
    error = "no folder " + root_ + " to watch";
    return false;
  }
  rootInode_ = RootInode();
  rootLost_ = false;
  descriptor_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (descriptor_ < 0) {
    error = std::string("no file notifications: ") + std::strerror(errno);
    return false;
  }
  AddFolder("", nullptr);
  if (folders_.empty()) {
    error = "couldn't watch " + root_ + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

void FileWatch::AddFolder(const std::string& relative, std::vector<std::string>* found) {
  const std::string path = relative.empty() ? root_ : root_ + "/" + relative;
  const int watch = ::inotify_add_watch(descriptor_, path.c_str(), kFileEvents | IN_ONLYDIR);
  if (watch < 0) return;
  folders_[watch] = relative;
  std::error_code code;
  for (std::filesystem::directory_iterator it(path, code), end; !code && it != end; it.increment(code)) {
    const std::string name = Joined(relative, it->path().filename().string());
    if (it->is_directory(code)) {
      AddFolder(name, found);
    } else if (found != nullptr && std::find(found->begin(), found->end(), name) == found->end()) {
      // Written before the folder was watched: nothing else would tell of it.
      found->push_back(name);
    }
  }
}

std::vector<std::string> FileWatch::Poll() {
  std::vector<std::string> changed;
  if (descriptor_ < 0) return changed;
  // A tree removed and made again (a generator that starts from an empty folder) is
  // watched again as soon as it is back; everything in it then counts as changed.
  const ino_t root = RootInode();
  if ((rootLost_ || root != rootInode_) && root != 0) {
    // Watches of the old tree that are still there would report for a folder that
    // no longer has their name.
    for (const auto& entry : folders_) ::inotify_rm_watch(descriptor_, entry.first);
    folders_.clear();
    rootLost_ = false;
    rootInode_ = root;
    AddFolder("", &changed);
  }
  alignas(inotify_event) char buffer[16384];
  for (;;) {
    const ssize_t length = ::read(descriptor_, buffer, sizeof buffer);
    if (length <= 0) break;
    for (ssize_t offset = 0; offset + static_cast<ssize_t>(sizeof(inotify_event)) <= length;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
      offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      if (offset > length) break;
      const auto folder = folders_.find(event->wd);
      if (folder == folders_.end()) continue;
      if ((event->mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF)) != 0) {
        // The folder is gone (the kernel drops its watch, perhaps only later, while
        // something still holds the folder open).
        if (folder->second.empty()) rootLost_ = true;
        folders_.erase(folder);
        continue;
      }
      if (event->len == 0) continue;
      const std::string name = Joined(folder->second, std::string(event->name, ::strnlen(event->name, event->len)));
      if ((event->mask & IN_ISDIR) != 0) {
        if ((event->mask & (IN_CREATE | IN_MOVED_TO)) != 0) AddFolder(name, &changed);
        continue;
      }
      // A file created empty is reported again when it is written and closed.
      if ((event->mask & IN_CREATE) != 0) continue;
      if (std::find(changed.begin(), changed.end(), name) == changed.end()) changed.push_back(name);
    }
  }
  return changed;
}

}  // namespace platform
