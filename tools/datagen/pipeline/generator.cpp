#include "datagen/pipeline/generator.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>
#include <vector>

#include "datagen/music/soundtrack.h"
#include "datagen/pipeline/archive.h"
#include "datagen/pipeline/context.h"
#include "datagen/steps.h"

namespace datagen {
namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

struct Step {
  const char* title;
  std::function<bool(Context&)> run;
};

// The hand-written files, copied as they are.
bool CopyContent(Context& context, const std::string& folder) {
  static const char* const files[][2] = {
      {"effects/blur.cfx", "effects/blur.cfx"},
      {"effects/lighting.glsl", "effects/lighting.glsl"},
      {"effects/post_process.cfx", "effects/post_process.cfx"},
      {"effects/shadow_mapping.cfx", "effects/shadow_mapping.cfx"},
      {"effects/std_lighting.cfx", "effects/std_lighting.cfx"},
      {"effects/std_lighting_glow_shadow.cfx", "effects/std_lighting_glow_shadow.cfx"},
      {"properties/props.scr", "properties/props.scr"},
  };
  for (const auto& file : files) {
    if (!context.Tree().CopyFile(folder + "/" + file[0], file[1])) return false;
  }
  return true;
}

}  // namespace

bool Generate(const GeneratorOptions& options, std::FILE* progress, std::string& error) {
  const Clock::time_point start = Clock::now();
  std::error_code removed;
  // A fresh tree: files of an older layout must not linger in it (or in the archive).
  std::filesystem::remove_all(options.treeFolder, removed);
  OutputTree tree(options.treeFolder);
  Fonts fonts;
  if (!fonts.Open(error, options.fontFolder)) return false;
  Context context(tree, fonts);

  // The soundtrack takes longest; it renders on its own thread while the rest is built.
  bool musicOk = false;
  std::string musicError;
  std::thread music([&] {
    const std::string relative = "music/osprey.mp3";
    if (!tree.PrepareFolder(relative)) return;
    musicOk = WriteSoundtrack(tree.PathOf(relative), musicError);
    if (musicOk) tree.Record(relative);
  });

  const std::vector<Step> steps = {
      {"content: effects and property script", [&](Context& c) { return CopyContent(c, options.contentFolder); }},
      {"materials", BuildMaterials},
      {"material maps", BuildMaterialMaps},
      {"environment cube map", BuildEnvironmentMap},
      {"model: factory_hal", BuildFactoryHall},
      {"model: factory_passage", BuildFactoryPassage},
      {"models: glass wall", BuildGlassWall},
      {"model: screens", BuildScreens},
      {"model: credits", BuildCredits},
      {"model: boards", BuildBoards},
      {"model and animation: doors", BuildDoors},
      {"models: robot parts", BuildRobotParts},
      {"model: robot_lying", BuildRobotLying},
      {"robot poses", BuildRobotPoses},
      {"models and animations: mechanical arms", BuildMechArms},
      {"models and animations: robot paths", BuildRobotPath},
      {"cameras", BuildCameras},
      {"textures: greetings", BuildGreetings},
      {"textures: monitor loop", BuildMonitorLoop},
      {"textures: credits", BuildCreditCards},
      {"textures: boards", BuildBoardCards},
      {"textures: masks", BuildMasks},
      {"loading picture", BuildLoaderPicture},
  };
  bool ok = true;
  const int total = static_cast<int>(steps.size()) + 2;
  int index = 0;
  for (const Step& step : steps) {
    const Clock::time_point began = Clock::now();
    ok = step.run(context) && !tree.Failed();
    std::fprintf(progress, "drift-datagen: [%2d/%d] %s (%.1f s)\n", ++index, total, step.title, Seconds(began));
    std::fflush(progress);
    if (!ok) break;
  }
  if (ok && !options.setupPath.empty()) ok = WriteSetupPicture(context, options.setupPath);

  const Clock::time_point waited = Clock::now();
  music.join();
  std::fprintf(progress, "drift-datagen: [%2d/%d] music/osprey.mp3 (waited %.1f s)\n", ++index, total, Seconds(waited));
  if (ok && !musicOk) {
    ok = false;
    tree.Fail("the soundtrack: " + musicError);
  }
  if (!ok) {
    error = tree.Error().empty() ? "a step failed" : tree.Error();
    return false;
  }

  if (!options.archivePath.empty()) {
    const Clock::time_point began = Clock::now();
    if (!PackArchive(tree.Root(), tree.Files(), options.archivePath, error)) return false;
    std::fprintf(progress, "drift-datagen: [%2d/%d] archive %s (%.1f s)\n", ++index, total, options.archivePath.c_str(),
                 Seconds(began));
  }
  std::uint64_t bytes = 0;
  for (const std::string& file : tree.Files()) bytes += tree.SizeOf(file);
  std::fprintf(progress, "drift-datagen: %zu files, %.1f MB unpacked, in %.1f s\n", tree.Files().size(),
               static_cast<double>(bytes) / 1e6, Seconds(start));
  for (const auto& [model, triangles] : context.Triangles()) {
    std::fprintf(progress, "drift-datagen:   %-28s %8zu triangles\n", model.c_str(), triangles);
  }
  return true;
}

}  // namespace datagen
