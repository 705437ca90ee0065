#pragma once
// Collects triangles by material and turns them into the sub-meshes of a model file.
//
// Authors paint surfaces with a Paint: a material and how its textures are laid on.
// World mapping projects the texture along the face's main axis in world units, so
// floors, walls and beams that meet share one continuous texture scale; face mapping
// runs the texture along the face's own edges (props whose texture should move with
// them). Shapes that know their surface better (cylinders, tubes) give their own
// coordinates.
#include <cstddef>
#include <string>
#include <vector>

#include "assets/model_file.h"
#include "datagen/geometry/vec.h"

namespace datagen {

enum class UvMapping { kWorld, kFace };

struct Paint {
  std::string material;
  float tile = 256.0f;  // world units per texture repeat
  UvMapping mapping = UvMapping::kWorld;
};

struct Vertex {
  V3 position;
  V3 normal;
  float u = 0, v = 0;    // first texture coordinate (material maps)
  float u2 = 0, v2 = 0;  // second texture coordinate (overlay pictures only)
};

class MeshBuilder {
 public:
  // One triangle, counter-clockwise seen from the side its normals face.
  void Triangle(const std::string& material, const Vertex& a, const Vertex& b, const Vertex& c);

  // A flat polygon (convex, counter-clockwise seen from the front), fanned from its
  // first corner, with the face normal and the paint's mapping.
  void Polygon(const Paint& paint, const std::vector<V3>& corners);
  // A flat quad a-b-c-d, counter-clockwise seen from the front.
  void Quad(const Paint& paint, V3 a, V3 b, V3 c, V3 d);

  // A flat quad a-b-c-d (counter-clockwise seen from the front) showing its
  // material's picture once: a at the picture's bottom left, b bottom right.
  void Picture(const std::string& material, V3 a, V3 b, V3 c, V3 d);

  // Everything of another builder, unchanged.
  void Append(const MeshBuilder& other);
  // Moves every vertex by a rigid matrix (rotation, translation, possibly a mirror):
  // positions and normals change, texture coordinates and vertex order stay. Parts are
  // modelled around their own origin and placed this way.
  void Transform(const sm::Mat4& matrix);

  std::size_t TriangleCount() const;
  bool Empty() const { return groups_.empty(); }

  // The sub-meshes: one per material in the order materials first appeared. With a
  // cell size, each material is further split by a horizontal grid of that size (by
  // the triangles' centres), so the renderer's per-sub-mesh culling can drop what is
  // out of view.
  std::vector<model_file::SubMeshData> Build(float cellSize = 0.0f) const;

 private:
  struct Group {
    std::string material;
    std::vector<Vertex> vertices;  // three per triangle
  };
  Group& GroupFor(const std::string& material);
  std::vector<Group> groups_;
};

// Texture coordinates of a point on a face with normal n, per the paint's world
// mapping: the two world axes across the face's main axis, in repeats.
void WorldUv(const Paint& paint, V3 position, V3 normal, float& u, float& v);

}  // namespace datagen
