#include "base/path.h"

PathParts SplitPath(const std::string& path) {
  PathParts parts;
  if (path.empty()) return parts;
  const std::string::size_type separator = path.find_last_of("/\\");
  if (separator == std::string::npos) {
    parts.name = path;
  } else {
    parts.folder = path.substr(0, separator + 1);
    parts.name = path.substr(separator + 1);
  }
  // A leading dot belongs to the name (".hidden" has no extension).
  const std::string::size_type dot = parts.name.find_last_of('.');
  if (dot != std::string::npos && dot != 0) {
    parts.extension = parts.name.substr(dot + 1);
    parts.name.erase(dot);
  }
  return parts;
}
