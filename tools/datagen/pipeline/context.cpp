#include "datagen/pipeline/context.h"

namespace datagen {

bool Context::WriteModel(const std::string& name, const ModelBuilder& model) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    triangles_[name] = model.TriangleCount();
  }
  return tree_.WriteBytes("models/" + name + ".geo", model_file::Write(model.Data()));
}

bool Context::WriteAnimation(const std::string& name, const animation_file::AnimationData& animation) {
  return tree_.WriteBytes("animations/" + name + ".ani", animation_file::Write(animation));
}

bool Context::WriteTexture(const std::string& name, const Canvas& picture, int bitsPerPixel,
                           const std::string& extension) {
  return tree_.WriteImage("textures/" + name + "." + extension, picture.ToImage(bitsPerPixel), 90);
}

std::map<std::string, std::size_t> Context::Triangles() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return triangles_;
}

}  // namespace datagen
