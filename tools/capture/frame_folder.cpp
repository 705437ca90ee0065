#include "capture/frame_folder.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr char kSettingsFile[] = ".drift-capture";
constexpr char kPartSuffix[] = ".part";

std::string Settings(int width, int height, int fps) {
  std::ostringstream text;
  text << "size " << width << "x" << height << "\nfps " << fps << "\n";
  return text.str();
}

}  // namespace

bool FrameFolder::Open(const std::string& folder, int width, int height, int fps, bool resume, std::string& error) {
  folder_ = folder;
  std::error_code code;
  fs::create_directories(folder, code);
  if (!fs::is_directory(folder, code)) {
    error = "couldn't create the folder " + folder + (code ? ": " + code.message() : "");
    return false;
  }
  const std::string settingsPath = (fs::path(folder) / kSettingsFile).string();
  const std::string settings = Settings(width, height, fps);
  RemoveUnfinished();
  if (resume && fs::exists(settingsPath, code)) {
    std::ifstream in(settingsPath);
    std::stringstream stored;
    stored << in.rdbuf();
    if (stored.str() != settings) {
      error = "--resume into " + folder + ": its frames were captured with other settings (" +
              stored.str().substr(0, stored.str().find('\n')) + ", ...); give the same --size and --fps";
      return false;
    }
    return true;
  }
  std::ofstream out(settingsPath, std::ios::trunc);
  out << settings;
  if (!out.flush()) {
    error = "couldn't write to the folder " + folder;
    return false;
  }
  return true;
}

std::string FrameFolder::FileName(long frame) {
  char name[32];
  std::snprintf(name, sizeof name, "frame_%06ld.png", frame);
  return name;
}

std::string FrameFolder::PathOf(long frame) const { return (fs::path(folder_) / FileName(frame)).string(); }

bool FrameFolder::Has(long frame) const {
  std::error_code code;
  return fs::is_regular_file(PathOf(frame), code);
}

void FrameFolder::RemoveUnfinished() const {
  std::error_code code;
  std::vector<fs::path> unfinished;
  for (const auto& entry : fs::directory_iterator(folder_, code)) {
    if (entry.path().extension() == kPartSuffix) unfinished.push_back(entry.path());
  }
  for (const fs::path& path : unfinished) fs::remove(path, code);
}

long FrameFolder::FirstMissing(const FrameGrid& grid) const {
  long frame = grid.first;
  while (frame < grid.end && Has(frame)) ++frame;
  return frame;
}

bool FrameFolder::Write(long frame, const Image& picture, std::string& error) const {
  const std::string path = PathOf(frame);
  const std::string partial = path + kPartSuffix;
  if (!EncodePng(partial, picture, PngCompression::kFast)) {
    error = "couldn't write " + path;
    return false;
  }
  std::error_code code;
  fs::rename(partial, path, code);
  if (code) {
    fs::remove(partial, code);
    error = "couldn't write " + path + ": " + code.message();
    return false;
  }
  return true;
}
