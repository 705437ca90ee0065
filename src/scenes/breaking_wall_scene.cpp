#include "scenes/breaking_wall_scene.h"

#include "scenes/scene_world.h"

BreakingWallScene::BreakingWallScene(ISceneWorld& world) { (void)world; }
BreakingWallScene::~BreakingWallScene() = default;

bool BreakingWallScene::Setup() { return false; }

void BreakingWallScene::Update(float time, float step) {
  (void)time;
  (void)step;
}
void BreakingWallScene::DrawOpaque(float time, float step) {
  (void)time;
  (void)step;
}
void BreakingWallScene::DrawGlow(float time, float step) {
  (void)time;
  (void)step;
}
void BreakingWallScene::DrawTranslucent(float time, float step) {
  (void)time;
  (void)step;
}
void BreakingWallScene::SetActive(bool active) { (void)active; }
bool BreakingWallScene::IsActiveAt(float time) {
  (void)time;
  return false;
}
std::vector<Model*>& BreakingWallScene::GetModels() {
  static std::vector<Model*> none;
  return none;
}
void BreakingWallScene::AdjustLight(sm::Mat4& lightView) { (void)lightView; }
