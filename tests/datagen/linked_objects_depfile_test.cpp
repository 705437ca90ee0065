// The script that lists what the generated data set depends on: the build's own object
// files that went into drift-datagen according to the link map, with a fallback that
// can only make the data set again more often, never less.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>

#include "support/process.h"
#include "support/temp_dir.h"

namespace {

using testing_support::ReadFile;
using testing_support::WriteFile;

class LinkedObjectsDepfile : public ::testing::Test {
 protected:
  void Touch(const std::string& relative) {
    std::filesystem::create_directories(std::filesystem::path(build_ + "/" + relative).parent_path());
    WriteFile(build_ + "/" + relative, "");
  }

  // Runs the script over the map; the inputs it names for the data set.
  std::set<std::string> Inputs(const std::string& map) {
    const std::string depfile = dir_.File("data.d");
    EXPECT_EQ(testing_support::RunCommand(
                  {DRIFT_CMAKE_COMMAND, "-DMAP=" + map, "-DBUILD_DIR=" + build_, "-DPROGRAM=" + build_ + "/drift-datagen",
                   "-DOUTPUT=" + build_ + "/demodat", "-DDEPFILE=" + depfile, "-P",
                   std::string(DRIFT_SOURCE_DIR) + "/tools/datagen/linked_objects_depfile.cmake"}),
              0);
    std::istringstream words(ReadFile(depfile));
    std::string word;
    words >> word;
    EXPECT_EQ(word, build_ + "/demodat:");
    std::set<std::string> inputs;
    while (words >> word) {
      if (word != "\\") inputs.insert(word);
    }
    return inputs;
  }

  testing_support::TempDir dir_;
  std::string build_ = dir_.File("build");
};

TEST_F(LinkedObjectsDepfile, NamesTheLinkedObjectsOfTheBuildAndNothingElse) {
  Touch("src/scenes/CMakeFiles/drift_scenes.dir/frames.cpp.o");
  Touch("src/scenes/CMakeFiles/drift_scenes.dir/robot.cpp.o");  // in the library, not linked
  Touch("tools/datagen/CMakeFiles/drift_datagen.dir/texture/noise.cpp.o");
  Touch("tools/datagen/CMakeFiles/drift_datagen.dir/music/synth/noise.cpp.o");
  Touch("tools/datagen/CMakeFiles/drift-datagen.dir/main.cpp.o");
  const std::string map = dir_.File("drift-datagen.map");
  WriteFile(map,
            "Archive member included to satisfy reference by file (symbol)\n\n"
            "tools/datagen/libdrift_datagen.a(noise.cpp.o)\n"
            "                              tools/datagen/CMakeFiles/drift-datagen.dir/main.cpp.o (Noise)\n"
            "src/scenes/libdrift_scenes.a(frames.cpp.o)\n"
            "                              tools/datagen/libdrift_datagen.a(noise.cpp.o) (LookAt(sm::Vec3 const&))\n"
            "src/assets/libdrift_assets.a(image.cpp.o)\n"
            "                              src/scenes/libdrift_scenes.a(frames.cpp.o) (Image::Allocate(int, int))\n"
            "/usr/lib/x86_64-linux-gnu/libc_nonshared.a(atexit.o)\n"
            "                              /usr/lib/crt1.o (atexit)\n\n"
            "LOAD /usr/lib/x86_64-linux-gnu/crt1.o\n"
            "LOAD tools/datagen/CMakeFiles/drift-datagen.dir/main.cpp.o\n"
            "LOAD tools/datagen/libdrift_datagen.a\n"
            " .text 0x1000 0x20 src/scenes/libdrift_scenes.a(frames.cpp.o)\n");
  EXPECT_EQ(Inputs(map), (std::set<std::string>{
                             build_ + "/src/scenes/CMakeFiles/drift_scenes.dir/frames.cpp.o",
                             // Two members of one name: both count.
                             build_ + "/tools/datagen/CMakeFiles/drift_datagen.dir/music/synth/noise.cpp.o",
                             build_ + "/tools/datagen/CMakeFiles/drift_datagen.dir/texture/noise.cpp.o",
                             build_ + "/tools/datagen/CMakeFiles/drift-datagen.dir/main.cpp.o",
                             // A member without its object file: the whole archive.
                             build_ + "/src/assets/libdrift_assets.a",
                         }));
}

TEST_F(LinkedObjectsDepfile, WithoutAReadableMapTheProgramItselfCounts) {
  EXPECT_EQ(Inputs(dir_.File("missing.map")), (std::set<std::string>{build_ + "/drift-datagen"}));
  WriteFile(dir_.File("other.map"), "a map of a linker this script does not know\n");
  EXPECT_EQ(Inputs(dir_.File("other.map")), (std::set<std::string>{build_ + "/drift-datagen"}));
}

}  // namespace
