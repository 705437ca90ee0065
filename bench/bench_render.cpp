// Rendering costs: culling a large draw list against the frustum, and one whole frame
// of the test scene (shadow map included) split by pass. The frame needs a display
// (run under xvfb-run -a -s "-screen 0 1280x720x24"); without one it is skipped.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "anim/random.h"
#include "assets/model.h"
#include "gl/test_scene.h"
#include "platform/offscreen_context.h"
#include "render/draw_lists.h"
#include "render/frame.h"
#include "render/frustum.h"

namespace {

// 10,000 sub-meshes in 100 meshes of one model, boxes scattered over a hall of 8000
// units around a camera in its middle.
struct CullingScene {
  Model model;
  DrawList all;
  Frustum frustum;

  explicit CullingScene(int count) {
    ResetRand();
    auto spread = [] { return static_cast<float>(Rand() % 8000 - 4000); };
    for (int m = 0; m < count / 100; ++m) {
      auto mesh = std::make_unique<Mesh>();
      for (int s = 0; s < 100; ++s) {
        auto subMesh = std::make_unique<SubMesh>();
        const float x = spread(), y = spread() / 8.0f, z = spread();
        const float size = static_cast<float>(10 + Rand() % 200);
        subMesh->boundingBox.minX = x;
        subMesh->boundingBox.maxX = x + size;
        subMesh->boundingBox.minY = y;
        subMesh->boundingBox.maxY = y + size;
        subMesh->boundingBox.minZ = z;
        subMesh->boundingBox.maxZ = z + size;
        subMesh->owner = mesh.get();
        mesh->subMeshes.push_back(std::move(subMesh));
      }
      model.meshes.push_back(std::move(mesh));
    }
    AppendSubMeshes(model, all);
    const sm::Mat4 view = test_scene::LookAt({0, 200, 0}, {1000, 100, -700}, {0, 1, 0});
    UpdateFrustum(frustum, view, 10.0f, 800000.0f, 60.0f, 16.0f / 9.0f);
  }
};

void BM_CullList(benchmark::State& state) {
  CullingScene scene(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    CullList(scene.all, scene.frustum);
    benchmark::ClobberMemory();
  }
  int visible = 0;
  for (const SubMesh* s : scene.all) visible += s->visible;
  state.counters["visible"] = visible;
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CullList)->Arg(10000)->Unit(benchmark::kMicrosecond);

// One frame of the test scene at 1280×720 into an off-screen target, waiting for the
// driver to finish; each pass's share is reported as a counter (milliseconds).
void BM_Frame(benchmark::State& state) {
  platform::OffscreenContext context;
  if (!context.Create(64, 64)) {
    state.SkipWithError(("no GL context: " + context.Error()).c_str());
    return;
  }
  const int width = 1280;
  const int height = 720;
  std::string error;
  // The effects of the source tree this program was built from.
  const std::string effects = std::filesystem::path(__FILE__).parent_path().parent_path().string() + "/content/effects/";
  auto scene = test_scene::BuildScene(width, height, effects, error);
  if (!scene) {
    state.SkipWithError(error.c_str());
    return;
  }
  GLuint colour = 0, framebuffer = 0;
  glGenTextures(1, &colour);
  glBindTexture(GL_TEXTURE_2D, colour);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  glBindTexture(GL_TEXTURE_2D, 0);
  glext::glGenFramebuffersEXT(1, &framebuffer);
  glext::glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
  glext::glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, colour, 0);
  glext::glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);

  using Clock = std::chrono::steady_clock;
  std::map<FramePass, double> spent;
  Clock::time_point mark;
  FrameInputs frame = scene->Inputs(framebuffer);
  frame.afterPass = [&](FramePass pass) {
    glFinish();
    const Clock::time_point now = Clock::now();
    spent[pass] += std::chrono::duration<double, std::milli>(now - mark).count();
    mark = now;
  };
  frame.present = [] { glFinish(); };
  RenderFrame(frame);  // warm-up: first use of every program and target
  spent.clear();
  for (auto _ : state) {
    glFinish();
    mark = Clock::now();
    RenderFrame(frame);
  }
  for (const auto& [pass, ms] : spent) {
    state.counters[std::string("ms_") + FramePassName(pass)] = ms / static_cast<double>(state.iterations());
  }
  glext::glDeleteFramebuffersEXT(1, &framebuffer);
  glDeleteTextures(1, &colour);
}
BENCHMARK(BM_Frame)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

}  // namespace

BENCHMARK_MAIN();
