// From Start to the first frame, side by side with the floor of the data: the time to
// unpack the archive and decode every image it holds on one thread. The ratio of the
// two is what start-up work beyond the data costs. Runs the demo's own full-screen
// window, so it needs a display (xvfb-run), and the generated archive.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "app/archive.h"
#include "app/data_folder.h"
#include "assets/image.h"
#include "assets/texture.h"
#include "demo/demo_controller.h"
#include "platform/gl.h"

namespace {

const std::string kArchive = std::string(DRIFT_BINARY_DIR) + "/demodat";

bool IsImage(const std::filesystem::path& path) {
  const std::string extension = path.extension().string();
  return extension == ".png" || extension == ".jpg";
}

class Phases {
 public:
  void Mark(const char* name) {
    const auto now = std::chrono::steady_clock::now();
    marks_.emplace_back(name, std::chrono::duration<double>(now - last_).count());
    last_ = now;
  }
  void Report(benchmark::State& state) const {
    for (const auto& [name, seconds] : marks_) state.counters[name] = seconds;
  }

 private:
  std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
  std::vector<std::pair<const char*, double>> marks_;
};

std::string Unpack(benchmark::State& state) {
  const std::string folder = CreateDataFolder();
  std::vector<std::string> messages;
  if (folder.empty() || !UnpackArchive(kArchive, folder, messages)) {
    state.SkipWithError(("couldn't unpack " + kArchive).c_str());
  }
  return folder;
}

void BM_DataFloor(benchmark::State& state) {
  for (auto _ : state) {
    const std::string folder = Unpack(state);
    int images = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
      if (!entry.is_regular_file() || !IsImage(entry.path())) continue;
      Image image;
      if (!DecodeTextureFile(entry.path().string(), image)) state.SkipWithError(entry.path().c_str());
      ++images;
    }
    state.counters["images"] = images;
    state.PauseTiming();
    RemoveDataFolder(folder);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_DataFloor)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// What a viewer waits for after pressing Start: the archive unpacked, the window at
// 1280x720, the content loaded behind the loading screen, and the first frame drawn.
void BM_StartToFirstFrame(benchmark::State& state) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  for (auto _ : state) {
    // Where the time goes, in seconds per phase (the last iteration's).
    Phases phases;
    const std::string folder = Unpack(state);
    phases.Mark("unpack");
    DemoController* controller = DemoController::Instance();
    bool started = controller->Init(1280, 720, 32, 60);
    phases.Mark("window");
    started = started && controller->LoadContent(folder);
    phases.Mark("content");
    started = started && controller->Prepare();
    phases.Mark("prepare");
    started = started && controller->Update(0.0f, 0.0f) && controller->Render(0.0f, 0.0f);
    glFinish();
    phases.Mark("frame");
    if (!started) state.SkipWithError("the demo did not start; see log.txt");
    state.PauseTiming();
    phases.Report(state);
    state.counters["presents"] = controller->Loading().Presents();
    DemoController::Destroy();
    platform::ResetGlEntryPoints();
    RemoveDataFolder(folder);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_StartToFirstFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
