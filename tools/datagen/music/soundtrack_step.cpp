// The step that writes the soundtrack into the data set.
#include "datagen/music/soundtrack.h"
#include "datagen/pipeline/context.h"
#include "datagen/steps.h"

namespace datagen {

bool BuildSoundtrack(Context& context) {
  const std::string relative = "music/osprey.mp3";
  OutputTree& tree = context.Tree();
  if (!tree.PrepareFolder(relative)) return false;
  std::string error;
  if (!WriteSoundtrack(tree.PathOf(relative), error)) return tree.Fail("the soundtrack: " + error);
  tree.Record(relative);
  return true;
}

}  // namespace datagen
