// The steps that write the materials and their maps.
#include "datagen/pipeline/context.h"
#include "datagen/steps.h"
#include "datagen/world/materials.h"

namespace datagen {

bool BuildMaterials(Context& context) { return WriteMaterials(context.Tree()); }

bool BuildMaterialMaps(Context& context) {
  return WriteMaterialMaps(context.Tree(), context.TextFonts());
}

}  // namespace datagen
