// The generated world through the demo's own loaders and frame: drift-preview loads the
// build's data set and renders every viewpoint; each picture must show a lit scene,
// not a black or blown-out frame. The pictures stay in build/preview for people to
// look at.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "assets/image.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace {

TEST(WorldPreview, EveryViewpointRendersALitPicture) {
  const std::string build = DRIFT_BINARY_DIR;
  if (!std::filesystem::exists(build + "/data/models/factory_hal.geo")) {
    GTEST_SKIP() << "no generated data set in this build";
  }
  const std::string out = build + "/preview";
  testing_support::ProcessOptions options;
  options.stdoutPath = build + "/preview_timings.txt";
  ASSERT_EQ(testing_support::RunCommand({build + "/drift-preview", "--data", build + "/data", "--out", out, "--frames", "1"},
                                        280, options),
            0)
      << testing_support::ReadFile(out + "/log.txt");
  int pictures = 0;
  for (const auto& entry : std::filesystem::directory_iterator(out)) {
    if (entry.path().extension() != ".png") continue;
    ++pictures;
    Image image;
    ASSERT_TRUE(DecodePng(entry.path().string(), image));
    // Mean brightness and how much of the frame is neither black nor white.
    const int channels = image.bitsPerPixel / 8;
    double sum = 0;
    std::size_t midtones = 0;
    const std::size_t count = static_cast<std::size_t>(image.width) * image.height;
    for (std::size_t i = 0; i < count; ++i) {
      const unsigned char* p = image.pixels.get() + i * static_cast<std::size_t>(channels);
      const int v = (p[0] + p[1] + p[2]) / 3;
      sum += v;
      if (v > 20 && v < 235) ++midtones;
    }
    const double mean = sum / static_cast<double>(count);
    EXPECT_GT(mean, 30.0) << entry.path().filename();
    EXPECT_LT(mean, 200.0) << entry.path().filename();
    EXPECT_GT(midtones, count / 2) << entry.path().filename();
  }
  EXPECT_GE(pictures, 12);
}

}  // namespace
