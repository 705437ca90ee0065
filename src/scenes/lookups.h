#pragma once
// Named things a scene needs from the world, looked up once at setup. Each lookup that
// comes back empty writes one "error: ..." line naming the missing thing and the part
// of the demo that needs it, and returns null, so a setup fails cleanly instead of a
// frame dereferencing nothing later.
#include <string>

class Animation;
class ISceneWorld;
class KeyedValue;
class Mesh;
class Model;
class Texture;

Model* RequireModel(ISceneWorld& world, const std::string& name, const char* user);
Texture* RequireTexture(ISceneWorld& world, const std::string& name, const char* user);
Animation* RequireAnimation(ISceneWorld& world, const std::string& name, const char* user);

// The first mesh of the model with this name.
Mesh* RequireMesh(Model& model, const std::string& modelName, const std::string& meshName, const char* user);
// The mesh at index (file order), which must have at least one sub-mesh when drawn.
Mesh* RequireMeshAt(Model& model, const std::string& modelName, int index, bool withSubMesh, const char* user);
// The mesh's node value with this name.
KeyedValue* RequireValue(Mesh& mesh, const std::string& valueName, const char* user);

// "prefix" followed by the number, e.g. "hud17".
std::string NumberedName(const char* prefix, int number);
