// drift-preview: renders the generated world from its viewpoints into PNG files and
// reports how long each frame takes.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/log.h"
#include "assets/image.h"
#include "platform/gl.h"
#include "platform/offscreen_context.h"
#include "preview/preview_world.h"
#include "render/frame.h"
#include "render/render_targets.h"

namespace {

void Usage(std::FILE* out) {
  std::fprintf(out,
               "usage: drift-preview --data DIR --out DIR [--size WxH] [--only NAME] [--frames N]\n"
               "Renders the data set's world from each viewpoint into DIR/NAME.png and times the frames\n"
               "(N frames per viewpoint after one warm-up frame; default 3).\n");
}

// A colour texture and depth buffer to draw into and read back.
struct Target {
  FrameBuffer buffer;
  unsigned colour = 0;

  Target(int width, int height) {
    CreateFrameBuffer(buffer, width, height);
    glGenTextures(1, &colour);
    glBindTexture(GL_TEXTURE_2D, colour);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glBindTexture(GL_TEXTURE_2D, 0);
    AttachColour(buffer, colour);
    BindFrameBuffer(0);
  }
  ~Target() {
    DestroyFrameBuffer(buffer);
    glDeleteTextures(1, &colour);
  }
};

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
    Target target(width, height);
    for (const preview::Viewpoint& viewpoint : preview::Viewpoints()) {
      if (!only.empty() && viewpoint.name != only) continue;
      world.Render(viewpoint, target.buffer.framebuffer);
      double total = 0;
      std::vector<double> passes(8, 0.0), frame;
      for (int i = 0; i < frames; ++i) {
        const auto start = std::chrono::steady_clock::now();
        world.Render(viewpoint, target.buffer.framebuffer);
        total += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        world.Render(viewpoint, target.buffer.framebuffer, &frame);
        for (std::size_t k = 0; k < passes.size(); ++k) passes[k] += frame[k] / frames;
      }
      BindFrameBuffer(target.buffer.framebuffer);
      Image image = Image::Allocate(width, height, 32);
      glPixelStorei(GL_PACK_ALIGNMENT, 1);
      glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, image.pixels.get());
      BindFrameBuffer(0);
      // Opaque output: the frame's alpha is whatever the last pass left.
      for (std::size_t i = 3; i < image.Bytes(); i += 4) image.pixels[i] = 255;
      const std::string path = out + "/" + viewpoint.name + ".png";
      if (!EncodePng(path, image)) status = 1;
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
