#include "datagen/geometry/mesh_builder.h"

#include <cmath>
#include <map>
#include <tuple>

namespace datagen {

MeshBuilder::Group& MeshBuilder::GroupFor(const std::string& material) {
  for (Group& group : groups_) {
    if (group.material == material) return group;
  }
  groups_.push_back(Group{material, {}});
  return groups_.back();
}

void MeshBuilder::Triangle(const std::string& material, const Vertex& a, const Vertex& b, const Vertex& c) {
  Group& group = GroupFor(material);
  group.vertices.push_back(a);
  group.vertices.push_back(b);
  group.vertices.push_back(c);
}

void WorldUv(const Paint& paint, V3 p, V3 n, float& u, float& v) {
  const float ax = std::fabs(n.x), ay = std::fabs(n.y), az = std::fabs(n.z);
  // Seen from the front, u runs to the right and v up (for floors: +x and -z).
  if (ay >= ax && ay >= az) {
    u = p.x;
    v = n.y >= 0 ? -p.z : p.z;
  } else if (ax >= az) {
    u = n.x >= 0 ? -p.z : p.z;
    v = p.y;
  } else {
    u = n.z >= 0 ? p.x : -p.x;
    v = p.y;
  }
  u /= paint.tile;
  v /= paint.tile;
}

void MeshBuilder::Polygon(const Paint& paint, const std::vector<V3>& corners) {
  if (corners.size() < 3) return;
  V3 normal;
  // Newell's method: robust for any planar polygon, whatever its first corners.
  for (std::size_t i = 0; i < corners.size(); ++i) {
    const V3& p = corners[i];
    const V3& q = corners[(i + 1) % corners.size()];
    normal += V3((p.y - q.y) * (p.z + q.z), (p.z - q.z) * (p.x + q.x), (p.x - q.x) * (p.y + q.y));
  }
  normal = Normalize(normal);
  if (Length(normal) == 0) return;
  const V3 edgeU = Normalize(corners[1] - corners[0]);
  const V3 edgeV = Cross(normal, edgeU);
  std::vector<Vertex> vertices(corners.size());
  for (std::size_t i = 0; i < corners.size(); ++i) {
    Vertex& vertex = vertices[i];
    vertex.position = corners[i];
    vertex.normal = normal;
    if (paint.mapping == UvMapping::kWorld) {
      WorldUv(paint, corners[i], normal, vertex.u, vertex.v);
    } else {
      const V3 d = corners[i] - corners[0];
      vertex.u = Dot(d, edgeU) / paint.tile;
      vertex.v = Dot(d, edgeV) / paint.tile;
    }
  }
  for (std::size_t i = 1; i + 1 < vertices.size(); ++i) Triangle(paint.material, vertices[0], vertices[i], vertices[i + 1]);
}

void MeshBuilder::Quad(const Paint& paint, V3 a, V3 b, V3 c, V3 d) { Polygon(paint, {a, b, c, d}); }

void MeshBuilder::Picture(const std::string& material, V3 a, V3 b, V3 c, V3 d) {
  const V3 normal = Normalize(Cross(b - a, c - a));
  const Vertex va{a, normal, 0, 0}, vb{b, normal, 1, 0}, vc{c, normal, 1, 1}, vd{d, normal, 0, 1};
  Triangle(material, va, vb, vc);
  Triangle(material, va, vc, vd);
}

void MeshBuilder::Append(const MeshBuilder& other) {
  for (const Group& group : other.groups_) {
    Group& mine = GroupFor(group.material);
    mine.vertices.insert(mine.vertices.end(), group.vertices.begin(), group.vertices.end());
  }
}

void MeshBuilder::Transform(const sm::Mat4& m) {
  const auto point = [&](V3 p) {
    return V3(m.a[0] * p.x + m.a[4] * p.y + m.a[8] * p.z + m.a[12], m.a[1] * p.x + m.a[5] * p.y + m.a[9] * p.z + m.a[13],
              m.a[2] * p.x + m.a[6] * p.y + m.a[10] * p.z + m.a[14]);
  };
  const auto direction = [&](V3 d) {
    return Normalize(V3(m.a[0] * d.x + m.a[4] * d.y + m.a[8] * d.z, m.a[1] * d.x + m.a[5] * d.y + m.a[9] * d.z,
                        m.a[2] * d.x + m.a[6] * d.y + m.a[10] * d.z));
  };
  for (Group& group : groups_) {
    for (Vertex& v : group.vertices) {
      v.position = point(v.position);
      v.normal = direction(v.normal);
    }
  }
}

std::size_t MeshBuilder::TriangleCount() const {
  std::size_t count = 0;
  for (const Group& group : groups_) count += group.vertices.size() / 3;
  return count;
}

namespace {

void AppendVertex(const Vertex& v, std::vector<float>& out) {
  const float values[model_file::kFloatsPerVertex] = {
      v.position.x, v.position.y, v.position.z, 1, v.normal.x, v.normal.y, v.normal.z, 1,
      v.u,          v.v,          0,            1, v.u2,       v.v2,       1};
  out.insert(out.end(), values, values + model_file::kFloatsPerVertex);
}

}  // namespace

std::vector<model_file::SubMeshData> MeshBuilder::Build(float cellSize) const {
  std::vector<model_file::SubMeshData> subMeshes;
  for (const Group& group : groups_) {
    std::map<std::pair<int, int>, std::vector<float>> cells;
    for (std::size_t i = 0; i + 2 < group.vertices.size(); i += 3) {
      std::pair<int, int> cell(0, 0);
      if (cellSize > 0) {
        const V3 centre = (group.vertices[i].position + group.vertices[i + 1].position +
                           group.vertices[i + 2].position) / 3.0f;
        cell = {static_cast<int>(std::floor(centre.x / cellSize)), static_cast<int>(std::floor(centre.z / cellSize))};
      }
      std::vector<float>& out = cells[cell];
      for (std::size_t k = 0; k < 3; ++k) AppendVertex(group.vertices[i + k], out);
    }
    for (auto& [cell, vertices] : cells) {
      model_file::SubMeshData subMesh;
      subMesh.materialName = group.material;
      subMesh.vertices = std::move(vertices);
      subMeshes.push_back(std::move(subMesh));
    }
  }
  return subMeshes;
}

}  // namespace datagen
