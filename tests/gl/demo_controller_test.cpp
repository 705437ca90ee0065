// The controller on a GL context of its caller, drawing into an off-screen framebuffer
// on a clock the test steps: the loading screen, what a missing piece of content does
// to loading, and the demo played through its whole timeline.
#include "demo/demo_controller.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <set>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "assets/demo_content.h"
#include "assets/image.h"
#include "assets/model_file.h"
#include "offscreen_target.h"
#include "support/gl_test.h"
#include "support/temp_dir.h"
#include "support/test_data_set.h"

namespace {

using namespace testing_support;

class OffscreenDemo : public GlTest {
 protected:
  static constexpr int kWidth = 320;
  static constexpr int kHeight = 192;

  void SetUp() override {
    GlTest::SetUp();
    if (HasFatalFailure()) return;
    inDir_ = std::make_unique<ScopedWorkingDirectory>(dir_.Path());
    target_ = std::make_unique<OffscreenTarget>(kWidth, kHeight);
    ASSERT_TRUE(target_->Complete());
  }
  void TearDown() override {
    DemoController::Destroy();
    target_.reset();
    inDir_.reset();
    GlTest::TearDown();
  }

  // Writes the test data set (then lets the test change it), starts a controller on it
  // and returns what LoadContent returns.
  bool Load(const TestDataSetOptions& options = {}, const std::function<void(const std::string&)>& change = {}) {
    std::string error;
    EXPECT_TRUE(WriteTestDataSet(data_, options, error)) << error;
    if (change) change(data_);
    controller_ = DemoController::Instance();
    ControllerOptions controllerOptions;
    controllerOptions.clock = &clock_;
    controllerOptions.useCurrentContext = true;
    controllerOptions.outputFramebuffer = target_->Framebuffer();
    controller_->SetOptions(controllerOptions);
    EXPECT_TRUE(controller_->Init(kWidth, kHeight, 32, 0)) << Log();
    return controller_->LoadContent(data_ + "/");
  }

  std::string Log() const { return ReadFile(dir_.File("log.txt")); }

  // RGB of one pixel of the output (origin at the bottom left).
  std::vector<int> Pixel(int x, int y) const {
    const std::vector<std::uint8_t> pixels = target_->Pixels();
    const std::size_t i = (static_cast<std::size_t>(y) * kWidth + x) * 4;
    return {pixels[i], pixels[i + 1], pixels[i + 2]};
  }

  void SavePicture(const std::string& name) const {
    const std::vector<std::uint8_t> pixels = target_->Pixels();
    Image image = Image::Allocate(kWidth, kHeight, 32);
    std::copy(pixels.begin(), pixels.end(), image.pixels.get());
    EncodePng(std::string(DRIFT_BINARY_DIR) + "/Testing/" + name + ".png", image);
  }

  TempDir dir_;
  std::string data_ = dir_.File("data");
  std::unique_ptr<ScopedWorkingDirectory> inDir_;
  std::unique_ptr<OffscreenTarget> target_;
  FixedClock clock_;
  DemoController* controller_ = nullptr;
};

void ExpectNear(const std::vector<int>& actual, const int (&expected)[3], int tolerance) {
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(actual[c], expected[c], tolerance) << "channel " << c;
}

const int kBarRgb[3] = {22, 160, 252};
const int kBlack[3] = {0, 0, 0};

TEST_F(OffscreenDemo, TheLoadingScreenShowsThePictureWithTheBar) {
  Load();
  // The last loading frame stays until the first demo frame replaces it.
  const LoadingBar bar = LoadingBarAt(kWidth, kHeight, 1, 1);
  ASSERT_EQ(bar.y1, bar.y0 + 1);
  ExpectNear(Pixel((bar.x0 + bar.x1) / 2, bar.y0), kBarRgb, 0);
  ExpectNear(Pixel(bar.x0, bar.y0), kBarRgb, 0);
  ExpectNear(Pixel(bar.x1 - 1, bar.y0), kBarRgb, 0);
  ExpectNear(Pixel(bar.x1 + 1, bar.y0), kTestLoaderRgb, 6);
  ExpectNear(Pixel(bar.x0 - 1, bar.y0), kTestLoaderRgb, 6);
  ExpectNear(Pixel(kWidth / 2, bar.y1), kTestLoaderRgb, 6);
  ExpectNear(Pixel(kWidth / 2, kHeight - 1), kTestLoaderRgb, 6);
  EXPECT_GT(controller_->Loading().Done(), 0);
  EXPECT_GE(controller_->Loading().Done(), controller_->Loading().Total());
}

TEST_F(OffscreenDemo, WithoutItsPictureTheLoadingScreenIsBlackWithTheBar) {
  TestDataSetOptions options;
  options.omit = {"loader.jpg"};
  Load(options);
  const LoadingBar bar = LoadingBarAt(kWidth, kHeight, 1, 1);
  ExpectNear(Pixel((bar.x0 + bar.x1) / 2, bar.y0), kBarRgb, 0);
  ExpectNear(Pixel(kWidth / 2, kHeight / 2), kBlack, 0);
  EXPECT_NE(Log().find("loader.jpg: the loading screen is black"), std::string::npos) << Log();
}

struct MissingPiece {
  const char* file;  // left out of the data set
  const char* line;  // what the log must say
};

class MissingContent : public OffscreenDemo, public ::testing::WithParamInterface<MissingPiece> {};

TEST_P(MissingContent, LoadingFailsWithOneLineNamingIt) {
  TestDataSetOptions options;
  options.omit = {GetParam().file};
  EXPECT_FALSE(Load(options));
  const std::string log = Log();
  EXPECT_NE(log.find(GetParam().line), std::string::npos) << log;
  controller_->Shutdown();
  controller_->Shutdown();
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

INSTANTIATE_TEST_SUITE_P(
    Controller, MissingContent,
    ::testing::Values(MissingPiece{"models/doors.geo", "error: model 'doors' wasn't found\n"},
                      MissingPiece{"animations/doors.ani", "error: animation 'doors' wasn't found\n"},
                      MissingPiece{"textures/soon.png", "error: texture 'soon' wasn't found\n"},
                      MissingPiece{"models/boards.geo", "error: model 'boards' wasn't found\n"},
                      MissingPiece{"models/factory_passage.geo", "error: model 'factory_passage' wasn't found\n"},
                      MissingPiece{"models/robot_head.geo", "robot_head"},
                      MissingPiece{"animations/cameras.ani", "error: animation 'cameras' wasn't found\n"},
                      MissingPiece{"cameras/cameras.cam", "cameras/cameras.cam"},
                      MissingPiece{"textures/mask.png", "error: texture 'mask' wasn't found\n"}),
    [](const auto& info) {
      std::string name;
      for (const char* c = info.param.file; *c != '\0'; ++c) name += std::isalnum(*c) ? *c : '_';
      return name;
    });

// Distinct colours among every seventh pixel of the output.
std::size_t ColourCount(const std::vector<std::uint8_t>& pixels) {
  std::set<std::uint32_t> colours;
  for (std::size_t i = 0; i < pixels.size(); i += 4 * 7) colours.insert(pixels[i] | pixels[i + 1] << 8 | pixels[i + 2] << 16);
  return colours.size();
}

// Boards whose index and opacity are the given constants.
std::function<void(const std::string&)> ConstantBoard(int index) {
  return [index](const std::string& data) {
    model_file::ModelData boards;
    boards.hasHeader = true;
    boards.version = 1;
    boards.meshes.resize(1);
    model_file::NodeValue indexValue;
    indexValue.name = "board_index";
    indexValue.type = model_file::kInt;
    indexValue.intValue = index;
    model_file::NodeValue opacity;
    opacity.name = "board_opacity";
    opacity.type = model_file::kFloat;
    opacity.floatValue = 1.0f;
    boards.meshes[0].values = {indexValue, opacity};
    std::string error;
    ASSERT_TRUE(model_file::WriteFile(data + "/models/boards.geo", boards, error)) << error;
  };
}

TEST_F(OffscreenDemo, ABoardIndexOutsideTheFourBoardsShowsNoBoard) {
  for (int index : {3, 4}) {
    ASSERT_TRUE(Load({}, ConstantBoard(index))) << Log();
    ASSERT_TRUE(controller_->Prepare());
    controller_->Update(40000.0f, 40.0f);
    controller_->Update(40000.0f, 1000.0f);  // the flash of the first frame's signal fades
    controller_->Render(40000.0f, 40.0f);
    EXPECT_EQ(controller_->Timeline().BoardIndex(), index);
    // An opaque board covers the whole picture with its one colour.
    const std::size_t colours = ColourCount(target_->Pixels());
    if (index == 3) {
      EXPECT_EQ(colours, 1u);
    } else {
      EXPECT_GT(colours, 20u);
    }
    DemoController::Destroy();
  }
}

TEST_F(OffscreenDemo, BoardsWithoutTheirTracksFailLoading) {
  EXPECT_FALSE(Load({}, [](const std::string& data) {
    model_file::ModelData boards;
    boards.hasHeader = true;
    boards.version = 1;
    boards.meshes.resize(1);
    std::string error;
    ASSERT_TRUE(model_file::WriteFile(data + "/models/boards.geo", boards, error)) << error;
  }));
  EXPECT_NE(Log().find("error: node value 'board_index' wasn't found in model 'boards'\n"), std::string::npos)
      << Log();
}

}  // namespace

namespace {

// Plays the test data set frame by frame at 25 frames a second and renders the frames
// at the given times; checks each with `check`.
class PlayedDemo : public OffscreenDemo {
 protected:
  void SetUp() override {
    OffscreenDemo::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(Load()) << Log();
    ASSERT_TRUE(controller_->Prepare()) << Log();
  }
  // Advances the clock and the frame loop's time to seconds, one update per frame.
  void PlayTo(double seconds) {
    for (; frame_ * kStep <= seconds; ++frame_) {
      const double t = frame_ * kStep;
      clock_.Set(t);
      controller_->Update(static_cast<float>(t * 1000.0), static_cast<float>(kStep * 1000.0));
    }
  }
  static constexpr double kStep = 0.04;
  long frame_ = 0;
};

TEST_F(PlayedDemo, ScenesAndCamerasFollowTheTimeline) {
  PlayTo(60.0);
  const IScene* assembling = controller_->Timeline().CurrentScene();
  ASSERT_NE(assembling, nullptr);
  EXPECT_TRUE(controller_->Slots()[0].enabled) << "the hall";
  EXPECT_FALSE(controller_->Slots()[3].enabled) << "the robot lies until its release";
  const ICamera* hallCamera = controller_->Timeline().CurrentCamera();

  PlayTo(150.0);
  EXPECT_NE(controller_->Timeline().CurrentScene(), assembling) << "the breaking-wall scene";
  EXPECT_NE(controller_->Timeline().CurrentCamera(), hallCamera);
  EXPECT_TRUE(controller_->Slots()[3].enabled) << "the robot runs";

  PlayTo(210.0);
  EXPECT_EQ(controller_->Timeline().CurrentScene(), assembling) << "back for the dance";
  EXPECT_FALSE(controller_->Timeline().MusicEnded());

  PlayTo(224.0);
  EXPECT_TRUE(controller_->Timeline().MusicEnded());
  controller_->Update(250000.0f, 40.0f);
  EXPECT_FLOAT_EQ(controller_->Timeline().TimeMs(), 250000.0f) << "the frame clock after the music";
}

TEST_F(PlayedDemo, RendersAPictureAtEveryPartOfTheTimeline) {
  for (double seconds : {10.0, 60.0, 113.0, 150.0, 215.0}) {
    PlayTo(seconds);
    ASSERT_TRUE(controller_->Render(0.0f, 40.0f));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << seconds;
    SavePicture("demo_" + std::to_string(static_cast<int>(seconds)));
    // The picture shows the world: neither one flat colour nor the loading screen.
    EXPECT_GT(ColourCount(target_->Pixels()), 20u) << seconds;
    const LoadingBar bar = LoadingBarAt(kWidth, kHeight, 1, 1);
    EXPECT_NE(Pixel((bar.x0 + bar.x1) / 2, bar.y0), (std::vector<int>{22, 160, 252})) << seconds;
  }
}

TEST_F(PlayedDemo, EditingKeysWriteTheTimelineTimeAndTheView) {
  PlayTo(12.0);
  controller_->Click();
  controller_->Key('B');
  controller_->Key('L');
  const std::string log = Log();
  EXPECT_NE(log.find("changeGreetzProp->SetValue(1, 12.0000);\nm_fovAnim->SetValue(1, 12.0000);\nLight\n"),
            std::string::npos)
      << log;
  char line[64];
  std::snprintf(line, sizeof(line), "lightTransform.a[14] = %.4ff;\n", controller_->Timeline().View().a[14]);
  EXPECT_NE(log.find(line), std::string::npos) << log;
}

TEST_F(PlayedDemo, ShutdownReleasesEverythingOnce) {
  PlayTo(1.0);
  controller_->Render(0.0f, 40.0f);
  controller_->Shutdown();
  EXPECT_FALSE(DemoContent::Exists());
  controller_->Shutdown();
  EXPECT_TRUE(controller_->Update(2000.0f, 40.0f));
  EXPECT_TRUE(controller_->Render(2000.0f, 40.0f));
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
