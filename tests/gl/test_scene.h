#pragma once
// A small scene built in code for the rendering tests, the screenshot and the frame
// benchmark: a floor and a back wall, lit objects with every kind of material (plain,
// textured, bump-mapped, reflective, translucent), a glowing lamp, and a light that
// throws their shadows onto the floor. Needs a current GL context.
#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "anim/math.h"
#include "assets/effect.h"
#include "assets/material.h"
#include "assets/model.h"
#include "assets/texture.h"
#include "render/fx/fx.h"
#include "platform/gl.h"
#include "render/cg_context.h"
#include "render/draw_lists.h"
#include "render/frame.h"
#include "render/lighting.h"
#include "render/noise_texture.h"
#include "render/scene_interface.h"
#include "support/geometry.h"

namespace test_scene {

using testing_support::Geometry;

// Adds a mesh of one sub-mesh per (geometry, material) to the model, with bounds and an
// uploaded vertex buffer.
inline Mesh* AddMesh(Model& model, const std::string& name,
                     std::vector<std::pair<Geometry, Material*>> parts) {
  auto mesh = std::make_unique<Mesh>();
  mesh->name = name;
  for (auto& [geometry, material] : parts) {
    auto subMesh = std::make_unique<SubMesh>();
    subMesh->vertices = std::move(geometry.vertices);
    subMesh->vertexCount = static_cast<int>(subMesh->vertices.size() / model_file::kFloatsPerVertex);
    model_file::ComputeBounds(subMesh->vertices.data(), static_cast<size_t>(subMesh->vertexCount),
                              subMesh->boundingBox, subMesh->boundingSphere);
    subMesh->material = material;
    subMesh->owner = mesh.get();
    subMesh->Upload();
    mesh->subMeshes.push_back(std::move(subMesh));
  }
  model.meshes.push_back(std::move(mesh));
  return model.meshes.back().get();
}

// The view matrix of a camera at eye looking at target.
inline sm::Mat4 LookAt(const sm::Vec3& eye, const sm::Vec3& target, const sm::Vec3& up) {
  const sm::Vec3 f = sm::Normalized(sm::Vec3(target.x - eye.x, target.y - eye.y, target.z - eye.z));
  const sm::Vec3 s = sm::Normalized(sm::Cross(f, up));
  const sm::Vec3 u = sm::Cross(s, f);
  sm::Mat4 m;
  m.a[0] = s.x;
  m.a[4] = s.y;
  m.a[8] = s.z;
  m.a[1] = u.x;
  m.a[5] = u.y;
  m.a[9] = u.z;
  m.a[2] = -f.x;
  m.a[6] = -f.y;
  m.a[10] = -f.z;
  m.a[12] = -sm::Dot(s, eye);
  m.a[13] = -sm::Dot(u, eye);
  m.a[14] = sm::Dot(f, eye);
  return m;
}

// A mipmapped RGB checkerboard of cells × cells squares.
inline std::unique_ptr<Texture> Checker(int size, int cells, const unsigned char a[3], const unsigned char b[3]) {
  std::vector<unsigned char> pixels(static_cast<size_t>(size) * size * 3);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const bool odd = ((x * cells / size) + (y * cells / size)) % 2 != 0;
      const unsigned char* c = odd ? a : b;
      for (int k = 0; k < 3; ++k) pixels[(static_cast<size_t>(y) * size + x) * 3 + k] = c[k];
    }
  }
  auto texture = std::make_unique<Texture>(size, size, 24, pixels.data(), GL_REPEAT, GL_LINEAR_MIPMAP_LINEAR,
                                           GL_LINEAR, true);
  glBindTexture(GL_TEXTURE_2D, 0);
  return texture;
}

// A tangent-space normal map of round bumps, cells × cells of them.
inline std::unique_ptr<Texture> Bumps(int size, int cells) {
  std::vector<unsigned char> pixels(static_cast<size_t>(size) * size * 3);
  const float cell = static_cast<float>(size) / static_cast<float>(cells);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const float u = std::fmod(static_cast<float>(x), cell) / cell * 2.0f - 1.0f;
      const float v = std::fmod(static_cast<float>(y), cell) / cell * 2.0f - 1.0f;
      const float d = u * u + v * v;
      sm::Vec3 n(0, 0, 1);
      if (d < 0.64f) n = sm::Normalized(sm::Vec3(u, v, 0.6f));
      const float c[3] = {n.x, n.y, n.z};
      for (int k = 0; k < 3; ++k) {
        pixels[(static_cast<size_t>(y) * size + x) * 3 + k] = static_cast<unsigned char>((c[k] * 0.5f + 0.5f) * 255.0f);
      }
    }
  }
  auto texture = std::make_unique<Texture>(size, size, 24, pixels.data(), GL_REPEAT, GL_LINEAR_MIPMAP_LINEAR,
                                           GL_LINEAR, true);
  glBindTexture(GL_TEXTURE_2D, 0);
  return texture;
}

// A cube map of a sky: blue above, warm below, a bright band at the horizon.
inline unsigned SkyCube() {
  const int size = 32;
  unsigned name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_CUBE_MAP, name);
  glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  std::vector<unsigned char> pixels(size * size * 3);
  for (int face = 0; face < 6; ++face) {
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        // Face-local up is -t for the side faces of a GL cube map.
        float up = face == 2 ? 1.0f : face == 3 ? -1.0f : 1.0f - 2.0f * (static_cast<float>(y) + 0.5f) / size;
        const float band = std::exp(-up * up * 30.0f);
        unsigned char* p = &pixels[(static_cast<size_t>(y) * size + x) * 3];
        p[0] = static_cast<unsigned char>(std::fmin(255.0f, (up > 0 ? 60.0f : 140.0f) + 180.0f * band));
        p[1] = static_cast<unsigned char>(std::fmin(255.0f, (up > 0 ? 110.0f : 90.0f) + 170.0f * band));
        p[2] = static_cast<unsigned char>(std::fmin(255.0f, (up > 0 ? 220.0f : 60.0f) + 120.0f * band));
      }
    }
    glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, 0, GL_RGB, size, size, 0, GL_RGB, GL_UNSIGNED_BYTE,
                 pixels.data());
  }
  glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
  return name;
}

inline std::unique_ptr<Material> MakeMaterial(const std::string& name, float r, float g, float b,
                                              float opacity = 1.0f) {
  auto m = std::make_unique<Material>();
  m->name = name;
  m->ambient[0] = 0.25f * r;
  m->ambient[1] = 0.25f * g;
  m->ambient[2] = 0.25f * b;
  m->diffuse[0] = r;
  m->diffuse[1] = g;
  m->diffuse[2] = b;
  m->specular[0] = m->specular[1] = m->specular[2] = 0.9f;
  m->opacity = opacity;
  m->specularLevel = 1.0f;
  return m;
}

// The five effects of content/effects, compiled with a context of their own.
struct Effects {
  std::unique_ptr<fx::Context> context;
  std::unique_ptr<Effect> standard, glowShadow, shadowMapping, blur, postProcess;

  // folder: content/effects of the source tree, ending with '/'.
  bool Load(const std::string& folder, std::string& error) {
    if (!CreateCgContext(context)) {
      error = "no effect context";
      return false;
    }
    auto load = [&](const char* name, std::unique_ptr<Effect>& effect) {
      auto handle = context->CreateEffectFromFile(folder + name + ".cfx", &error);
      if (handle) effect = std::make_unique<Effect>(std::move(handle));
      return effect != nullptr;
    };
    return load("std_lighting", standard) && load("std_lighting_glow_shadow", glowShadow) &&
           load("shadow_mapping", shadowMapping) && load("blur", blur) && load("post_process", postProcess);
  }
};

// The whole scene with its draw lists and render targets, as the frame sees it. The
// scene also stands in for the timeline scene: it only moves the light.
class Scene final : public IScene {
 public:
  int width = 0;
  int height = 0;
  Effects effects;
  std::vector<std::unique_ptr<Texture>> textures;
  std::vector<std::unique_ptr<Material>> materials;
  std::vector<std::unique_ptr<Model>> models;
  unsigned skyCube = 0;
  ModelSlots slots;
  GlobalDrawLists global;
  std::vector<Model*> globalModels;
  std::unique_ptr<SceneRenderer> renderer;
  std::unique_ptr<MainTargets> targets;
  std::unique_ptr<BlurTarget> glowBlur, dofBlur;
  std::unique_ptr<ShadowTarget> shadow;
  unsigned noise = 0;
  sm::Mat4 view, projection, lightView;
  Mesh* lamp = nullptr;
  int glowCalls = 0;

  ~Scene() {
    if (noise != 0) glDeleteTextures(1, &noise);
  }

  void Update(float, float) override {}
  void DrawOpaque(float, float) override {}
  void DrawGlow(float, float) override { ++glowCalls; }
  void DrawTranslucent(float, float) override {}
  void SetActive(bool) override {}
  bool IsActiveAt(float) override { return true; }
  std::vector<Model*>& GetModels() override { return globalModels; }
  void AdjustLight(sm::Mat4& light) override { light = lightView; }

  Material* AddMaterial(std::unique_ptr<Material> m) {
    materials.push_back(std::move(m));
    return materials.back().get();
  }
  Texture* AddTexture(std::unique_ptr<Texture> t) {
    textures.push_back(std::move(t));
    return textures.back().get();
  }
  Model* AddModel() {
    models.push_back(std::make_unique<Model>());
    return models.back().get();
  }

  // The frame record for this scene, drawing into outputFramebuffer.
  FrameInputs Inputs(unsigned outputFramebuffer = 0) {
    FrameInputs in;
    in.timeMs = 1000.0f;
    in.stepMs = 16.0f;
    in.width = width;
    in.height = height;
    in.view = view;
    in.projection = projection;
    in.scene = this;
    in.slots = &slots;
    in.global = &global;
    in.renderer = renderer.get();
    in.targets = targets.get();
    in.glowBlur = glowBlur.get();
    in.dofBlur = dofBlur.get();
    in.shadow = shadow.get();
    in.postProcess = effects.postProcess.get();
    in.noiseTexture = noise;
    // Focus on the objects in the middle; the back wall and the near floor go soft.
    in.depthOfField.focal = 760.0f;
    in.depthOfField.focalFalloff = 0.0000025f;
    in.outputFramebuffer = outputFramebuffer;
    return in;
  }
};

// Builds the scene for a width×height screen with the effects of effectsFolder
// (content/effects/). Null with error set when an effect does not load.
inline std::unique_ptr<Scene> BuildScene(int width, int height, const std::string& effectsFolder,
                                         std::string& error) {
  auto scene = std::make_unique<Scene>();
  Scene& s = *scene;
  s.width = width;
  s.height = height;
  if (!s.effects.Load(effectsFolder, error)) return nullptr;

  const unsigned char light[3] = {200, 200, 196};
  const unsigned char dark[3] = {120, 120, 124};
  const unsigned char orange[3] = {240, 150, 40};
  const unsigned char cream[3] = {250, 235, 200};
  Texture* floorTexture = s.AddTexture(Checker(256, 8, light, dark));
  Texture* crate = s.AddTexture(Checker(128, 4, orange, cream));
  Texture* bumps = s.AddTexture(Bumps(256, 8));
  const unsigned char steel[3] = {170, 175, 185};
  Texture* steelTexture = s.AddTexture(Checker(16, 1, steel, steel));

  Material* floor = s.AddMaterial(MakeMaterial("floor", 0.9f, 0.9f, 0.9f));
  floor->diffuseMap = floorTexture;
  floor->specularLevel = 0.3f;
  Material* wall = s.AddMaterial(MakeMaterial("wall", 0.35f, 0.45f, 0.6f));
  Material* red = s.AddMaterial(MakeMaterial("red_plastic", 0.85f, 0.12f, 0.1f));
  Material* box = s.AddMaterial(MakeMaterial("crate", 1.0f, 1.0f, 1.0f));
  box->diffuseMap = crate;
  Material* bumpy = s.AddMaterial(MakeMaterial("bumpy", 0.3f, 0.8f, 0.35f));
  bumpy->diffuseMap = steelTexture;
  bumpy->bumpMap = bumps;
  Material* chrome = s.AddMaterial(MakeMaterial("chrome", 0.8f, 0.8f, 0.8f));
  chrome->diffuseMap = steelTexture;
  s.skyCube = SkyCube();
  chrome->SetEnvironmentMap(s.skyCube);
  chrome->reflectionLevel = 0.6f;
  Material* glass = s.AddMaterial(MakeMaterial("glass", 0.5f, 0.8f, 1.0f, 0.35f));
  Material* lamp = s.AddMaterial(MakeMaterial("glow_lamp", 1.0f, 0.9f, 0.4f));
  lamp->emissive[0] = 0.9f;
  lamp->emissive[1] = 0.7f;
  lamp->emissive[2] = 0.2f;

  // The room, switched as a slot.
  Model* room = s.AddModel();
  {
    Geometry ground;
    ground.Quad({-1600, 0, 900}, {1600, 0, 900}, {1600, 0, -600}, {-1600, 0, -600}, {0, 1, 0}, 12.0f);
    Geometry back;
    back.Quad({-1600, 0, -600}, {1600, 0, -600}, {1600, 900, -600}, {-1600, 900, -600}, {0, 0, 1});
    AddMesh(*room, "floor", {{std::move(ground), floor}, {std::move(back), wall}});
  }
  s.slots[0].AddModel(room);

  // The objects, drawn as the global group.
  Model* things = s.AddModel();
  {
    Geometry g;
    g.Sphere({-260, 90, 40}, 90);
    AddMesh(*things, "red_ball", {{std::move(g), red}});
  }
  {
    Geometry g;
    g.Box({-20, 70, -160}, 70, 70, 70);
    AddMesh(*things, "crate", {{std::move(g), box}});
  }
  {
    Geometry g;
    g.Sphere({230, 85, 20}, 85, 40, 20);
    AddMesh(*things, "bumpy_ball", {{std::move(g), bumpy}});
  }
  {
    Geometry g;
    g.Sphere({60, 55, 200}, 55);
    AddMesh(*things, "chrome_ball", {{std::move(g), chrome}});
  }
  {
    Geometry g;
    g.Quad({-120, 0, 330}, {-20, 0, 330}, {-20, 170, 330}, {-120, 170, 330}, {0, 0, 1});
    AddMesh(*things, "glass_pane", {{std::move(g), glass}});
  }
  {
    Geometry post;
    post.Box({-160, 120, -330}, 12, 120, 12);
    Geometry bulb;
    bulb.Sphere({-160, 280, -330}, 45);
    s.lamp = AddMesh(*things, "lamp", {{std::move(post), wall}, {std::move(bulb), lamp}});
  }
  s.globalModels.push_back(things);
  BuildDrawLists(s.globalModels, s.global, s.slots);

  s.view = LookAt({0, 330, 760}, {0, 60, 0}, {0, 1, 0});
  sm::Perspective(s.projection, 60.0f, static_cast<float>(width) / static_cast<float>(height), 10.0f, 8000.0f);
  s.lightView = LookAt({-650, 1100, 550}, {0, 0, -40}, {0, 1, 0});

  LightingEffects lighting{s.effects.standard.get(), s.effects.glowShadow.get()};
  s.renderer = std::make_unique<SceneRenderer>(lighting);
  s.targets = CreateMainTargets(width, height);
  s.glowBlur = CreateBlurTarget(s.effects.blur.get(), width / 8, height / 8);
  s.dofBlur = CreateBlurTarget(s.effects.blur.get(), width / 4, height / 4);
  s.shadow = CreateShadowTarget(width, height, s.effects.shadowMapping.get());
  s.noise = CreateNoiseTexture(height);
  return scene;
}

}  // namespace test_scene
