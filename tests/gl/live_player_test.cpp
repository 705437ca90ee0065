// drift-live driven as a script drives it, through its command channel, on the small
// test data set: the pictures after seeks forward and back and after frame steps are
// drift-capture's frames at the same times, pause holds the picture, a loop wraps, a
// changed texture shows after the reload and the restored file restores the picture
// exactly, a broken effect keeps the last picture and the fixed one recovers, and bad
// commands are answered with error lines.
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "assets/image.h"
#include "assets/material.h"
#include "support/process.h"
#include "support/temp_dir.h"
#include "support/test_data_set.h"

namespace {

using namespace testing_support;
namespace fs = std::filesystem;

const std::string kLive = std::string(DRIFT_BINARY_DIR) + "/drift-live";
const std::string kCapture = std::string(DRIFT_BINARY_DIR) + "/drift-capture";
constexpr char kSize[] = "160x96";

// drift-live with a pipe to its standard input and one from its standard output.
class LiveProcess {
 public:
  LiveProcess(const std::vector<std::string>& argv, const std::string& workingDirectory) {
    int in[2];
    int out[2];
    if (pipe(in) != 0 || pipe(out) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(in[0], 0);
      dup2(out[1], 1);
      close(in[1]);
      close(out[0]);
      if (chdir(workingDirectory.c_str()) != 0) _exit(127);
      setenv("SDL_AUDIODRIVER", "dummy", 1);
      std::vector<char*> args;
      for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
      args.push_back(nullptr);
      execv(args[0], args.data());
      _exit(127);
    }
    close(in[0]);
    close(out[1]);
    toChild_ = in[1];
    fromChild_ = out[0];
  }
  ~LiveProcess() {
    if (toChild_ >= 0) close(toChild_);
    if (fromChild_ >= 0) close(fromChild_);
    if (pid_ > 0 && !Ended(2.0)) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  LiveProcess(const LiveProcess&) = delete;
  LiveProcess& operator=(const LiveProcess&) = delete;

  // Sends a command and returns its answer ("" when none came in time).
  std::string Send(const std::string& command, double timeoutSeconds = 120.0) {
    const std::string line = command + "\n";
    if (write(toChild_, line.data(), line.size()) != static_cast<ssize_t>(line.size())) return "";
    return ReadLine(timeoutSeconds);
  }

  std::string ReadLine(double timeoutSeconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    for (;;) {
      const std::size_t end = buffered_.find('\n');
      if (end != std::string::npos) {
        std::string line = buffered_.substr(0, end);
        buffered_.erase(0, end + 1);
        return line;
      }
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return "";
      pollfd descriptor{fromChild_, POLLIN, 0};
      if (poll(&descriptor, 1, static_cast<int>(left.count())) <= 0) continue;
      char chunk[4096];
      const ssize_t got = read(fromChild_, chunk, sizeof chunk);
      if (got <= 0) return "";
      buffered_.append(chunk, static_cast<std::size_t>(got));
    }
  }

  void CloseInput() {
    if (toChild_ >= 0) close(toChild_);
    toChild_ = -1;
  }

  // True when the player ended within the time; its status in ExitCode().
  bool Ended(double timeoutSeconds) {
    if (ended_) return true;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    do {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        ended_ = true;
        exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return true;
      }
      SleepSeconds(0.02);
    } while (std::chrono::steady_clock::now() < deadline);
    return false;
  }
  int ExitCode() const { return exitCode_; }

 private:
  pid_t pid_ = -1;
  int toChild_ = -1;
  int fromChild_ = -1;
  std::string buffered_;
  bool ended_ = false;
  int exitCode_ = -1;
};

bool IsOk(const std::string& answer, const std::string& what) { return answer.rfind("ok " + what + " ", 0) == 0; }

// The time an "ok" answer reports.
double AnswerTime(const std::string& answer) {
  std::istringstream in(answer);
  std::string ok, what;
  double seconds = -1.0;
  in >> ok >> what >> seconds;
  return seconds;
}

std::vector<unsigned char> Pixels(const std::string& path) {
  Image image;
  if (!DecodePng(path, image) || image.pixels == nullptr) return {};
  const std::size_t size = static_cast<std::size_t>(image.width) * image.height * (image.bitsPerPixel / 8);
  return std::vector<unsigned char>(image.pixels.get(), image.pixels.get() + size);
}

class LivePlayer : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(WriteTestDataSet(data_, TestDataSetOptions(), error)) << error;
    ASSERT_TRUE(PackDataFolder(data_, archive_, error)) << error;
    fs::create_directories(tmp_);
  }

  std::unique_ptr<LiveProcess> Start(std::vector<std::string> extra = {}) {
    std::vector<std::string> argv = {kLive, "--data", data_, "--size", kSize, "--paused", "--commands"};
    argv.insert(argv.end(), extra.begin(), extra.end());
    auto live = std::make_unique<LiveProcess>(argv, work_.Path());
    // The first answer tells that loading is over.
    EXPECT_TRUE(IsOk(live->Send("time"), "time"));
    return live;
  }

  // drift-capture's frame nearest to seconds, at the same size and 60 frames a second.
  std::string CaptureFrame(double seconds) {
    const long frame = std::lround(seconds * 60.0);
    const std::string folder = work_.File("capture_" + std::to_string(frame));
    ProcessOptions options;
    options.workingDirectory = work_.Path();
    options.setEnv["TMPDIR"] = tmp_;
    options.stderrPath = work_.File("capture_stderr.txt");
    char from[32];
    char to[32];
    std::snprintf(from, sizeof from, "%.6f", frame / 60.0);
    std::snprintf(to, sizeof to, "%.6f", (frame + 1) / 60.0);
    EXPECT_EQ(RunCommand({kCapture, "--data", archive_, "--size", kSize, "--from", from, "--to", to, folder}, 240,
                         options),
              0)
        << ReadFile(work_.File("capture_stderr.txt"));
    char name[32];
    std::snprintf(name, sizeof name, "/frame_%06ld.png", frame);
    return folder + name;
  }

  std::string Shot(LiveProcess& live, const std::string& name) {
    const std::string path = work_.File(name);
    EXPECT_TRUE(IsOk(live.Send("shot " + path), "shot")) << name;
    return path;
  }

  TempDir work_;
  std::string data_ = work_.File("data");
  std::string archive_ = work_.File("demodat");
  std::string tmp_ = work_.File("tmp");
};

TEST_F(LivePlayer, SeeksForwardAndBackShowDriftCapturesFrames) {
  auto live = Start();
  // Forward to the dance, back to the welding, forward over the break, a frame on and
  // back again: every picture is the capture's frame at that time.
  const std::vector<std::pair<std::string, double>> steps = {
      {"seek 200", 200.0}, {"seek 10", 10.0}, {"seek 167", 167.0}, {"step 1", 167.0 + 1.0 / 60.0},
      {"step -2", 167.0 - 1.0 / 60.0}, {"seek 110", 110.0}};
  int n = 0;
  for (const auto& [command, seconds] : steps) {
    const std::string answer = live->Send(command);
    ASSERT_TRUE(answer.rfind("ok ", 0) == 0) << command << ": " << answer;
    EXPECT_NEAR(AnswerTime(answer), seconds, 1e-3) << answer;
    const std::string shot = Shot(*live, "live_" + std::to_string(n++) + ".png");
    const std::vector<unsigned char> expected = Pixels(CaptureFrame(seconds));
    ASSERT_FALSE(expected.empty());
    EXPECT_TRUE(Pixels(shot) == expected) << command << " differs from drift-capture's frame";
  }
  EXPECT_TRUE(IsOk(live->Send("quit"), "quit"));
  ASSERT_TRUE(live->Ended(30));
  EXPECT_EQ(live->ExitCode(), 0);
}

TEST_F(LivePlayer, PauseHoldsThePictureAndALoopWraps) {
  auto live = Start();
  ASSERT_TRUE(IsOk(live->Send("seek 50"), "seek"));
  ASSERT_TRUE(IsOk(live->Send("play"), "play"));
  SleepSeconds(0.6);
  const std::string paused = live->Send("pause");
  ASSERT_TRUE(IsOk(paused, "pause"));
  EXPECT_GT(AnswerTime(paused), 50.0);
  const std::string first = Shot(*live, "paused_a.png");
  SleepSeconds(0.5);
  const std::string second = Shot(*live, "paused_b.png");
  EXPECT_TRUE(Pixels(first) == Pixels(second));
  EXPECT_DOUBLE_EQ(AnswerTime(live->Send("time")), AnswerTime(paused));
  // Paused, the picture is the grid frame's.
  EXPECT_TRUE(Pixels(first) == Pixels(CaptureFrame(AnswerTime(paused))));

  ASSERT_TRUE(IsOk(live->Send("loop 20 20.4"), "loop"));
  EXPECT_NEAR(AnswerTime(live->Send("time")), 20.0, 1e-3);  // outside the loop: to its start
  ASSERT_TRUE(IsOk(live->Send("play"), "play"));
  double latest = 0.0;
  for (int i = 0; i < 8; ++i) {
    SleepSeconds(0.2);
    latest = AnswerTime(live->Send("time"));
    EXPECT_GE(latest, 20.0 - 1e-3);
    EXPECT_LE(latest, 20.4 + 0.1);  // a frame may overshoot before it wraps
  }
  ASSERT_TRUE(IsOk(live->Send("loop off"), "loop-off"));
  EXPECT_TRUE(IsOk(live->Send("quit"), "quit"));
}

TEST_F(LivePlayer, AChangedTextureShowsAndTheRestoredFileRestoresThePicture) {
  auto live = Start();
  ASSERT_TRUE(IsOk(live->Send("seek 30"), "seek"));
  const std::vector<unsigned char> before = Pixels(Shot(*live, "before.png"));
  const std::string mask = data_ + "/textures/mask.png";
  const std::string original = ReadFile(mask);

  // A saved edit: the player sees it on its own, without a command.
  Image red = Image::Allocate(4, 4, 32);
  for (int i = 0; i < 16; ++i) {
    unsigned char* p = red.pixels.get() + i * 4;
    p[0] = 255, p[1] = 0, p[2] = 0, p[3] = 255;
  }
  ASSERT_TRUE(EncodePng(mask, red));
  std::vector<unsigned char> changed;
  for (int i = 0; i < 100 && (changed.empty() || changed == before); ++i) {
    SleepSeconds(0.1);
    changed = Pixels(Shot(*live, "changed.png"));
  }
  ASSERT_FALSE(changed.empty());
  EXPECT_TRUE(changed != before) << "the changed mask never showed";
  EXPECT_NEAR(AnswerTime(live->Send("time")), 30.0, 1e-3);  // the same time after the reload

  WriteFile(mask, original);
  std::vector<unsigned char> restored;
  for (int i = 0; i < 100 && restored != before; ++i) {
    SleepSeconds(0.1);
    restored = Pixels(Shot(*live, "restored.png"));
  }
  EXPECT_TRUE(restored == before) << "the restored mask did not restore the picture";
  EXPECT_TRUE(IsOk(live->Send("quit"), "quit"));
}

// The title board covers the picture at 4 s. A texture alone goes into the loaded
// content in place: no loading, and the restored file restores the picture exactly.
TEST_F(LivePlayer, AChangedBoardTextureGoesInPlace) {
  auto live = Start();
  ASSERT_TRUE(IsOk(live->Send("seek 4"), "seek"));
  const std::vector<unsigned char> before = Pixels(Shot(*live, "board_before.png"));
  const std::string board = data_ + "/textures/title1.png";
  const std::string original = ReadFile(board);
  Image white = Image::Allocate(4, 4, 32);
  for (int i = 0; i < 64; ++i) white.pixels[static_cast<std::size_t>(i)] = 255;
  ASSERT_TRUE(EncodePng(board, white));
  std::vector<unsigned char> changed;
  for (int i = 0; i < 100 && (changed.empty() || changed == before); ++i) {
    SleepSeconds(0.1);
    changed = Pixels(Shot(*live, "board_changed.png"));
  }
  EXPECT_TRUE(changed != before) << "the changed board never showed";
  EXPECT_NE(ReadFile(work_.File("log.txt")).find("in place"), std::string::npos);

  WriteFile(board, original);
  std::vector<unsigned char> restored;
  for (int i = 0; i < 100 && restored != before; ++i) {
    SleepSeconds(0.1);
    restored = Pixels(Shot(*live, "board_restored.png"));
  }
  EXPECT_TRUE(restored == before) << "the restored board did not restore the picture";
  EXPECT_NEAR(AnswerTime(live->Send("time")), 4.0, 1e-3);
  EXPECT_TRUE(IsOk(live->Send("quit"), "quit"));
}

// An effect alone is compiled into the loaded one: the values set on it so far go
// over, so restoring the file restores the picture exactly.
TEST_F(LivePlayer, AnEditedEffectGoesInPlace) {
  auto live = Start();
  ASSERT_TRUE(IsOk(live->Send("seek 60"), "seek"));
  const std::vector<unsigned char> before = Pixels(Shot(*live, "effect_before.png"));
  const std::string effect = data_ + "/effects/post_process.cfx";
  const std::string original = ReadFile(effect);
  std::string white = original;
  const std::size_t at = white.find("gl_FragColor = vec4(color, 1.0);");
  ASSERT_NE(at, std::string::npos);
  white.replace(at, std::string("gl_FragColor = vec4(color, 1.0);").size(), "gl_FragColor = vec4(1.0);");
  WriteFile(effect, white);
  ASSERT_TRUE(IsOk(live->Send("reload"), "reload"));
  const std::vector<unsigned char> changed = Pixels(Shot(*live, "effect_white.png"));
  EXPECT_TRUE(changed != before);
  EXPECT_NE(ReadFile(work_.File("log.txt")).find("in place"), std::string::npos);
  WriteFile(effect, original);
  ASSERT_TRUE(IsOk(live->Send("reload"), "reload"));
  EXPECT_TRUE(Pixels(Shot(*live, "effect_restored.png")) == before);
  EXPECT_NEAR(AnswerTime(live->Send("time")), 60.0, 1e-3);
  EXPECT_TRUE(IsOk(live->Send("quit"), "quit"));
}

// Materials go into the loaded content in place too. The test data set has none, so
// this one plays a copy of the generated data set (skipped in builds without it):
// every material's colours darkened show at once, and the restored files restore the
// picture exactly.
TEST(LivePlayerOnTheDataSet, ChangedMaterialsGoInPlace) {
  const std::string generated = std::string(DRIFT_BINARY_DIR) + "/data";
  if (!fs::exists(generated + "/materials")) GTEST_SKIP() << "no generated data set in this build";
  TempDir work;
  const std::string data = work.File("data");
  fs::copy(generated, data, fs::copy_options::recursive);
  LiveProcess live({kLive, "--data", data, "--size", "320x180", "--paused", "--commands"}, work.Path());
  ASSERT_TRUE(IsOk(live.Send("seek 30"), "seek"));
  const std::string beforePath = work.File("before.png");
  ASSERT_TRUE(IsOk(live.Send("shot " + beforePath), "shot"));
  const std::vector<unsigned char> before = Pixels(beforePath);

  std::map<std::string, std::string> originals;
  for (const auto& entry : fs::directory_iterator(data + "/materials")) {
    const std::string path = entry.path().string();
    originals[path] = ReadFile(path);
    std::string error;
    std::unique_ptr<Material> material = ReadMaterialFile(path, error);
    ASSERT_NE(material, nullptr) << error;
    for (float* colour : {material->ambient, material->diffuse, material->emissive}) {
      for (int c = 0; c < 3; ++c) colour[c] *= 0.25f;
    }
    ASSERT_TRUE(WriteMaterialFile(path, *material, error)) << error;
  }
  ASSERT_TRUE(IsOk(live.Send("reload"), "reload"));
  const std::string darkPath = work.File("dark.png");
  ASSERT_TRUE(IsOk(live.Send("shot " + darkPath), "shot"));
  EXPECT_TRUE(Pixels(darkPath) != before);
  EXPECT_NE(ReadFile(work.File("log.txt")).find("in place"), std::string::npos);

  for (const auto& [path, bytes] : originals) WriteFile(path, bytes);
  ASSERT_TRUE(IsOk(live.Send("reload"), "reload"));
  const std::string restoredPath = work.File("restored.png");
  ASSERT_TRUE(IsOk(live.Send("shot " + restoredPath), "shot"));
  EXPECT_TRUE(Pixels(restoredPath) == before);
  EXPECT_TRUE(IsOk(live.Send("quit"), "quit"));
}

TEST_F(LivePlayer, ABrokenEffectKeepsTheLastPictureUntilItIsFixed) {
  auto live = Start();
  ASSERT_TRUE(IsOk(live->Send("seek 60"), "seek"));
  const std::vector<unsigned char> before = Pixels(Shot(*live, "before.png"));
  const std::string effect = data_ + "/effects/post_process.cfx";
  const std::string original = ReadFile(effect);
  WriteFile(effect, original + "\nthis is not an effect {{{\n");

  const std::string failed = live->Send("reload");
  EXPECT_EQ(failed.rfind("error ", 0), 0u) << failed;
  EXPECT_NE(failed.find("post_process.cfx"), std::string::npos) << failed;
  EXPECT_TRUE(Pixels(Shot(*live, "kept.png")) == before);
  EXPECT_NE(ReadFile(work_.File("log.txt")).find("post_process.cfx"), std::string::npos);

  WriteFile(effect, original);
  EXPECT_TRUE(IsOk(live->Send("reload"), "reload"));
  EXPECT_NEAR(AnswerTime(live->Send("time")), 60.0, 1e-3);
  EXPECT_TRUE(Pixels(Shot(*live, "recovered.png")) == before);
  EXPECT_TRUE(IsOk(live->Send("quit"), "quit"));
}

TEST_F(LivePlayer, BadCommandsAreAnsweredWithErrors) {
  auto live = Start();
  for (const char* command : {"jump 10", "seek", "seek -1", "seek 1000", "step x", "loop 5 1", "shot",
                              "shot /nonexistent/folder/x.png", "seek nan"}) {
    const std::string answer = live->Send(command);
    EXPECT_EQ(answer.rfind("error ", 0), 0u) << command << ": " << answer;
  }
  EXPECT_TRUE(IsOk(live->Send("time"), "time"));
  // The end of the input ends the player, as quit does.
  live->CloseInput();
  ASSERT_TRUE(live->Ended(30));
  EXPECT_EQ(live->ExitCode(), 0);

  // An archive is unpacked into a private folder, played, and the folder removed.
  LiveProcess fromArchive({kLive, "--data", archive_, "--size", kSize, "--paused", "--commands"}, work_.Path());
  EXPECT_TRUE(IsOk(fromArchive.Send("seek 12"), "seek"));
  EXPECT_TRUE(IsOk(fromArchive.Send("quit"), "quit"));
  ASSERT_TRUE(fromArchive.Ended(30));
  EXPECT_EQ(fromArchive.ExitCode(), 0);
}

TEST_F(LivePlayer, RefusesAMissingDataFolder) {
  ProcessOptions options;
  options.workingDirectory = work_.Path();
  options.stderrPath = work_.File("stderr.txt");
  EXPECT_EQ(RunCommand({kLive, "--data", work_.File("nothing"), "--paused"}, 60, options), 1);
  EXPECT_NE(ReadFile(work_.File("stderr.txt")).find("nothing"), std::string::npos);
  EXPECT_EQ(RunCommand({kLive, "--size", "12"}, 60, options), 2);
  EXPECT_EQ(RunCommand({kLive, "--help"}, 60, options), 0);
}

}  // namespace
