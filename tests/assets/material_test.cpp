// Material files: reading, writing, and what the reader makes of unusual files.
#include "assets/material.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "base/byte_io.h"
#include "support/temp_dir.h"

namespace {

using testing::ElementsAre;
using testing::HasSubstr;
using testing_support::TempDir;
using testing_support::WriteFile;

class MaterialFile : public ::testing::Test {
 protected:
  std::unique_ptr<Material> Read(const std::string& xml) {
    WriteFile(path_, xml);
    error_.clear();
    return ReadMaterialFile(path_, error_);
  }
  TempDir dir_;
  std::string path_ = dir_.File("red.mat");
  std::string error_;
};

TEST_F(MaterialFile, ReadsEveryPropertyAndMap) {
  const auto material = Read(
      "<Material Name=\"glowing_sign\">\n"
      "  <Property Type=\"Ambient\" Value=\"0.1;0.2;0.3\"/>\n"
      "  <Property Type=\"Diffuse\" Value=\"0.4;0.5;0.6\"/>\n"
      "  <Property Type=\"Specular\" Value=\"0.7;0.8;0.9\"/>\n"
      "  <Property Type=\"Emissive\" Value=\"1;2;3;0.5\"/>\n"
      "  <Property Type=\"Opacity\" Value=\"0.75\"/>\n"
      "  <Property Type=\"Glossiness\" Value=\"12.5\"/>\n"
      "  <Property Type=\"SpecularLevel\" Value=\"2\"/>\n"
      "  <Property Type=\"EmissiveAmount\" Value=\"-1e-2\"/>\n"
      "  <Property Type=\"Rim\" Value=\"0.7\"/>\n"
      "  <Textures>\n"
      "    <Texture Type=\"Diffuse\" File=\"textures\\steel_d.png\"/>\n"
      "    <Texture Type=\"Opacity\" File=\"maps/wood.final.jpg\"/>\n"
      "    <Texture Type=\"Bump\" File=\"bump\"/>\n"
      "    <Texture Type=\"Gloss\" File=\"ignored.png\"/>\n"
      "    <Texture Type=\"Environment\" File=\"images\\env_.jpg\" Reflection=\"0.35\"/>\n"
      "  </Textures>\n"
      "</Material>\n");
  ASSERT_NE(material, nullptr) << error_;
  EXPECT_EQ(material->name, "glowing_sign");  // not the file's name
  EXPECT_THAT(material->ambient, ElementsAre(0.1f, 0.2f, 0.3f, 1.0f));
  EXPECT_THAT(material->diffuse, ElementsAre(0.4f, 0.5f, 0.6f, 1.0f));
  EXPECT_THAT(material->specular, ElementsAre(0.7f, 0.8f, 0.9f, 1.0f));
  EXPECT_THAT(material->emissive, ElementsAre(1.0f, 2.0f, 3.0f, 1.0f));  // alpha is never read
  EXPECT_FLOAT_EQ(material->opacity, 0.75f);
  EXPECT_FLOAT_EQ(material->glossiness, 12.5f);
  EXPECT_FLOAT_EQ(material->specularLevel, 2.0f);
  EXPECT_FLOAT_EQ(material->emissiveAmount, -0.01f);
  EXPECT_FLOAT_EQ(material->rimLevel, 0.7f);
  EXPECT_EQ(material->diffuseMapName, "steel_d");
  EXPECT_EQ(material->opacityMapName, "wood.final");
  EXPECT_EQ(material->bumpMapName, "bump");
  EXPECT_EQ(material->environmentMapName, "env_");
  EXPECT_FLOAT_EQ(material->reflectionLevel, 0.35f);
  EXPECT_EQ(material->diffuseMap, nullptr);  // bound later, by the resolution pass
}

TEST_F(MaterialFile, ValuesScanLikeScanfAndUnknownPropertiesChangeNothing) {
  const auto material = Read(
      "<m Name=\"n\">"
      "<p Type=\"Ambient\" Value=\"0.5;0.25\"/>"          // blue keeps its default
      "<p Type=\"Diffuse\" Value=\"  0.5; 0.125x;9\"/>"   // white space skipped, x stops it
      "<p Type=\"Specular\" Value=\"abc\"/>"
      "<p Type=\"Glossiness\" Value=\"1,5\"/>"            // "C" form: the comma ends the number
      "<p Type=\"ambient\" Value=\"9;9;9\"/>"             // letter case counts
      "<p Type=\"Opacity\"/>"                              // no value
      "<p Value=\"0.9\"/>"                                 // no type
      "<Texture Type=\"Diffuse\" File=\"outside.png\"/>"   // outside a texture section
      "</m>");
  ASSERT_NE(material, nullptr) << error_;
  EXPECT_THAT(material->ambient, ElementsAre(0.5f, 0.25f, 0.3f, 1.0f));
  EXPECT_THAT(material->diffuse, ElementsAre(0.5f, 0.125f, 0.6f, 1.0f));
  EXPECT_THAT(material->specular, ElementsAre(1.0f, 1.0f, 1.0f, 1.0f));
  EXPECT_FLOAT_EQ(material->glossiness, 1.0f);
  EXPECT_FLOAT_EQ(material->opacity, 0.0f);  // no "Opacity": translucent
  EXPECT_EQ(material->diffuseMapName, "");
}

TEST_F(MaterialFile, TheFirstEndTagOutsideATextureSectionEndsTheMaterial) {
  // A property written with its own end tag ends the material there.
  auto material = Read(
      "<m Name=\"n\"><p Type=\"Opacity\" Value=\"0.5\"></p>"
      "<p Type=\"Glossiness\" Value=\"7\"/></m>");
  ASSERT_NE(material, nullptr) << error_;
  EXPECT_FLOAT_EQ(material->opacity, 0.5f);
  EXPECT_FLOAT_EQ(material->glossiness, 0.3f);

  // A self-closing texture section reads on to the end of the file: the properties
  // after it are not applied, the texture elements are.
  material = Read(
      "<m Name=\"n\"><Textures/><p Type=\"Opacity\" Value=\"0.5\"/>"
      "<Texture Type=\"Bump\" File=\"b.png\"/></m>");
  ASSERT_NE(material, nullptr) << error_;
  EXPECT_FLOAT_EQ(material->opacity, 0.0f);
  EXPECT_EQ(material->bumpMapName, "b");

  // A texture element without "File" ends the section; what follows goes back to
  // the properties, up to the next end tag (here the section's own).
  material = Read(
      "<m Name=\"n\"><Textures><Texture Type=\"Diffuse\"/>"
      "<p Type=\"Opacity\" Value=\"0.5\"/><Texture Type=\"Bump\" File=\"b\"/></Textures>"
      "<p Type=\"Glossiness\" Value=\"7\"/></m>");
  ASSERT_NE(material, nullptr) << error_;
  EXPECT_FLOAT_EQ(material->opacity, 0.5f);
  EXPECT_EQ(material->bumpMapName, "");
  EXPECT_FLOAT_EQ(material->glossiness, 0.3f);

  // An environment map without "Reflection" keeps the reflection level.
  material = Read("<m Name=\"n\"><Textures><Texture Type=\"Environment\" File=\"e\"/></Textures></m>");
  ASSERT_NE(material, nullptr) << error_;
  EXPECT_EQ(material->environmentMapName, "e");
  EXPECT_FLOAT_EQ(material->reflectionLevel, 0.0f);
}

TEST_F(MaterialFile, WhatMayPrecedeTheRootElementIsAccepted) {
  for (const char* prefix : {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n", "\n  \t",
                             "<!-- written by hand -->\n", "<?xml version=\"1.0\"?><!--c--><?pi x?>"}) {
    const auto material = Read(std::string(prefix) + "<m Name=\"n\"><p Type=\"Opacity\" Value=\"1\"/></m>");
    ASSERT_NE(material, nullptr) << prefix << ": " << error_;
    EXPECT_FLOAT_EQ(material->opacity, 1.0f);
  }
}

TEST_F(MaterialFile, FilesThatAreNotMaterialsFailWithAMessageNamingThem) {
  const struct {
    const char* xml;
    const char* why;
  } cases[] = {
      {"<m><p Type=\"Opacity\" Value=\"1\"/></m>", "Name"},
      {"", ""},
      {"just text", ""},
      {"<m Name=\"n\"><p Type=\"Opacity\" Value=\"1\"/>", ""},      // never closed
      {"<m Name=\"n\"><p Type=\"Opacity\" Value=\"1\"></m>", ""},  // mismatched tags
      {"<m Name=\"n\"/><second/>", ""},                              // two roots
      {"<m Name=\"n\"/>trailing text", ""},
      {"<m Name=\"a & b\"/>", ""},
      {"<m Name=\"n\" Name=\"o\"/>", ""},
      {"<!DOCTYPE m [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
       "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\"><!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">"
       "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\"><!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\">"
       "<!ENTITY g \"&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;\"><!ENTITY h \"&g;&g;&g;&g;&g;&g;&g;&g;&g;&g;\">]>"
       "<m Name=\"&h;&h;&h;&h;&h;&h;&h;&h;&h;&h;&h;&h;&h;&h;&h;&h;\"/>",
       ""},  // entity expansion bomb
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Read(c.xml), nullptr) << c.xml;
    EXPECT_THAT(error_, HasSubstr(path_)) << c.xml;
    EXPECT_THAT(error_, HasSubstr(c.why)) << c.xml;
  }
  error_.clear();
  EXPECT_EQ(ReadMaterialFile(dir_.File("missing.mat"), error_), nullptr);
  EXPECT_THAT(error_, HasSubstr(dir_.File("missing.mat")));
}

TEST_F(MaterialFile, ExternalEntitiesAreNotFollowed) {
  WriteFile(dir_.File("secret.txt"), "secret");
  const auto material = Read("<!DOCTYPE m [<!ENTITY x SYSTEM \"" + dir_.File("secret.txt") +
                             "\">]><m Name=\"n\">&x;<p Type=\"Opacity\" Value=\"1\"/></m>");
  ASSERT_NE(material, nullptr) << error_;  // the reference stays a reference
  EXPECT_FLOAT_EQ(material->opacity, 1.0f);
}

TEST(MaterialWriter, WritesWhatTheReaderReadsBack) {
  TempDir dir;
  Material material;
  material.name = "a&b <\"q\"> \t\n\r \xC3\xA9 '";
  const float values[] = {0.1f, -2.5e-7f, 3.4e38f, 1.0f / 3.0f};
  for (int i = 0; i < 3; ++i) {
    material.ambient[i] = values[i];
    material.diffuse[i] = values[i + 1];
    material.specular[i] = -values[i];
    material.emissive[i] = values[3 - i];
  }
  material.opacity = 1.0f;
  material.glossiness = 0.1f + 0.2f;
  material.specularLevel = 7.0f;
  material.emissiveAmount = 1e-40f;  // denormal
  material.reflectionLevel = 0.6f;
  material.rimLevel = 0.45f;
  material.diffuseMapName = "steel_d";
  material.opacityMapName = "wood.final";
  material.bumpMapName = ".hidden";
  material.environmentMapName = "env_";
  std::string error;
  ASSERT_TRUE(WriteMaterialFile(dir.File("m.mat"), material, error)) << error;
  const auto back = ReadMaterialFile(dir.File("m.mat"), error);
  ASSERT_NE(back, nullptr) << error;
  EXPECT_EQ(back->name, material.name);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(back->ambient[i], material.ambient[i]);
    EXPECT_EQ(back->diffuse[i], material.diffuse[i]);
    EXPECT_EQ(back->specular[i], material.specular[i]);
    EXPECT_EQ(back->emissive[i], material.emissive[i]);
  }
  EXPECT_EQ(back->opacity, material.opacity);
  EXPECT_EQ(back->glossiness, material.glossiness);
  EXPECT_EQ(back->specularLevel, material.specularLevel);
  EXPECT_EQ(back->emissiveAmount, material.emissiveAmount);
  EXPECT_EQ(back->reflectionLevel, material.reflectionLevel);
  EXPECT_EQ(back->rimLevel, material.rimLevel);
  EXPECT_EQ(back->diffuseMapName, "steel_d");
  EXPECT_EQ(back->opacityMapName, "wood.final");
  EXPECT_EQ(back->bumpMapName, ".hidden");
  EXPECT_EQ(back->environmentMapName, "env_");

  // A reflection level without an environment map, and no maps at all.
  Material plain;
  plain.reflectionLevel = 0.25f;
  ASSERT_TRUE(WriteMaterialFile(dir.File("p.mat"), plain, error)) << error;
  const auto plainBack = ReadMaterialFile(dir.File("p.mat"), error);
  ASSERT_NE(plainBack, nullptr) << error;
  EXPECT_EQ(plainBack->reflectionLevel, 0.25f);
  EXPECT_EQ(plainBack->environmentMapName, "");
  EXPECT_EQ(plainBack->name, "");
  EXPECT_EQ(plainBack->rimLevel, 0.0f);
  // Without a rim light the file says nothing of one, as files made before it.
  std::string bytes;
  ASSERT_TRUE(bytes::ReadWholeFile(dir.File("p.mat"), bytes, error)) << error;
  EXPECT_EQ(bytes.find("Rim"), std::string::npos) << bytes;
}

TEST(MaterialWriter, RefusesNamesTheFileCannotCarry) {
  TempDir dir;
  std::string error;
  Material control;
  control.name = std::string("bell\a");
  EXPECT_FALSE(WriteMaterialFile(dir.File("a.mat"), control, error));
  Material bytes;
  bytes.name = "\xC3";  // a cut-off UTF-8 sequence
  EXPECT_FALSE(WriteMaterialFile(dir.File("b.mat"), bytes, error));
  Material folder;
  folder.diffuseMapName = "textures/steel";
  EXPECT_FALSE(WriteMaterialFile(dir.File("c.mat"), folder, error));
  EXPECT_THAT(error, HasSubstr("c.mat"));
  EXPECT_FALSE(testing_support::FileExists(dir.File("a.mat")));
  EXPECT_FALSE(WriteMaterialFile(dir.File("no/folder/d.mat"), Material(), error));
}

}  // namespace
