// The generated data set against the names and formats the program looks up: every
// texture, model, animation, effect and file exists in the kind the loaders take,
// every material resolves, nothing in the data set is left unused, and the archive
// holds exactly the tree and unpacks safely.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>

#include "app/archive.h"
#include "base/byte_io.h"
#include "assets/image.h"
#include "assets/material.h"
#include "data/data_set.h"
#include "render/fx/fx_format.h"
#include "platform/zip_archive.h"
#include "support/temp_dir.h"

namespace {

using namespace data_set;

std::string Bytes(const std::string& relative) {
  std::string bytes, error;
  EXPECT_TRUE(bytes::ReadWholeFile(PathOf(relative), bytes, error)) << error;
  return bytes;
}

// PNG: bit depth and colour type from the header (IHDR follows the signature).
void PngKind(const std::string& bytes, int& depth, int& colourType) {
  depth = bytes.size() > 25 ? static_cast<unsigned char>(bytes[24]) : -1;
  colourType = bytes.size() > 25 ? static_cast<unsigned char>(bytes[25]) : -1;
}

// JPEG: the component count of the first frame header.
int JpegComponents(const std::string& bytes) {
  std::size_t i = 2;
  while (i + 9 < bytes.size()) {
    if (static_cast<unsigned char>(bytes[i]) != 0xFF) return -1;
    const unsigned char marker = static_cast<unsigned char>(bytes[i + 1]);
    const std::size_t length = (static_cast<unsigned char>(bytes[i + 2]) << 8) | static_cast<unsigned char>(bytes[i + 3]);
    if (marker >= 0xC0 && marker <= 0xC2) return static_cast<unsigned char>(bytes[i + 9]);
    i += 2 + length;
  }
  return -1;
}

std::set<std::string> AsSet(const std::vector<std::string>& list) { return {list.begin(), list.end()}; }

TEST(DataSetFiles, EveryFixedFileIsThereAndNotEmpty) {
  for (const char* file : {"loader.jpg", "properties/props.scr", "music/osprey.mp3", "cameras/cameras.cam", "Robot/frame",
                           "Robot/releasing_anim", "Robot/run_anim", "Robot/breaking_wall_anim", "Robot/dance_anim"}) {
    EXPECT_GT(Bytes(file).size(), 0u) << file;
  }
  for (const std::string& name : ModelNames()) {
    EXPECT_GT(Bytes("models/" + name + ".geo").size(), 8u) << name;
  }
  for (const std::string& name : AnimationNames()) {
    EXPECT_GT(Bytes("animations/" + name + ".ani").size(), 4u) << name;
  }
  EXPECT_EQ(JpegComponents(Bytes("loader.jpg")), 3);
}

TEST(DataSetFiles, EveryLookedUpTextureExistsOnceAsAnEightBitPngOrColourJpeg) {
  const auto png = AsSet(Stems("textures", ".png"));
  const auto jpg = AsSet(Stems("textures", ".jpg"));
  for (const std::string& name : TextureNames()) {
    EXPECT_TRUE(png.count(name) + jpg.count(name) == 1) << name;
  }
  for (const std::string& name : png) {
    EXPECT_EQ(jpg.count(name), 0u) << name << " twice: the JPEG would replace the PNG";
    int depth = 0, type = 0;
    PngKind(Bytes("textures/" + name + ".png"), depth, type);
    EXPECT_EQ(depth, 8) << name;
    EXPECT_TRUE(type == 2 || type == 6) << name << " colour type " << type;  // RGB or RGBA
  }
  for (const std::string& name : jpg) {
    EXPECT_EQ(JpegComponents(Bytes("textures/" + name + ".jpg")), 3) << name;
  }
  // The loader picks the decoder by the third letter from the end: lower case only.
  for (const std::string& file : Files()) {
    if (file.rfind("textures/", 0) != 0) continue;
    const std::string extension = file.substr(file.rfind('.'));
    EXPECT_TRUE(extension == ".png" || extension == ".jpg") << file;
  }
}

TEST(DataSetFiles, CardsAndMasksHaveTheirSizesAndTransparency) {
  const std::map<std::string, std::pair<int, int>> sizes = {
      {"title1", {1920, 1080}}, {"endscreen", {1920, 1080}}, {"mask", {1024, 768}}, {"mask_big", {1920, 1080}},
      {"kestrel", {1024, 256}}, {"greetz0", {1024, 256}},    {"hud0", {512, 192}}};
  for (const auto& [name, size] : sizes) {
    Image image;
    ASSERT_TRUE(DecodePng(PathOf("textures/" + name + ".png"), image)) << name;
    EXPECT_EQ(image.width, size.first) << name;
    EXPECT_EQ(image.height, size.second) << name;
  }
  // The mask leaves the middle of the screen clear and covers the letterbox bars.
  Image mask;
  ASSERT_TRUE(DecodePng(PathOf("textures/mask_big.png"), mask));
  ASSERT_EQ(mask.bitsPerPixel, 32);
  const auto alpha = [&](int x, int y) { return mask.pixels[(static_cast<std::size_t>(y) * mask.width + x) * 4 + 3]; };
  EXPECT_EQ(alpha(mask.width / 2, mask.height / 2), 0);
  EXPECT_EQ(alpha(mask.width / 2, 2), 255);
  EXPECT_EQ(alpha(mask.width / 2, mask.height - 3), 255);
}

TEST(DataSetFiles, TheDialogPictureIsFourHundredWideAndColour) {
  Image image;
  ASSERT_TRUE(DecodeJpeg(SetupPicture(), image));
  EXPECT_EQ(image.width, 400);
  EXPECT_GE(image.height, 150);
  std::string bytes, error;
  ASSERT_TRUE(bytes::ReadWholeFile(SetupPicture(), bytes, error));
  EXPECT_EQ(JpegComponents(bytes), 3);
}

TEST(DataSetFiles, TheEffectsHoldEveryTechniqueThePassesSelect) {
  const std::map<std::string, std::vector<std::string>> techniques = {
      {"std_lighting", {"NoTexTech", "BlendNoTexTech", "BlendTexTech", "BumpTech", "DiffTexTech", "DiffTexBumpTech"}},
      {"std_lighting_glow_shadow",
       {"NoTexTech_GlowShadow", "BlendNoTexTech_GlowShadow", "BlendTexTech_GlowShadow", "BumpTech_GlowShadow",
        "DiffTexTech_GlowShadow", "DiffTexBumpTech_GlowShadow", "DiffEnvTech_GlowShadow"}},
      {"shadow_mapping", {"ShadowMapping"}},
      {"blur", {"BlurGlowTech", "BlurDofTech"}},
      {"post_process", {"DofGlowTech"}},
  };
  EXPECT_EQ(Stems("effects", ".cfx").size(), techniques.size());
  for (const auto& [effect, names] : techniques) {
    fx::EffectDesc desc;
    std::string error;
    ASSERT_TRUE(fx::ParseEffect(Bytes("effects/" + effect + ".cfx"), effect, desc, error)) << error;
    for (const std::string& name : names) {
      const bool found = std::any_of(desc.techniques.begin(), desc.techniques.end(),
                                     [&](const fx::TechniqueDesc& t) { return t.name == name && !t.passes.empty(); });
      EXPECT_TRUE(found) << effect << ": " << name;
    }
    for (const fx::CodeBlock& block : desc.blocks) {
      if (!block.file.empty()) {
        EXPECT_GT(Bytes("effects/" + block.file).size(), 0u) << block.file;
      }
    }
  }
}

TEST(DataSetFiles, EveryMaterialResolvesAndSaysHowItIsDrawn) {
  const auto textures = AsSet(Stems("textures", ".png"));
  const auto jpegs = AsSet(Stems("textures", ".jpg"));
  const std::set<std::string> translucent = {"glass", "light_pool", "light_shaft"};
  const auto stems = Stems("materials", ".mat");
  ASSERT_FALSE(stems.empty());
  for (const std::string& stem : stems) {
    std::string error;
    const auto material = ReadMaterialFile(PathOf("materials/" + stem + ".mat"), error);
    ASSERT_NE(material, nullptr) << error;
    EXPECT_EQ(material->name, stem) << "the glow test reads the Name, the sub-meshes the file stem";
    EXPECT_EQ(Bytes("materials/" + stem + ".mat").front(), '<') << stem;
    if (translucent.count(stem)) {
      EXPECT_LT(material->opacity, 1.0f) << stem;
    } else {
      EXPECT_GE(material->opacity, 1.0f) << stem << " must state Opacity 1 to be drawn opaque";
    }
    if (material->name.rfind("glow", 0) == 0) {
      // Glowing: emitting strongly, or showing its picture lit by its own ambient colour.
      const float emission = material->emissive[0] + material->emissive[1] + material->emissive[2];
      const float ambient = material->ambient[0] + material->ambient[1] + material->ambient[2];
      EXPECT_TRUE(emission > 0.5f || (!material->diffuseMapName.empty() && ambient >= 2.0f)) << stem;
    }
    for (const std::string* map : {&material->diffuseMapName, &material->bumpMapName, &material->opacityMapName}) {
      if (!map->empty()) {
        EXPECT_EQ(textures.count(*map) + jpegs.count(*map), 1u) << stem << ": " << *map;
      }
    }
    if (!material->environmentMapName.empty()) {
      for (const char* face : {"x_pos", "x_neg", "y_pos", "y_neg", "z_pos", "z_neg"}) {
        const std::string file = "images/" + material->environmentMapName + face + ".jpg";
        EXPECT_EQ(JpegComponents(Bytes(file)), 3) << file;
      }
    }
  }
}

TEST(DataSetFiles, TheEnvironmentFacesAreSquareColourPicturesOfOneSize) {
  int size = 0;
  for (const char* face : {"x_pos", "x_neg", "y_pos", "y_neg", "z_pos", "z_neg"}) {
    Image image;
    ASSERT_TRUE(DecodeJpeg(PathOf(std::string("images/env_") + face + ".jpg"), image)) << face;
    EXPECT_EQ(image.width, image.height);
    if (size == 0) size = image.width;
    EXPECT_EQ(image.width, size);
  }
}

// Every file is read by the program: a fixed name, a material, a texture a material
// uses, a face of a used cube map, an effect or the code its effects include.
TEST(DataSetFiles, NothingInTheDataSetGoesUnused) {
  std::set<std::string> used = {"loader.jpg",          "properties/props.scr",      "music/osprey.mp3",
                                "cameras/cameras.cam", "Robot/frame",               "Robot/releasing_anim",
                                "Robot/run_anim",      "Robot/breaking_wall_anim",  "Robot/dance_anim"};
  for (const std::string& name : ModelNames()) used.insert("models/" + name + ".geo");
  for (const std::string& name : AnimationNames()) used.insert("animations/" + name + ".ani");
  for (const std::string& name : Stems("effects", ".cfx")) used.insert("effects/" + name + ".cfx");
  used.insert("effects/lighting.glsl");  // the lighting effects' shared code
  const auto addTexture = [&](const std::string& name) {
    used.insert("textures/" + name + ".png");
    used.insert("textures/" + name + ".jpg");
  };
  for (const std::string& name : TextureNames()) addTexture(name);
  std::set<std::string> cubeMaps = {"env_"};
  for (const std::string& stem : Stems("materials", ".mat")) {
    used.insert("materials/" + stem + ".mat");
    std::string error;
    const auto material = ReadMaterialFile(PathOf("materials/" + stem + ".mat"), error);
    ASSERT_NE(material, nullptr);
    for (const std::string* map : {&material->diffuseMapName, &material->bumpMapName, &material->opacityMapName}) {
      if (!map->empty()) addTexture(*map);
    }
    if (!material->environmentMapName.empty()) cubeMaps.insert(material->environmentMapName);
  }
  for (const std::string& prefix : cubeMaps) {
    for (const char* face : {"x_pos", "x_neg", "y_pos", "y_neg", "z_pos", "z_neg"}) used.insert("images/" + prefix + face + ".jpg");
  }
  for (const std::string& file : Files()) {
    EXPECT_TRUE(used.count(file)) << file << " is never read";
  }
}

TEST(DataSetArchive, ListsEveryFolderBeforeItsFilesWithSafeNames) {
  platform::ZipReader zip;
  ASSERT_TRUE(zip.Open(Archive())) << zip.Error();
  std::set<std::string> folders;
  std::vector<std::string> files;
  for (bool more = zip.First(); more; more = zip.Next()) {
    platform::ZipEntryInfo info;
    ASSERT_TRUE(zip.CurrentInfo(info));
    EXPECT_EQ(info.name.find('\\'), std::string::npos) << info.name;
    EXPECT_FALSE(SafeEntryPath(info.name).empty()) << info.name;
    EXPECT_LT(info.name.size(), 260u);
    if (info.name.back() == '/') {
      folders.insert(info.name);
      continue;
    }
    const std::size_t slash = info.name.rfind('/');
    if (slash != std::string::npos) {
      EXPECT_TRUE(folders.count(info.name.substr(0, slash + 1))) << info.name;
    }
    EXPECT_GT(info.uncompressedSize, 0u) << info.name;
    files.push_back(info.name);
  }
  EXPECT_TRUE(folders.count("Robot/"));
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, Files()) << "the archive holds exactly the unpacked tree";
}

TEST(DataSetArchive, UnpacksToTheSameBytesAsTheTree) {
  testing_support::TempDir dir;
  std::vector<std::string> messages;
  ASSERT_TRUE(UnpackArchive(Archive(), dir.Path() + "/", messages));
  EXPECT_TRUE(messages.empty());
  for (const std::string& file : Files()) {
    EXPECT_EQ(testing_support::ReadFile(dir.File(file)), Bytes(file)) << file;
  }
}

}  // namespace
