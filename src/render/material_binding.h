#pragma once
// How a material turns into the technique and parameter values of the two lighting
// effects: "std_lighting" (glow sources) and "std_lighting_glow_shadow" (the lit,
// shadow-receiving scene). The choice is a pure function of what the material has, so
// it is decided and tested apart from GL.

class Effect;

// What the lighting reads of a material. A map counts as present when its texture is
// resolved; the GL names are those of the resolved textures.
struct MaterialView {
  float ambient[3] = {0, 0, 0};
  float diffuse[3] = {0, 0, 0};
  float specular[3] = {0, 0, 0};
  float emissive[3] = {0, 0, 0};
  float opacity = 1.0f;
  float specularLevel = 1.0f;
  float reflectionLevel = 0.0f;
  float rimLevel = 0.0f;
  bool hasDiffuseMap = false;
  bool hasOpacityMap = false;
  bool hasBumpMap = false;
  bool hasEnvironmentMap = false;
  unsigned diffuseMap = 0;
  unsigned bumpMap = 0;
  unsigned environmentMap = 0;  // a cube map
};

// Everything one material bind sets on a lighting effect.
struct LightingBinding {
  const char* technique = nullptr;
  float ambient[4] = {0, 0, 0, 1};
  float diffuse[4] = {0, 0, 0, 1};
  float specular[4] = {0, 0, 0, 1};
  bool setEmissive = false;  // the no-material defaults leave the emissive colour as it was
  float emissive[4] = {0, 0, 0, 1};
  float opacity = 1.0f;
  float glossiness = 0.0f;
  float specularLevel = 0.0f;
  float rimLevel = 0.0f;  // set on every bind, so one material's rim never stays for the next
  bool bindDiffuse = false;
  unsigned diffuseMap = 0;
  bool bindBump = false;
  unsigned bumpMap = 0;
  bool bindEnvironment = false;  // with "reflectionLevel"
  unsigned environmentMap = 0;
  float reflectionLevel = 0.0f;
};

// Every material is drawn with this sharpness of highlight, whatever its file says.
constexpr float kLightingGlossiness = 64.0f;
// The material's specular level is scaled by this before it reaches the effect.
constexpr float kSpecularLevelScale = 0.4f;

// Translucent means drawn blended: opacity below 1. A NaN opacity counts as opaque.
inline bool IsTranslucent(float opacity) { return opacity < 1.0f; }

// The binding for "std_lighting"; null material = the grey defaults with "NoTexTech".
// Technique by diffuse map (D), bump map (B) and translucency (T), where translucency
// wins over the bump map: T: "BlendTexTech" with D, else "BlendNoTexTech"; opaque:
// "NoTexTech", "BumpTech", "DiffTexTech" or "DiffTexBumpTech".
LightingBinding StandardBinding(const MaterialView* material);

// The binding for "std_lighting_glow_shadow": the same rule with "_GlowShadow"
// appended, except that a material with a diffuse and an environment map but neither
// bump nor opacity map is drawn reflective with "DiffEnvTech_GlowShadow", whatever its
// opacity.
LightingBinding GlowShadowBinding(const MaterialView* material);

// Selects the binding's technique on the effect and sets its values.
void ApplyBinding(Effect& effect, const LightingBinding& binding);
