#pragma once
// Splitting a path into folder, name and extension. Both '/' and '\' separate
// folders, so paths written either way split the same.
#include <string>

struct PathParts {
  std::string folder;     // up to and including the last separator
  std::string name;       // file name without the extension
  std::string extension;  // without the dot
};

PathParts SplitPath(const std::string& path);
