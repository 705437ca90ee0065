#pragma once
// Unpacking the data archive into the data folder.
#include <cstdint>
#include <string>
#include <vector>

// How much an archive may unpack to. The data set's largest file is a few megabytes and
// the whole set a few hundred; an archive that claims far more is damaged or forged (a
// zip bomb), and unpacking it would fill the disk.
struct UnpackLimits {
  std::uint64_t maxEntryBytes = 512ull << 20;
  std::uint64_t maxTotalBytes = 4ull << 30;
};

// Unpacks every entry of the zip archive at archivePath, in archive order, into
// dataFolder (a path ending in '/'). Folder entries (a trailing separator) are created;
// each file is inflated piece by piece straight to disk (so no entry is ever held in
// memory), under a temporary name that becomes the file's name, replacing an earlier
// file of that name, only once the entry's size and checksum are right. Backslashes in
// entry names separate folders, missing parent folders are created, and entries whose
// names would leave the data folder (absolute, "..") are refused. A damaged entry is not
// written at all.
//
// Entries are refused before anything is inflated when they declare more than the
// limits allow or than the disk has room for; an entry that inflates to more than it
// declares is stopped there.
//
// Every problem is one line in messages: a missing, unreadable or empty archive (then
// nothing is written), a refused entry, an entry that does not inflate, a file or
// folder that cannot be written. Returns true when every entry was unpacked.
bool UnpackArchive(const std::string& archivePath, const std::string& dataFolder,
                   std::vector<std::string>& messages, const UnpackLimits& limits = UnpackLimits());

// The relative path an entry name stands for inside the data folder: backslashes
// become '/', empty and "." parts are dropped. Empty when the name would leave the
// folder (absolute, a ".." part) or holds a zero byte, or names the folder itself.
std::string SafeEntryPath(const std::string& entryName);
