#include "scenes/robot.h"

namespace Robot {

Character::Character() = default;
Character::~Character() = default;

bool Character::Setup(ISceneWorld& world, const std::string& dataFolder) {
  (void)world;
  (void)dataFolder;
  return false;
}

void Character::Pose(float time) { (void)time; }

float Character::LastKeyTime(int animation) const {
  (void)animation;
  return 0.0f;
}

}  // namespace Robot
