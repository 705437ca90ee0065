// The hand-written files of content/: the effects copied into the data set as they
// are, the property script with the camera changer's keys written from the cut list.
#include <fstream>
#include <iterator>

#include "datagen/direction/camera_changer.h"
#include "datagen/direction/shot_list.h"
#include "datagen/pipeline/context.h"
#include "datagen/steps.h"

namespace datagen {
namespace {

constexpr char kPropertyScript[] = "properties/props.scr";

bool WritePropertyScript(Context& context) {
  const std::string source = context.ContentFolder() + "/" + kPropertyScript;
  std::ifstream in(source, std::ios::binary);
  const std::string script((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in) return context.Tree().Fail("cannot read " + source);
  std::string written, error;
  if (!WithCameraChangerKeys(script, CameraShots(), written, error)) return context.Tree().Fail(source + ": " + error);
  return context.Tree().WriteBytes(kPropertyScript, written);
}

}  // namespace

bool CopyContent(Context& context) {
  static const char* const files[] = {
      "effects/blur.cfx",
      "effects/lighting.glsl",
      "effects/post_process.cfx",
      "effects/shadow_mapping.cfx",
      "effects/std_lighting.cfx",
      "effects/std_lighting_glow_shadow.cfx",
  };
  for (const char* file : files) {
    if (!context.Tree().CopyFile(context.ContentFolder() + "/" + file, file)) return false;
  }
  return WritePropertyScript(context);
}

}  // namespace datagen
