#include "datagen/pipeline/generator.h"

#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

#include "datagen/pipeline/archive.h"
#include "datagen/pipeline/context.h"
#include "datagen/pipeline/step_list.h"
#include "datagen/steps.h"

namespace datagen {
namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

}  // namespace

bool Generate(const GeneratorOptions& options, std::FILE* progress, std::string& error) {
  const Clock::time_point start = Clock::now();
  const bool everyStep = options.onlySteps.empty();
  std::vector<const Step*> steps;
  if (everyStep) {
    for (const Step& step : Steps()) steps.push_back(&step);
  } else {
    if (!SelectSteps(options.onlySteps, steps, error)) return false;
  }
  if (everyStep) {
    // A fresh tree: files of an older layout must not linger in it (or in the archive).
    std::error_code removed;
    std::filesystem::remove_all(options.treeFolder, removed);
  }
  OutputTree tree(options.treeFolder);
  Fonts fonts;
  if (!fonts.Open(error, options.fontFolder)) return false;
  Context context(tree, fonts, options.contentFolder);

  // Steps of their own thread start first and are waited for after the others.
  std::vector<const Step*> threaded;
  for (const Step* step : steps) {
    if (step->ownThread) threaded.push_back(step);
  }
  std::vector<char> threadedOk(threaded.size(), 0);
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < threaded.size(); ++i) {
    threads.emplace_back([&context, &threadedOk, step = threaded[i], i] { threadedOk[i] = step->build(context); });
  }

  bool ok = true;
  const int total = static_cast<int>(steps.size()) + (options.archivePath.empty() ? 0 : 1);
  int index = 0;
  for (const Step* step : steps) {
    if (step->ownThread) continue;
    const Clock::time_point began = Clock::now();
    ok = step->build(context) && !tree.Failed();
    std::fprintf(progress, "drift-datagen: [%2d/%d] %s (%.1f s)\n", ++index, total, step->name,
                 Seconds(began));
    std::fflush(progress);
    if (!ok) break;
  }
  if (ok && !options.setupPath.empty()) ok = WriteSetupPicture(context, options.setupPath);

  for (std::size_t i = 0; i < threads.size(); ++i) {
    const Clock::time_point waited = Clock::now();
    threads[i].join();
    ok = ok && threadedOk[i];
    std::fprintf(progress, "drift-datagen: [%2d/%d] %s (waited %.1f s)\n", ++index, total, threaded[i]->name,
                 Seconds(waited));
  }
  if (!ok || tree.Failed()) {
    error = tree.Error().empty() ? "a step failed" : tree.Error();
    return false;
  }

  const std::vector<std::string> written = tree.Files();
  if (!options.archivePath.empty()) {
    const Clock::time_point began = Clock::now();
    if (!everyStep && !tree.RecordFilesOnDisk()) {
      error = tree.Error();
      return false;
    }
    if (!PackArchive(tree.Root(), tree.Files(), options.archivePath, error)) return false;
    std::fprintf(progress, "drift-datagen: [%2d/%d] archive %s (%.1f s)\n", ++index, total, options.archivePath.c_str(),
                 Seconds(began));
  }
  std::uint64_t bytes = 0;
  for (const std::string& file : written) bytes += tree.SizeOf(file);
  std::fprintf(progress, "drift-datagen: %zu files written, %.1f MB, in %.1f s\n", written.size(),
               static_cast<double>(bytes) / 1e6, Seconds(start));
  for (const auto& [model, triangles] : context.Triangles()) {
    std::fprintf(progress, "drift-datagen:   %-28s %8zu triangles\n", model.c_str(), triangles);
  }
  return true;
}

}  // namespace datagen
