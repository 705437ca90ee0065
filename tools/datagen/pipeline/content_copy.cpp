// The hand-written files of content/, copied into the data set as they are.
#include "datagen/pipeline/context.h"
#include "datagen/steps.h"

namespace datagen {

bool CopyContent(Context& context) {
  static const char* const files[] = {
      "effects/blur.cfx",
      "effects/lighting.glsl",
      "effects/post_process.cfx",
      "effects/shadow_mapping.cfx",
      "effects/std_lighting.cfx",
      "effects/std_lighting_glow_shadow.cfx",
      "properties/props.scr",
  };
  for (const char* file : files) {
    if (!context.Tree().CopyFile(context.ContentFolder() + "/" + file, file)) return false;
  }
  return true;
}

}  // namespace datagen
