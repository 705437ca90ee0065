// The flash and the grade on the generated data set, drawn by drift-capture's session:
// a flash is an accent that the picture survives (its mean luma rises a little, its
// contrast stays), and the grade keeps real blacks in the middle of the picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "anim/property_script.h"
#include "assets/image.h"
#include "capture/capture_session.h"
#include "capture/frame_grid.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 180;

// Rec.601 luma (0..255) of every pixel of a 24-bit picture.
std::vector<double> Lumas(const Image& picture) {
  std::vector<double> lumas;
  for (int y = 0; y < picture.height; ++y) {
    const unsigned char* row = picture.pixels.get() + static_cast<std::size_t>(y) * picture.RowBytes();
    for (int x = 0; x < picture.width; ++x) {
      lumas.push_back(0.299 * row[3 * x] + 0.587 * row[3 * x + 1] + 0.114 * row[3 * x + 2]);
    }
  }
  return lumas;
}

struct Tone {
  double mean = 0;
  double spread = 0;  // standard deviation: how much of the picture can still be told apart
};

Tone ToneOf(const Image& picture) {
  const std::vector<double> lumas = Lumas(picture);
  Tone tone;
  for (double l : lumas) tone.mean += l;
  tone.mean /= static_cast<double>(lumas.size());
  for (double l : lumas) tone.spread += (l - tone.mean) * (l - tone.mean);
  tone.spread = std::sqrt(tone.spread / static_cast<double>(lumas.size()));
  return tone;
}

// The 2nd-percentile luma of the middle half of width and height.
double CentreBlack(const Image& picture) {
  std::vector<double> lumas;
  for (int y = picture.height / 4; y < picture.height - picture.height / 4; ++y) {
    const unsigned char* row = picture.pixels.get() + static_cast<std::size_t>(y) * picture.RowBytes();
    for (int x = picture.width / 4; x < picture.width - picture.width / 4; ++x) {
      lumas.push_back(0.299 * row[3 * x] + 0.587 * row[3 * x + 1] + 0.114 * row[3 * x + 2]);
    }
  }
  std::sort(lumas.begin(), lumas.end());
  return lumas[static_cast<std::size_t>(0.02 * static_cast<double>(lumas.size() - 1))];
}

// The times at which the demo's signal track changes: each starts a flash.
std::vector<float> FlashTimes() { return SignalChangeTimes(*MakeSignalPair()); }

// The first grid frame whose timeline time reaches `seconds`, in the timeline's own
// steps: the capture clock's seconds as float milliseconds, back to float seconds.
long FirstFrameAt(const FrameGrid& grid, float seconds) {
  long frame = static_cast<long>(std::floor(static_cast<double>(seconds) * grid.fps)) - 1;
  auto timelineSeconds = [&](long k) {
    return static_cast<float>(grid.Seconds(k)) * 1000.0f / 1000.0f;
  };
  while (timelineSeconds(frame) < seconds) ++frame;
  return frame;
}

class FlashLook : public testing::Test {
 protected:
  void SetUp() override {
    archive_ = std::string(DRIFT_BINARY_DIR) + "/demodat";
    if (!std::filesystem::exists(archive_)) GTEST_SKIP() << "no generated data set in this build";
    std::string error;
    ASSERT_TRUE(session_.Open(archive_, kWidth, kHeight, grid_, error)) << error;
  }

  Image FrameAt(long frame) {
    session_.UpdateTo(frame);
    Image picture;
    EXPECT_TRUE(session_.Render(picture));
    return picture;
  }

  std::string archive_;
  FrameGrid grid_ = FrameGrid::ForSection(60, 0, 223);
  CaptureSession session_;
};

TEST_F(FlashLook, AFlashLiftsThePictureALittleAndKeepsItsContrast) {
  const std::vector<float> flashes = FlashTimes();
  ASSERT_EQ(flashes.size(), 144u);
  // The first flash in the hall, one on the glass wall, one in the dance: flashes that
  // fall on no camera cut, so the frame before shows the same shot.
  for (float time : {flashes[1], flashes[87], flashes[139]}) {
    const long frame = FirstFrameAt(grid_, time);
    const Tone before = ToneOf(FrameAt(frame - 1));
    const Tone during = ToneOf(FrameAt(frame));
    EXPECT_GT(during.mean - before.mean, 2.0) << "the flash at " << time << " s is seen";
    EXPECT_LE(during.mean - before.mean, 40.0) << "the flash at " << time << " s whites the picture out";
    EXPECT_GT(during.spread, 0.7 * before.spread) << "the flash at " << time << " s flattens the picture";
  }
  EXPECT_EQ(session_.GlErrors().errors, 0);
}

TEST_F(FlashLook, TheMiddleOfThePictureHasRealBlacks) {
  // One frame every 20 s over the timeline: single shots may be bright all over (the
  // glass wall), but most hold something black, and none of them is crushed to mud.
  std::vector<double> blacks, means;
  for (double seconds = 10.0; seconds < 221.0; seconds += 20.0) {
    const Image picture = FrameAt(grid_.Nearest(seconds));
    blacks.push_back(CentreBlack(picture));
    means.push_back(ToneOf(picture).mean);
  }
  auto median = [](std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
  };
  EXPECT_LE(median(blacks), 20.0);
  EXPECT_GE(median(means), 35.0);
}

}  // namespace
