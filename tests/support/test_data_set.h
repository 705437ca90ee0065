#pragma once
// A small but complete data set for tests that play the demo: every file and name the
// program looks up, with tiny content (boxes and quads, 4x4 textures, a second of
// music), written with the project's own format writers and packed as the archive
// "demodat" the program unpacks. The world is laid out like the real one (the hall,
// the passage behind the doors, the robot at its release point, three cameras that cut
// at the scene changes), so the scenes play through the whole timeline.
#include <set>
#include <string>

namespace testing_support {

struct TestDataSetOptions {
  // Files, relative to the data folder ("models/boards.geo", "music/osprey.mp3"), that
  // are left out, for tests of what the program does without them.
  std::set<std::string> omit;
  // Length of the soundtrack (it loops).
  double musicSeconds = 1.0;
};

// Writes the data set into folder (created when missing). False, with error set, when
// a file cannot be written.
bool WriteTestDataSet(const std::string& folder, const TestDataSetOptions& options, std::string& error);

// Packs a folder into a zip archive the way the data archive is laid out: a folder
// entry before the files of each folder, names sorted, '/' separators.
bool PackDataFolder(const std::string& folder, const std::string& archive, std::string& error);

// A copy of the built program in binFolder with the test data set packed beside it as
// "demodat", ready to run.
bool PrepareTestDemo(const std::string& binFolder, const TestDataSetOptions& options, std::string& error);

// Where the test data set puts things the tests look at.
constexpr int kTestLoaderRgb[3] = {60, 30, 90};  // the colour of "loader.jpg"

}  // namespace testing_support
