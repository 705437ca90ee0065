#include "assets/material.h"

#include <locale.h>

#include <charconv>
#include <cstdio>

#include "base/log.h"
#include "base/path.h"
#include "platform/gl.h"
#include "platform/xml_reader.h"

using platform::XmlReader;

namespace {

// Numbers in material files use the "C" locale's form whatever the process locale
// is; the scan runs with the thread switched to it.
class CLocaleScope {
 public:
  CLocaleScope() {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    previous_ = cLocale != static_cast<locale_t>(0) ? uselocale(cLocale) : static_cast<locale_t>(0);
  }
  ~CLocaleScope() {
    if (previous_ != static_cast<locale_t>(0)) uselocale(previous_);
  }
  CLocaleScope(const CLocaleScope&) = delete;
  CLocaleScope& operator=(const CLocaleScope&) = delete;

 private:
  locale_t previous_;
};

// scanf's rules: white space before a number is skipped, and the scan stops at the
// first mismatch; what was scanned before it is stored, the rest is left alone.
void ScanColor(const std::string& text, float* rgb) {
  CLocaleScope locale;
  std::sscanf(text.c_str(), "%f;%f;%f", &rgb[0], &rgb[1], &rgb[2]);
}

void ScanFloat(const std::string& text, float* value) {
  CLocaleScope locale;
  std::sscanf(text.c_str(), "%f", value);
}

void ReadProperty(const XmlReader& reader, Material& material) {
  std::string type;
  if (!reader.Attribute("Type", type)) return;
  float* color = nullptr;
  float* factor = nullptr;
  if (type == "Ambient") {
    color = material.ambient;
  } else if (type == "Diffuse") {
    color = material.diffuse;
  } else if (type == "Specular") {
    color = material.specular;
  } else if (type == "Emissive") {
    color = material.emissive;
  } else if (type == "Opacity") {
    factor = &material.opacity;
  } else if (type == "Glossiness") {
    factor = &material.glossiness;
  } else if (type == "SpecularLevel") {
    factor = &material.specularLevel;
  } else if (type == "EmissiveAmount") {
    factor = &material.emissiveAmount;
  } else if (type == "Rim") {
    factor = &material.rimLevel;
  } else {
    return;
  }
  std::string value;
  if (!reader.Attribute("Value", value)) return;
  if (color != nullptr) {
    ScanColor(value, color);
  } else {
    ScanFloat(value, factor);
  }
}

bool ReadTextureElement(const XmlReader& reader, Material& material) {
  std::string type;
  std::string file;
  if (!reader.Attribute("Type", type) || !reader.Attribute("File", file)) return false;
  // Maps are looked up by asset name: textures\steel_d.png is the texture steel_d.
  const std::string name = SplitPath(file).name;
  if (type == "Diffuse") {
    material.diffuseMapName = name;
  } else if (type == "Opacity") {
    material.opacityMapName = name;
  } else if (type == "Bump") {
    material.bumpMapName = name;
  } else if (type == "Environment") {
    material.environmentMapName = name;
    std::string reflection;
    if (reader.Attribute("Reflection", reflection)) ScanFloat(reflection, &material.reflectionLevel);
  }
  return true;
}

// Reads "Texture" elements up to the section's end tag. A texture element without
// "Type" or "File" ends the section early; the nodes after it go back to the main
// loop, whose next end tag then ends the material.
void ReadTextureSection(XmlReader& reader, Material& material) {
  for (;;) {
    switch (reader.Read()) {
      case XmlReader::Node::kEnd:
      case XmlReader::Node::kError:
        return;
      case XmlReader::Node::kElement:
        if (reader.Name() == "Texture" && !ReadTextureElement(reader, material)) return;
        break;
      case XmlReader::Node::kEndElement:
        if (reader.Name() == "Textures") return;
        break;
      case XmlReader::Node::kOther:
        break;
    }
  }
}

std::unique_ptr<Material> ReadMaterial(XmlReader& reader, const std::string& path,
                                       std::string& error) {
  // The root is the first element; a declaration, comments or white space may come
  // before it.
  XmlReader::Node node = reader.Read();
  while (node == XmlReader::Node::kOther) node = reader.Read();
  if (node == XmlReader::Node::kError) {
    error = reader.Error();
    return nullptr;
  }
  std::string name;
  if (node != XmlReader::Node::kElement || !reader.Attribute("Name", name)) {
    error = path + ": the root element has no \"Name\" attribute";
    return nullptr;
  }
  auto material = std::make_unique<Material>();
  material->name = name;

  // Every later element is a property, except the texture section. The first end
  // tag outside a texture section ends the material: properties are empty elements,
  // so that is normally the root's own end tag.
  bool done = false;
  while (!done) {
    switch (reader.Read()) {
      case XmlReader::Node::kEnd:
      case XmlReader::Node::kEndElement:
        done = true;
        break;
      case XmlReader::Node::kError:
        error = reader.Error();
        return nullptr;
      case XmlReader::Node::kElement:
        if (reader.Name() == "Textures") {
          ReadTextureSection(reader, *material);
        } else {
          ReadProperty(reader, *material);
        }
        break;
      case XmlReader::Node::kOther:
        break;
    }
  }
  // What follows is not part of the material, but a file that is not well-formed
  // XML to its end is refused rather than half-trusted.
  for (;;) {
    node = reader.Read();
    if (node == XmlReader::Node::kEnd) return material;
    if (node == XmlReader::Node::kError) {
      error = reader.Error();
      return nullptr;
    }
  }
}

// --- writing ---

bool IsUtf8(const std::string& text) {
  size_t i = 0;
  while (i < text.size()) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    unsigned code = 0;
    size_t length = 0;
    if (lead < 0x80) {
      code = lead;
      length = 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      code = lead & 0x1Fu;
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      code = lead & 0x0Fu;
      length = 3;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      code = lead & 0x07u;
      length = 4;
    } else {
      return false;
    }
    if (i + length > text.size()) return false;
    for (size_t k = 1; k < length; ++k) {
      const unsigned char next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0u) != 0x80u) return false;
      code = (code << 6) | (next & 0x3Fu);
    }
    const unsigned minimum = length == 2 ? 0x80u : length == 3 ? 0x800u : 0x10000u;
    if (length > 1 && code < minimum) return false;                // over-long form
    if (code > 0x10FFFFu || (code >= 0xD800u && code <= 0xDFFFu)) return false;
    if (code == 0xFFFEu || code == 0xFFFFu) return false;           // not XML characters
    i += length;
  }
  return true;
}

// The text as an attribute value; false when XML 1.0 cannot carry it.
bool AppendAttribute(std::string& out, const char* attribute, const std::string& text) {
  if (!IsUtf8(text)) return false;
  out += ' ';
  out += attribute;
  out += "=\"";
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      // Written as references, since a parser turns literal ones into spaces.
      case '\t': out += "&#9;"; break;
      case '\n': out += "&#10;"; break;
      case '\r': out += "&#13;"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) return false;
        out += c;
        break;
    }
  }
  out += '"';
  return true;
}

// Shortest text that scans back to the same float.
std::string FormatFloat(float value) {
  char buffer[32];
  const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

void AppendProperty(std::string& out, const char* type, const std::string& value) {
  out += "  <Property";
  AppendAttribute(out, "Type", type);
  AppendAttribute(out, "Value", value);
  out += "/>\n";
}

std::string FormatColor(const float* rgb) {
  return FormatFloat(rgb[0]) + ";" + FormatFloat(rgb[1]) + ";" + FormatFloat(rgb[2]);
}

// A "File" value that reduces back to the map name: names with a dot get a trailing
// one, so "wood.final" is not read back as "wood".
std::string MapFile(const std::string& name) {
  return name.find('.') == std::string::npos ? name : name + ".";
}

bool AppendTexture(std::string& out, const char* type, const std::string& name) {
  out += "    <Texture";
  AppendAttribute(out, "Type", type);
  if (!AppendAttribute(out, "File", MapFile(name))) return false;
  return true;
}

}  // namespace

Material::~Material() { SetEnvironmentMap(0); }

void Material::SetEnvironmentMap(unsigned cubeMap) {
  if (environmentMap_ != 0 && environmentMap_ != cubeMap) glDeleteTextures(1, &environmentMap_);
  environmentMap_ = cubeMap;
}

std::unique_ptr<Material> ReadMaterialFile(const std::string& path, std::string& error) {
  XmlReader reader;
  if (!reader.Open(path)) {
    error = reader.Error();
    return nullptr;
  }
  return ReadMaterial(reader, path, error);
}

IDisposable* MaterialLoader::Load(const char* path, sm::IServiceProvider*) {
  std::string error;
  std::unique_ptr<Material> material = ReadMaterialFile(path, error);
  if (material == nullptr) WriteLog("error: %s", error.c_str());
  return material.release();
}

bool WriteMaterialFile(const std::string& path, const Material& material, std::string& error) {
  for (const std::string* map : {&material.diffuseMapName, &material.opacityMapName,
                                 &material.bumpMapName, &material.environmentMapName}) {
    if (map->find_first_of("/\\") != std::string::npos) {
      error = path + ": map name \"" + *map + "\" contains a folder separator";
      return false;
    }
  }
  std::string out = "<Material";
  bool representable = AppendAttribute(out, "Name", material.name);
  out += ">\n";
  AppendProperty(out, "Ambient", FormatColor(material.ambient));
  AppendProperty(out, "Diffuse", FormatColor(material.diffuse));
  AppendProperty(out, "Specular", FormatColor(material.specular));
  AppendProperty(out, "Emissive", FormatColor(material.emissive));
  AppendProperty(out, "Opacity", FormatFloat(material.opacity));
  AppendProperty(out, "Glossiness", FormatFloat(material.glossiness));
  AppendProperty(out, "SpecularLevel", FormatFloat(material.specularLevel));
  AppendProperty(out, "EmissiveAmount", FormatFloat(material.emissiveAmount));
  // Written only when there is one, so the files of materials without it stay as they were.
  if (material.rimLevel != 0.0f) AppendProperty(out, "Rim", FormatFloat(material.rimLevel));

  const bool environment = !material.environmentMapName.empty() || material.reflectionLevel != 0.0f;
  if (!material.diffuseMapName.empty() || !material.opacityMapName.empty() ||
      !material.bumpMapName.empty() || environment) {
    out += "  <Textures>\n";
    const std::pair<const char*, const std::string*> maps[] = {
        {"Diffuse", &material.diffuseMapName},
        {"Opacity", &material.opacityMapName},
        {"Bump", &material.bumpMapName},
    };
    for (const auto& map : maps) {
      if (map.second->empty()) continue;
      representable = AppendTexture(out, map.first, *map.second) && representable;
      out += "/>\n";
    }
    // The reflection level is read only with an environment map, so it is written
    // with one, even an unnamed one.
    if (environment) {
      representable = AppendTexture(out, "Environment", material.environmentMapName) && representable;
      AppendAttribute(out, "Reflection", FormatFloat(material.reflectionLevel));
      out += "/>\n";
    }
    out += "  </Textures>\n";
  }
  out += "</Material>\n";
  if (!representable) {
    error = path + ": a name holds characters a material file cannot carry";
    return false;
  }

  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    error = "can't open " + path + " for writing";
    return false;
  }
  const bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
  if (std::fclose(file) != 0 || !written) {
    error = "can't write " + path;
    std::remove(path.c_str());
    return false;
  }
  return true;
}
