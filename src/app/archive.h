#pragma once
// Unpacking the data archive into the data folder.
#include <string>
#include <vector>

// Unpacks every entry of the zip archive at archivePath, in archive order, into
// dataFolder (a path ending in '/'). Folder entries (a trailing separator) are created;
// each file is inflated into memory and written in one piece, replacing an earlier file
// of that name. Backslashes in entry names separate folders, missing parent folders are
// created, and entries whose names would leave the data folder (absolute, "..") are
// refused. A damaged entry is not written at all.
//
// Every problem is one line in messages: a missing, unreadable or empty archive (then
// nothing is written), a refused entry, an entry that does not inflate, a file or
// folder that cannot be written. Returns true when every entry was unpacked.
bool UnpackArchive(const std::string& archivePath, const std::string& dataFolder,
                   std::vector<std::string>& messages);

// The relative path an entry name stands for inside the data folder: backslashes
// become '/', empty and "." parts are dropped. Empty when the name would leave the
// folder (absolute, a ".." part) or holds a zero byte, or names the folder itself.
std::string SafeEntryPath(const std::string& entryName);
