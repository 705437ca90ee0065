// Per-pixel lighting of a material, shared by std_lighting and std_lighting_glow_shadow.
// One point light (the drawing code puts it at the eye), Blinn-Phong with the material's
// colours, specular level and glossiness. The techniques pick the features:
//   DIFFUSE_MAP   modulate by the diffuse texture "diffTex"
//   BUMP_MAP      perturb the normal with the tangent-space normal map "normTex"
//   TRANSLUCENT   alpha = opacity (times the diffuse texture's alpha)
//   ENV_MAP       mix in the cube map "envTex" by "reflectionLevel"
//   SHADOW        darken what the light cannot see, from "shadowMap"
//   COLOR_MASK    multiply the result by "colorMask" (the glow pass)
// Positions, normals and the light are in world space.

uniform mat4 mvp;
uniform mat4 world;
uniform vec3 lightPosition;
uniform vec3 eyePosition;

varying vec3 worldPosition;
varying vec3 worldNormal;
varying vec2 texCoord;
#ifdef SHADOW
uniform mat4 shadowMapMatrix;
varying vec4 shadowCoord;
#endif

#ifdef VERTEX_SHADER

// The opaque scene's depth is laid down first by shadow_mapping's shader, and this pass
// must land on exactly the same depths.
invariant gl_Position;

void main() {
  vec4 position = world * gl_Vertex;
  worldPosition = position.xyz;
  // The upper 3x3 of the world matrix; meshes are scaled uniformly, so it keeps
  // normals perpendicular once they are normalised again per pixel.
  worldNormal = mat3(world[0].xyz, world[1].xyz, world[2].xyz) * gl_Normal.xyz;
  texCoord = gl_MultiTexCoord0.xy;
#ifdef SHADOW
  shadowCoord = shadowMapMatrix * position;
#endif
  gl_Position = mvp * gl_Vertex;
}

#endif

#ifdef FRAGMENT_SHADER

// The values the drawing code uses when a sub-mesh has no material.
uniform vec4 ambientColor = vec4(0.2, 0.2, 0.2, 1.0);
uniform vec4 diffuseColor = vec4(0.6, 0.6, 0.6, 1.0);
uniform vec4 specularColor = vec4(1.0, 1.0, 1.0, 1.0);
uniform vec4 emissiveColor = vec4(0.0, 0.0, 0.0, 1.0);
uniform float glossiness = 64.0;
uniform float specularLevel = 1.0;
// The rim light: a cool light along the silhouette (surfaces seen edge-on), which
// separates a figure from the hall behind it; 0 for none.
uniform float rimLevel = 0.0;

#ifdef TRANSLUCENT
uniform float opacity = 1.0;
#endif
#ifdef DIFFUSE_MAP
uniform sampler2D diffTex;
#endif
#ifdef BUMP_MAP
uniform sampler2D normTex;
#endif
#ifdef ENV_MAP
uniform samplerCube envTex;
uniform float reflectionLevel = 0.0;
#endif
#ifdef SHADOW
uniform sampler2DShadow shadowMap;
#endif
#ifdef COLOR_MASK
uniform vec4 colorMask = vec4(1.0);
#endif

#ifdef BUMP_MAP
// The vertex data carry no tangents: the tangent frame comes from the screen-space
// derivatives of the position and the texture coordinates.
vec3 BumpedNormal(vec3 n) {
  vec3 dpx = dFdx(worldPosition);
  vec3 dpy = dFdy(worldPosition);
  vec2 dtx = dFdx(texCoord);
  vec2 dty = dFdy(texCoord);
  vec3 py = cross(dpy, n);
  vec3 px = cross(n, dpx);
  vec3 tangent = py * dtx.x + px * dty.x;
  vec3 bitangent = py * dtx.y + px * dty.y;
  float size = max(dot(tangent, tangent), dot(bitangent, bitangent));
  if (size <= 0.0) return n;  // no texture mapping to follow
  float scale = inversesqrt(size);
  vec3 m = texture2D(normTex, texCoord).xyz * 2.0 - 1.0;
  return normalize(mat3(tangent * scale, bitangent * scale, n) * m);
}
#endif

#ifdef SHADOW
// The fraction of light that reaches the fragment: two comparisons either side of the
// fragment's place in the shadow map, each filtered by the texture unit (so each blends
// four comparisons), so shadow edges are soft rather than stair-stepped. Two taps rather
// than more: the lookup is the costliest part of the lighting on a software rasteriser.
// Outside the light's view counts as lit. Each tap compares against the depth the
// receiving surface has at the tap's place (its depth slope in the map, from the
// screen-space derivatives), so surfaces that the light grazes do not shadow themselves.
float Lit(vec3 c, vec2 depthSlope) {
  if (shadowCoord.w <= 0.0) return 1.0;
  if (c.x < 0.0 || c.x > 1.0 || c.y < 0.0 || c.y > 1.0 || c.z >= 1.0) return 1.0;
  const float spread = 1.0 / 2048.0;
  const float bias = 0.00002;
  vec2 o0 = vec2(-0.5 * spread, -0.75 * spread);
  vec2 o1 = vec2(0.5 * spread, 0.75 * spread);
  float sum = shadow2D(shadowMap, vec3(c.xy + o0, c.z + dot(depthSlope, o0) - bias)).r;
  sum += shadow2D(shadowMap, vec3(c.xy + o1, c.z + dot(depthSlope, o1) - bias)).r;
  return sum * 0.5;
}

// How the shadow-map depth changes per unit of shadow-map coordinate across the
// surface. Derivatives need every fragment of a quad, so this runs before any branch.
vec2 DepthSlope(vec3 c) {
  vec3 dx = dFdx(c);
  vec3 dy = dFdy(c);
  float det = dx.x * dy.y - dx.y * dy.x;
  if (abs(det) < 1e-12) return vec2(0.0);
  vec2 slope = vec2(dy.y * dx.z - dx.y * dy.z, dx.x * dy.z - dy.x * dx.z) / det;
  // Nearly edge-on surfaces: a bounded slope keeps them from escaping shadow entirely.
  return clamp(slope, vec2(-0.05), vec2(0.05));
}
#endif

void main() {
  vec3 toLight = normalize(lightPosition - worldPosition);
  vec3 toEye = normalize(eyePosition - worldPosition);
  // Normals that face away from the eye belong to the inside of an open mesh (whatever
  // the winding of its triangles): light that side like the outside.
  vec3 n = normalize(worldNormal);
  if (dot(n, toEye) < 0.0) n = -n;
#ifdef BUMP_MAP
  n = BumpedNormal(n);
#endif
  float diffuse = max(dot(n, toLight), 0.0);
  float specular = 0.0;
  if (diffuse > 0.0) {
    specular = pow(max(dot(n, normalize(toLight + toEye)), 0.0), glossiness);
  }

  vec4 base = vec4(1.0);
#ifdef DIFFUSE_MAP
  base = texture2D(diffTex, texCoord);
#endif
  float lit = 1.0;
#ifdef SHADOW
  vec3 shadowPosition = shadowCoord.xyz / shadowCoord.w;
  lit = Lit(shadowPosition, DepthSlope(shadowPosition));
  // Shadowed parts keep some of the direct light so they never turn flat black. Light
  // passes through a clear surface, so a shadow on it shows only as much as the surface
  // covers what lies behind: glass keeps nearly all its light and the robot standing
  // before a pane does not print a dark silhouette onto it; opaque surfaces keep 35 %.
  float shade = 0.65;
#ifdef TRANSLUCENT
  float cover = clamp(opacity * base.a, 0.0, 1.0);
  shade *= cover * cover;
#endif
  lit = 1.0 - shade + shade * lit;
#endif

  vec3 color = ambientColor.rgb * base.rgb +
               lit * (diffuseColor.rgb * base.rgb * diffuse + specularColor.rgb * specularLevel * specular);
#ifdef ENV_MAP
  color = mix(color, textureCube(envTex, reflect(-toEye, n)).rgb, clamp(reflectionLevel, 0.0, 1.0));
#endif
  color += emissiveColor.rgb;
  float edge = 1.0 - max(dot(n, toEye), 0.0);
  color += vec3(0.55, 0.72, 0.95) * (rimLevel * edge * edge * edge);

  float alpha = 1.0;
#ifdef TRANSLUCENT
  alpha = clamp(opacity * base.a, 0.0, 1.0);
#endif
  vec4 result = vec4(color, alpha);
#ifdef COLOR_MASK
  result *= colorMask;
#endif
  gl_FragColor = result;
}

#endif
