// drift-preview: renders the generated world from its viewpoints into PNG files and
// reports how long each frame takes.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "base/log.h"
#include "assets/image.h"
#include "platform/gl.h"
#include "platform/offscreen_context.h"
#include "preview/preview_world.h"
#include "render/frame.h"

namespace {

void Usage(std::FILE* out) {
  std::fprintf(out,
               "usage: drift-preview --data DIR --out DIR [--size WxH] [--only NAME] [--frames N]\n"
               "Renders the data set's world from each viewpoint into DIR/NAME.png and times the frames\n"
               "(N frames per viewpoint after one warm-up frame; default 3).\n");
}

}  // namespace

int main(int argc, char** argv) {
  std::string data, out, only;
  int width = 1280, height = 720, frames = 3;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    const bool hasValue = i + 1 < argc;
    if (option == "--help") {
      Usage(stdout);
      return 0;
    } else if (option == "--data" && hasValue) {
      data = argv[++i];
    } else if (option == "--out" && hasValue) {
      out = argv[++i];
    } else if (option == "--only" && hasValue) {
      only = argv[++i];
    } else if (option == "--frames" && hasValue) {
      frames = std::max(1, std::atoi(argv[++i]));
    } else if (option == "--size" && hasValue && std::sscanf(argv[++i], "%dx%d", &width, &height) == 2) {
    } else {
      Usage(stderr);
      return 2;
    }
  }
  if (data.empty() || out.empty() || width < 64 || height < 64) {
    Usage(stderr);
    return 2;
  }
  std::error_code ignored;
  std::filesystem::create_directories(out, ignored);
  OpenLog(out + "/log.txt");
  platform::OffscreenContext context;
  if (!context.Create(width, height)) {
    std::fprintf(stderr, "drift-preview: no GL context: %s\n", context.Error().c_str());
    return 1;
  }
  int status = 0;
  {
    preview::PreviewWorld world;
    std::string error;
    if (!world.Load(data, width, height, error)) {
      std::fprintf(stderr, "drift-preview: %s (log: %s/log.txt)\n", error.c_str(), out.c_str());
      return 1;
    }
    Image image;
    for (const preview::Viewpoint& viewpoint : preview::Viewpoints()) {
      if (!only.empty() && viewpoint.name != only) continue;
      world.Render(viewpoint);
      double total = 0;
      std::vector<double> passes(8, 0.0), frame;
      for (int i = 0; i < frames; ++i) {
        const auto start = std::chrono::steady_clock::now();
        world.Render(viewpoint);
        total += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        world.Render(viewpoint, &frame);
        for (std::size_t k = 0; k < passes.size(); ++k) passes[k] += frame[k] / frames;
      }
      const std::string path = out + "/" + viewpoint.name + ".png";
      if (!world.ReadBack(image) || !EncodePng(path, image)) status = 1;
      std::printf("%-20s %7.1f ms/frame  %8zu triangles drawn  -> %s\n", viewpoint.name.c_str(), total / frames,
                  world.DrawnTriangles(), path.c_str());
      std::printf("%-20s", "");
      for (std::size_t k = 0; k < passes.size(); ++k) {
        std::printf(" %s %.1f", FramePassName(static_cast<FramePass>(k)), passes[k]);
      }
      std::printf("\n");
      std::fflush(stdout);
    }
  }
  CloseLog();
  return status;
}
