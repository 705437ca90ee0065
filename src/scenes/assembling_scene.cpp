#include "scenes/assembling_scene.h"

#include "scenes/scene_world.h"

AssemblingScene::AssemblingScene(ISceneWorld& world) { (void)world; }
AssemblingScene::~AssemblingScene() = default;

bool AssemblingScene::Setup() { return false; }

void AssemblingScene::Update(float time, float step) {
  (void)time;
  (void)step;
}
void AssemblingScene::DrawOpaque(float time, float step) {
  (void)time;
  (void)step;
}
void AssemblingScene::DrawGlow(float time, float step) {
  (void)time;
  (void)step;
}
void AssemblingScene::DrawTranslucent(float time, float step) {
  (void)time;
  (void)step;
}
void AssemblingScene::SetActive(bool active) { (void)active; }
bool AssemblingScene::IsActiveAt(float time) {
  (void)time;
  return false;
}
std::vector<Model*>& AssemblingScene::GetModels() {
  static std::vector<Model*> none;
  return none;
}
void AssemblingScene::AdjustLight(sm::Mat4& lightView) { (void)lightView; }
