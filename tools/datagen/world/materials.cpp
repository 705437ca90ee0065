#include "datagen/world/materials.h"

#include "assets/material.h"
#include "datagen/pipeline/output_tree.h"
#include "datagen/overlays/signs.h"
#include "datagen/texture/surfaces.h"
#include "datagen/texture/text.h"

namespace datagen {
namespace {

// How strongly the rim light draws the robot's silhouette.
constexpr float kRobotRim = 0.7f;

MaterialLook Plain(const std::string& name, Color diffuse, float specularLevel = 0.4f) {
  MaterialLook m;
  m.name = name;
  m.diffuse = diffuse;
  m.specularLevel = specularLevel;
  return m;
}

MaterialLook Mapped(const std::string& name, Color tint, const std::string& diffuseMap, const std::string& bumpMap = "",
                    float specularLevel = 0.4f) {
  MaterialLook m = Plain(name, tint, specularLevel);
  m.diffuseMap = diffuseMap;
  m.bumpMap = bumpMap;
  return m;
}

MaterialLook Glow(const std::string& name, Color diffuse, Color emissive) {
  MaterialLook m = Plain(name, diffuse, 0.2f);
  m.emissive = emissive;
  return m;
}

// Lamp light painted onto the floor or into the air: translucent, warm, its picture's
// alpha shaping it, and no specular light.
MaterialLook LampLight(const std::string& name, const std::string& map, float opacity, Color emissive) {
  MaterialLook m = Mapped(name, Color(1.0f, 0.9f, 0.75f), map, "", 0.0f);
  m.opacity = opacity;
  m.emissive = emissive;
  m.specular = Color(0, 0, 0);
  return m;
}

}  // namespace

const std::vector<MaterialLook>& Materials() {
  static const std::vector<MaterialLook> materials = [] {
    std::vector<MaterialLook> list;
    // The hall.
    list.push_back(Mapped("hall_floor", Color(0.72f, 0.72f, 0.72f), "concrete_d", "concrete_n", 0.25f));
    list.push_back(Mapped("hall_wall", Color(0.52f, 0.57f, 0.62f), "cladding_d", "cladding_n", 0.3f));
    list.push_back(Mapped("hall_roof", Color(0.9f, 0.9f, 0.9f), "roof_d", "", 0.2f));
    list.push_back(Mapped("hall_metal", Color(0.36f, 0.40f, 0.46f), "paint_d", "paint_n", 0.6f));
    list.push_back(Mapped("paint_yellow", Color(0.95f, 0.68f, 0.10f), "paint_d", "paint_n", 0.7f));
    list.push_back(Mapped("paint_red", Color(0.70f, 0.14f, 0.10f), "paint_d", "", 0.7f));
    list.push_back(Mapped("paint_blue", Color(0.16f, 0.32f, 0.55f), "paint_d", "", 0.7f));
    list.push_back(Mapped("paint_green", Color(0.22f, 0.42f, 0.30f), "paint_d", "", 0.6f));
    list.push_back(Mapped("paint_white", Color(0.88f, 0.88f, 0.86f), "paint_d", "", 0.5f));
    list.push_back(Mapped("hazard", Color(1, 1, 1), "hazard_d", "", 0.4f));
    list.push_back(Mapped("grating", Color(0.9f, 0.9f, 0.9f), "grating_d", "grating_n", 0.6f));
    list.push_back(Mapped("machine_steel", Color(0.75f, 0.76f, 0.78f), "brushed_d", "", 1.2f));
    list.push_back(Plain("rubber", Color(0.08f, 0.08f, 0.09f), 0.15f));
    list.push_back(Plain("monitor_glass", Color(0.02f, 0.03f, 0.04f), 1.4f));
    list.push_back(Mapped("door_steel", Color(0.55f, 0.60f, 0.66f), "door_d", "door_n", 0.8f));
    // Lights and screens.
    list.push_back(Glow("glow_lamp", Color(1.0f, 0.95f, 0.85f), Color(1.0f, 0.88f, 0.65f)));
    list.push_back(Glow("glow_monitor", Color(0.3f, 0.6f, 0.8f), Color(0.15f, 0.55f, 0.85f)));
    // Lit pictures: the texture carries the picture, a little emission keeps it lit
    // from every side.
    MaterialLook screen = Glow("glow_screen", Color(1.2f, 1.2f, 1.2f), Color(0.06f, 0.12f, 0.16f));
    screen.diffuseMap = "screen_d";
    screen.ambient = 0.8f;
    list.push_back(screen);
    MaterialLook sign = Glow("glow_sign_text", Color(1.2f, 1.1f, 1.0f), Color(0.12f, 0.06f, 0.02f));
    sign.diffuseMap = "sign_d";
    sign.ambient = 0.8f;
    list.push_back(sign);
    list.push_back(Glow("glow_sign", Color(0.9f, 0.3f, 0.1f), Color(1.0f, 0.32f, 0.06f)));
    list.push_back(Glow("glow_green", Color(0.2f, 0.9f, 0.4f), Color(0.15f, 0.95f, 0.35f)));
    list.push_back(Glow("glow_passage_light", Color(0.85f, 0.95f, 1.0f), Color(0.75f, 0.9f, 1.0f)));
    list.push_back(Glow("glow_window", Color(0.05f, 0.08f, 0.14f), Color(0.10f, 0.17f, 0.30f)));
    list.push_back(LampLight("light_pool", "pool_d", 0.7f, Color(0.35f, 0.28f, 0.18f)));
    list.push_back(LampLight("light_shaft", "shaft_d", 0.28f, Color(0.45f, 0.38f, 0.28f)));
    // The passage.
    list.push_back(Mapped("passage_floor", Color(0.9f, 0.9f, 0.92f), "tread_d", "tread_n", 0.9f));
    list.push_back(Mapped("passage_wall", Color(0.80f, 0.84f, 0.88f), "panels_d", "panels_n", 0.4f));
    list.push_back(Mapped("passage_rib", Color(0.30f, 0.33f, 0.38f), "paint_d", "paint_n", 0.8f));
    // The glass: translucent with a bright highlight. No environment map: the
    // reflective technique draws without blending, which would make the pane opaque.
    MaterialLook glass = Mapped("glass", Color(0.75f, 0.88f, 0.95f), "glass_d", "", 2.0f);
    glass.opacity = 0.24f;
    glass.specular = Color(1, 1, 1);
    list.push_back(glass);
    // The robot and the arms.
    MaterialLook chrome = Mapped("robot_chrome", Color(0.62f, 0.64f, 0.68f), "brushed_d", "", 1.5f);
    chrome.environmentMap = kEnvironmentMap;
    chrome.reflection = 0.4f;
    chrome.specular = Color(1, 1, 1);
    // The robot's own surfaces take the rim light that lifts it off the hall.
    chrome.rim = kRobotRim;
    list.push_back(chrome);
    MaterialLook dark = Plain("robot_dark", Color(0.12f, 0.12f, 0.14f), 0.8f);
    dark.rim = kRobotRim;
    list.push_back(dark);
    list.push_back(Glow("glow_robot_eye", Color(0.4f, 0.8f, 1.0f), Color(0.3f, 0.85f, 1.0f)));
    list.push_back(Glow("glow_robot_lamp", Color(1.0f, 0.6f, 0.2f), Color(1.0f, 0.55f, 0.12f)));
    for (MaterialLook look : {Mapped("robot_paint", Color(0.84f, 0.84f, 0.80f), "paint_d", "paint_n", 0.9f),
                              Mapped("robot_accent", Color(0.96f, 0.42f, 0.06f), "paint_d", "paint_n", 0.9f)}) {
      look.rim = kRobotRim;
      list.push_back(look);
    }
    list.push_back(Mapped("arm_yellow", Color(0.98f, 0.70f, 0.08f), "paint_d", "paint_n", 0.8f));
    list.push_back(Mapped("arm_steel", Color(0.55f, 0.57f, 0.60f), "brushed_d", "", 1.0f));
    list.push_back(Glow("glow_torch", Color(0.6f, 0.8f, 1.0f), Color(0.55f, 0.8f, 1.0f)));
    return list;
  }();
  return materials;
}

const std::vector<MapRecipe>& MaterialMaps() {
  static const std::vector<MapRecipe> maps = {
      {"concrete_d", "jpg", [](Fonts&) { return ConcreteFloor(1024, 11).colour; }},
      {"concrete_n", "png", [](Fonts&) { return NormalMap(ConcreteFloor(512, 11).height, 6.0f); }},
      {"cladding_d", "jpg", [](Fonts&) { return CladdingWall(1024, 21).colour; }},
      {"cladding_n", "png", [](Fonts&) { return NormalMap(CladdingWall(512, 21).height, 4.0f); }},
      {"roof_d", "jpg", [](Fonts&) { return RoofDeck(256, 31).colour; }},
      {"paint_d", "jpg", [](Fonts&) { return PaintedSteel(1024, 41).colour; }},
      {"paint_n", "png", [](Fonts&) { return NormalMap(PaintedSteel(1024, 41).height, 3.0f); }},
      {"hazard_d", "jpg", [](Fonts&) { return HazardStripes(256, 51).colour; }},
      {"grating_d", "jpg", [](Fonts&) { return Grating(512, 61).colour; }},
      {"grating_n", "png", [](Fonts&) { return NormalMap(Grating(512, 61).height, 5.0f); }},
      {"brushed_d", "jpg", [](Fonts&) { return BrushedMetal(256, 71).colour; }},
      {"door_d", "jpg", [](Fonts&) { return DoorPlate(512, 81).colour; }},
      {"door_n", "png", [](Fonts&) { return NormalMap(DoorPlate(512, 81).height, 5.0f); }},
      {"tread_d", "jpg", [](Fonts&) { return TreadPlate(512, 91).colour; }},
      {"tread_n", "png", [](Fonts&) { return NormalMap(TreadPlate(512, 91).height, 5.0f); }},
      {"panels_d", "jpg", [](Fonts&) { return CorridorPanels(512, 101).colour; }},
      {"panels_n", "png", [](Fonts&) { return NormalMap(CorridorPanels(512, 101).height, 4.0f); }},
      {"glass_d", "jpg", [](Fonts&) { return GlassPane(256, 111).colour; }},
      {"pool_d", "png", [](Fonts&) { return LightPool(256); }, 32},
      {"screen_d", "png", [](Fonts& fonts) { return MonitorReadout(fonts); }},
      {"sign_d", "png", [](Fonts& fonts) { return SignLettering(fonts, "TEST WALL  B7", 1024, 128); }},
      {"shaft_d", "png", [](Fonts&) { return LightShaft(256, 121); }, 32},
  };
  return maps;
}

bool WriteMaterials(OutputTree& tree) {
  for (const MaterialLook& look : Materials()) {
    Material m;
    m.name = look.name;
    const Color ambient = look.diffuse * look.ambient;
    const float colours[4][3] = {{ambient.r, ambient.g, ambient.b},
                                 {look.diffuse.r, look.diffuse.g, look.diffuse.b},
                                 {look.specular.r, look.specular.g, look.specular.b},
                                 {look.emissive.r, look.emissive.g, look.emissive.b}};
    float* targets[4] = {m.ambient, m.diffuse, m.specular, m.emissive};
    for (int i = 0; i < 4; ++i) {
      for (int k = 0; k < 3; ++k) targets[i][k] = colours[i][k];
    }
    m.opacity = look.opacity;
    m.specularLevel = look.specularLevel;
    m.glossiness = 0.3f;
    m.diffuseMapName = look.diffuseMap;
    m.bumpMapName = look.bumpMap;
    m.environmentMapName = look.environmentMap;
    m.reflectionLevel = look.reflection;
    m.rimLevel = look.rim;
    const std::string relative = "materials/" + look.name + ".mat";
    if (!tree.PrepareFolder(relative)) return false;
    std::string error;
    if (!WriteMaterialFile(tree.PathOf(relative), m, error)) return tree.Fail(error);
    tree.Record(relative);
  }
  return true;
}

bool WriteMaterialMaps(OutputTree& tree, Fonts& fonts) {
  for (const MapRecipe& map : MaterialMaps()) {
    const std::string relative = "textures/" + map.name + "." + map.extension;
    if (!tree.WriteImage(relative, map.paint(fonts).ToImage(map.bitsPerPixel), 88)) return false;
  }
  return true;
}

}  // namespace datagen
