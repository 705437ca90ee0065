#include "preview/preview_world.h"

#include <chrono>
#include <cmath>

#include "anim/node_animation.h"
#include "assets/demo_content.h"
#include "assets/effect.h"
#include "assets/material_resolution.h"
#include "assets/model.h"
#include "assets/texture.h"
#include "datagen/robot/robot_rig.h"
#include "datagen/robot/run_cycle.h"
#include "datagen/robot/skeleton.h"
#include "datagen/world/layout.h"
#include "datagen/world/robot_route.h"
#include "demo/demo_controller.h"
#include "platform/gl.h"
#include "render/cg_context.h"
#include "render/frame.h"
#include "render/frustum.h"
#include "render/lighting.h"
#include "render/noise_texture.h"
#include "render/scene_interface.h"
#include "scenes/mechanical_arm.h"

namespace preview {
namespace {

using datagen::V3;

sm::Mat4 LookAtView(V3 eye, V3 target) {
  const V3 f = datagen::Normalize(target - eye);
  const V3 s = datagen::Normalize(datagen::Cross(f, V3(0, 1, 0)));
  const V3 u = datagen::Cross(s, f);
  sm::Mat4 m;
  m.a[0] = s.x, m.a[4] = s.y, m.a[8] = s.z;
  m.a[1] = u.x, m.a[5] = u.y, m.a[9] = u.z;
  m.a[2] = -f.x, m.a[6] = -f.y, m.a[10] = -f.z;
  m.a[12] = -datagen::Dot(s, eye);
  m.a[13] = -datagen::Dot(u, eye);
  m.a[14] = datagen::Dot(f, eye);
  return m;
}

sm::Mat4 FromColumns(const float (&c)[16]) {
  sm::Mat4 m;
  for (int i = 0; i < 16; ++i) m.a[i] = c[i];
  return m;
}

// The fixed light matrices of the dance and of the glass wall.
const sm::Mat4& DanceLight() {
  static const sm::Mat4 m = FromColumns({-0.8141f, 0.4034f, -0.4177f, 0, 0, 0.7193f, 0.6947f, 0, 0.5807f, 0.5655f,
                                         -0.5856f, 0, -419.9149f, -684.4364f, -1276.4071f, 1});
  return m;
}
const sm::Mat4& WallLight() {
  static const sm::Mat4 m = FromColumns({-0.2334f, 0.4339f, -0.8702f, 0, 0, 0.8949f, 0.4462f, 0, 0.9724f, 0.1042f,
                                         -0.2089f, 0, 20067.2148f, -4058.9717f, 6086.0693f, 1});
  return m;
}

void SetTransform(Model* model, const sm::Mat4& m) {
  if (model == nullptr) return;
  for (auto& mesh : model->meshes) mesh->transform = m;
}

// Draws the first sub-mesh of a mesh with a picture through its second texture
// coordinates, as the scenes draw their overlays.
void DrawOverlay(const SubMesh& surface, unsigned texture, float alpha, const sm::Mat4& projection,
                 const sm::Mat4& view, bool depthTest) {
  glPushAttrib(GL_CURRENT_BIT | GL_DEPTH_BUFFER_BIT | GL_ENABLE_BIT);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  if (depthTest) glEnable(GL_DEPTH_TEST);
  glMatrixMode(GL_PROJECTION);
  glLoadMatrixf(projection.a);
  glMatrixMode(GL_MODELVIEW);
  glLoadMatrixf(view.a);
  glColor4f(1, 1, 1, alpha);
  surface.DrawSecondUV();
  glBindTexture(GL_TEXTURE_2D, 0);
  glPopAttrib();
}

}  // namespace

struct PreviewWorld::State final : public IScene {
  int width = 0, height = 0;
  std::unique_ptr<fx::Context> context;
  std::unique_ptr<CgContextService> service;
  ServiceProvider provider;
  ModelSlots slots;
  GlobalDrawLists global;
  std::vector<Model*> globalModels;
  std::vector<Model*> sceneModels;
  std::unique_ptr<SceneRenderer> renderer;
  std::unique_ptr<MainTargets> targets;
  std::unique_ptr<BlurTarget> glowBlur, dofBlur;
  std::unique_ptr<ShadowTarget> shadow;
  unsigned noise = 0;
  Effect* postProcess = nullptr;
  Texture* mask = nullptr;
  PictureRows picture;  // the rows the mask leaves visible
  Model* doors = nullptr;
  Animation* doorsAnimation = nullptr;
  Model* screens = nullptr;
  Model* greetz = nullptr;
  Model* credits = nullptr;
  std::vector<Model*> robotParts;
  struct Arm {
    Model *base = nullptr, *upper = nullptr, *fore = nullptr, *end = nullptr;
    Animation* animation = nullptr;
    V3 basePosition;
  } arms[2];
  // Per frame.
  const Viewpoint* viewpoint = nullptr;
  sm::Mat4 view, projection;

  ~State() {
    if (noise != 0) glDeleteTextures(1, &noise);
  }

  // --- IScene: the overlays and the light of the viewpoint.
  void Update(float, float) override {}
  void DrawOpaque(float, float) override { DrawSurfaces(); }
  void DrawGlow(float, float) override { DrawSurfaces(); }
  void DrawTranslucent(float, float) override {
    const float t = viewpoint->time;
    if (screens == nullptr || (t > 120.0f && t < 200.598f)) return;
    const int frame = static_cast<int>(t * 25.0f) % 99;
    Texture* hud = DemoContent::Instance()->Get<Texture>("hud" + std::to_string(frame));
    if (hud == nullptr) return;
    for (std::size_t i = 0; i < 2 && i < screens->meshes.size(); ++i) {
      DrawOverlay(*screens->meshes[i]->subMeshes[0], hud->GetName(), 0.5f, projection, view, true);
    }
  }
  void SetActive(bool) override {}
  bool IsActiveAt(float) override { return true; }
  std::vector<Model*>& GetModels() override { return sceneModels; }
  void AdjustLight(sm::Mat4& light) override {
    switch (viewpoint->light) {
      case Light::kDefault: break;
      case Light::kDance: light = DanceLight(); break;
      case Light::kWall: light = WallLight(); break;
      case Light::kFollow: {
        const V3 earlier = datagen::RobotHipAt(viewpoint->time - 2.0f);
        light = LookAtView(earlier + V3(0, datagen::layout::kFollowLightHeight, 0), datagen::RobotHipAt(viewpoint->time));
        break;
      }
    }
  }

  void DrawSurfaces() {
    DemoContent& content = *DemoContent::Instance();
    if (viewpoint->greeting >= 0 && greetz != nullptr) {
      if (Texture* t = content.Get<Texture>("greetz" + std::to_string(viewpoint->greeting))) {
        DrawOverlay(*greetz->meshes[0]->subMeshes[0], t->GetName(), 1.0f, projection, view, false);
      }
    }
    static const char* const names[] = {"kestrel", "marlin", "osprey"};
    if (viewpoint->credit >= 0 && credits != nullptr) {
      if (Texture* t = content.Get<Texture>(names[viewpoint->credit % 3])) {
        DrawOverlay(*credits->meshes[0]->subMeshes[0], t->GetName(), 1.0f, projection, view, false);
      }
    }
  }

  // Moves what moves to the viewpoint's time.
  void Pose(float t) {
    if (doorsAnimation != nullptr) doorsAnimation->Update(t, sm::Mat4(), 0.0f);
    for (Arm& arm : arms) {
      if (arm.animation == nullptr) continue;
      arm.animation->Update(t, sm::Mat4(), 0.0f);
      Mesh* end = nullptr;
      for (auto& mesh : arm.end->meshes) {
        if (mesh->name == "arm_end") end = mesh.get();
      }
      if (end == nullptr) continue;
      const V3 wrist(end->baseTransform.a[12], end->baseTransform.a[13], end->baseTransform.a[14]);
      const ArmPose frames = SolveArm(arm.basePosition.ToSm(), wrist.ToSm());
      SetTransform(arm.base, frames.base);
      SetTransform(arm.upper, frames.upper);
      SetTransform(arm.fore, frames.forearm);
    }
    // The robot: lying in the rig until the release, then standing where its path
    // puts it, or dancing.
    using namespace datagen;
    sm::Mat4 placement;
    if (t >= 200.598f) {
      placement = robot::DancePlacement();
    } else {
      const V3 hip = RobotHipAt(t), facing = RobotFacingAt(t);
      placement = sm::Product(sm::RotationMatrix(std::atan2(facing.x, facing.z), 0, 1, 0),
                              sm::Translation(hip.x, hip.y, hip.z));
    }
    const auto frames = robot::PartFrames(robot::ToFrame(robot::Solve(robot::ReadyStance())));
    for (std::size_t i = 0; i < robotParts.size(); ++i) SetTransform(robotParts[i], sm::Product(frames[i], placement));
    slots[2].enabled = t < 110.96f;
    slots[3].enabled = t >= 110.96f;
    const bool wallScene = t > 120.0f && t < 200.598f;
    slots[0].enabled = !wallScene;
    slots[4].enabled = !wallScene;
    slots[1].enabled = wallScene || (t >= 117.5f && t <= 120.0f);
  }
};

PreviewWorld::PreviewWorld() : state_(std::make_unique<State>()) {}

PreviewWorld::~PreviewWorld() {
  state_.reset();
  if (DemoContent::Exists()) {
    DemoContent::Instance()->ReleaseAll();
    DemoContent::Destroy();
  }
}

bool PreviewWorld::Load(const std::string& dataFolder, int width, int height, std::string& error) {
  State& s = *state_;
  s.width = width;
  s.height = height;
  if (!CreateCgContext(s.context)) {
    error = "the driver cannot run the effects";
    return false;
  }
  s.service = std::make_unique<CgContextService>(s.context.get());
  s.provider.Register(TypeKey<ICgContextService>(), static_cast<ICgContextService*>(s.service.get()));
  const std::string root = dataFolder + "/";
  DemoContent& content = *DemoContent::Instance();
  if (!content.LoadAll(root, &s.provider)) {
    error = "the data set did not load (see the log)";
    return false;
  }
  if (!ResolveMaterialTextures(root)) {
    error = "a material map is missing (see the log)";
    return false;
  }
  ResolveMeshMaterials();

  const auto model = [&](const std::string& name) { return content.Get<Model>(name); };
  s.slots[0].AddModel(model("factory_hal"));
  s.slots[1].AddModel(model("factory_passage"));
  s.slots[1].AddModel(model("robot_path"));
  s.slots[2].AddModel(model("robot_lying"));
  for (const auto& part : datagen::robot::Parts()) {
    Model* m = model(part.model);
    s.robotParts.push_back(m);
    s.slots[3].AddModel(m);
    for (auto& mesh : m->meshes) {
      for (auto& sub : mesh->subMeshes) sub->cullExempt = true;
    }
  }
  for (int i = 0; i < 2; ++i) {
    const std::string prefix = i == 0 ? "mech_arm_01_" : "mech_arm_02_";
    State::Arm& arm = s.arms[i];
    arm.base = model(prefix + "base");
    arm.upper = model(prefix + "joint1");
    arm.fore = model(prefix + "joint2");
    arm.end = model(prefix + "end");
    arm.animation = content.Get<Animation>(prefix + "end");
    arm.basePosition = i == 0 ? datagen::layout::kArm1Base : datagen::layout::kArm2Base;
    for (Model* m : {arm.base, arm.upper, arm.fore, arm.end}) {
      s.slots[4].AddModel(m);
      for (auto& mesh : m->meshes) {
        for (auto& sub : mesh->subMeshes) sub->cullExempt = true;
      }
    }
    if (arm.animation != nullptr) arm.animation->AttachMeshes(arm.end->meshes);
  }
  s.doors = model("doors");
  s.doorsAnimation = content.Get<Animation>("doors");
  if (s.doorsAnimation != nullptr && s.doors != nullptr) s.doorsAnimation->AttachMeshes(s.doors->meshes);
  s.globalModels.push_back(s.doors);
  s.sceneModels.push_back(model("glass_wall_broken"));
  s.screens = model("screens");
  s.greetz = model("glass_wall_greetz");
  s.credits = model("credits");
  for (const ModelSlot& slot : s.slots) {
    for (Model* m : slot.models) {
      if (m == nullptr) {
        error = "a model the world needs is missing";
        return false;
      }
    }
  }
  std::vector<Model*> all = s.globalModels;
  all.insert(all.end(), s.sceneModels.begin(), s.sceneModels.end());
  BuildDrawLists(all, s.global, s.slots);

  s.renderer = PrepareSceneRenderer(content);
  if (!s.renderer) {
    error = "the lighting effects are missing";
    return false;
  }
  s.targets = CreateMainTargets(width, height);
  Effect* blur = content.Get<Effect>("blur");
  s.glowBlur = CreateBlurTarget(blur, width / 8, height / 8);
  s.dofBlur = CreateBlurTarget(blur, width / 4, height / 4);
  s.shadow = CreateShadowTarget(width, height, content.Get<Effect>("shadow_mapping"));
  s.noise = CreateNoiseTexture(height);
  s.postProcess = content.Get<Effect>("post_process");
  s.mask = content.Get<Texture>(DemoController::MaskName(width));
  if (s.mask != nullptr) {
    PrepareMaskTexture(s.mask->GetName());
    s.picture = MaskVisibleRows(s.mask->GetName(), height);
  }
  return true;
}

void PreviewWorld::Render(const Viewpoint& viewpoint, unsigned framebuffer, std::vector<double>* passMs) {
  State& s = *state_;
  s.viewpoint = &viewpoint;
  s.view = LookAtView(viewpoint.eye, viewpoint.target);
  const float aspect = static_cast<float>(s.width) / static_cast<float>(s.height);
  const float degrees = viewpoint.fieldOfView * 180.0f / 3.14159265f;
  sm::Perspective(s.projection, degrees, aspect, 10.0f, 8000.0f);
  s.Pose(viewpoint.time);
  Frustum frustum;
  UpdateFrustum(frustum, s.view, 10.0f, 800000.0f, degrees, aspect);
  CullDrawLists(s.global, s.slots, frustum);

  FrameInputs in;
  in.timeMs = viewpoint.time * 1000.0f;
  in.stepMs = 16.0f;
  in.width = s.width;
  in.height = s.height;
  in.view = s.view;
  in.projection = s.projection;
  in.scene = &s;
  in.slots = &s.slots;
  in.global = &s.global;
  in.renderer = s.renderer.get();
  in.targets = s.targets.get();
  in.glowBlur = s.glowBlur.get();
  in.dofBlur = s.dofBlur.get();
  in.shadow = s.shadow.get();
  in.postProcess = s.postProcess;
  in.noiseTexture = s.noise;
  in.maskTexture = s.mask != nullptr ? s.mask->GetName() : 0;
  in.picture = s.picture;
  in.outputFramebuffer = framebuffer;
  auto last = std::chrono::steady_clock::now();
  if (passMs != nullptr) {
    passMs->assign(8, 0.0);
    in.afterPass = [&](FramePass pass) {
      glFinish();
      const auto now = std::chrono::steady_clock::now();
      (*passMs)[static_cast<std::size_t>(pass)] += std::chrono::duration<double, std::milli>(now - last).count();
      last = now;
    };
  }
  RenderFrame(in);
  glFinish();
}

std::size_t PreviewWorld::DrawnTriangles() const {
  std::size_t count = 0;
  const auto add = [&](const DrawList& list) {
    for (const SubMesh* sub : list) {
      if (sub->visible) count += static_cast<std::size_t>(sub->vertexCount / 3);
    }
  };
  for (const ModelSlot& slot : state_->slots) {
    if (slot.enabled) add(slot.all);
  }
  add(state_->global.all);
  return count;
}

}  // namespace preview
