#pragma once
// What every generator step works with: the output tree, the fonts, the folder of the
// hand-written content, and the report of what was built (triangles per model), plus
// the writers of the data set's formats.
#include <cstddef>
#include <map>
#include <mutex>
#include <string>
#include <utility>

#include "anim/animation_file.h"
#include "assets/model_file.h"
#include "datagen/geometry/model_builder.h"
#include "datagen/pipeline/output_tree.h"
#include "datagen/texture/text.h"

namespace datagen {

class Context {
 public:
  Context(OutputTree& tree, Fonts& fonts, std::string contentFolder)
      : tree_(tree), fonts_(fonts), contentFolder_(std::move(contentFolder)) {}

  OutputTree& Tree() { return tree_; }
  Fonts& TextFonts() { return fonts_; }
  const std::string& ContentFolder() const { return contentFolder_; }

  // "models/<name>.geo", with its triangle count noted for the report.
  bool WriteModel(const std::string& name, const ModelBuilder& model);
  // "animations/<name>.ani".
  bool WriteAnimation(const std::string& name, const animation_file::AnimationData& animation);
  // "textures/<name>.png" (or .jpg).
  bool WriteTexture(const std::string& name, const Canvas& picture, int bitsPerPixel, const std::string& extension = "png");

  std::map<std::string, std::size_t> Triangles() const;

 private:
  OutputTree& tree_;
  Fonts& fonts_;
  std::string contentFolder_;
  mutable std::mutex mutex_;
  std::map<std::string, std::size_t> triangles_;
};

}  // namespace datagen
