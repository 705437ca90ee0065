#pragma once
// Triangles built in code for tests, tools and benchmarks, in the sub-mesh vertex
// layout of the model file (15 floats per vertex: position, normal, both texture
// coordinates).
#include <cmath>
#include <vector>

#include "anim/math.h"

namespace testing_support {

class Geometry {
 public:
  void Vertex(const sm::Vec3& p, const sm::Vec3& n, float s, float t) {
    const float v[15] = {p.x, p.y, p.z, 1, n.x, n.y, n.z, 1, s, t, 0, 1, s, t, 1};
    vertices.insert(vertices.end(), v, v + 15);
  }
  // Two triangles a-b-c, a-c-d (counter-clockwise seen from the normal's side).
  void Quad(const sm::Vec3& a, const sm::Vec3& b, const sm::Vec3& c, const sm::Vec3& d, const sm::Vec3& n,
            float repeat = 1.0f) {
    Vertex(a, n, 0, 0);
    Vertex(b, n, repeat, 0);
    Vertex(c, n, repeat, repeat);
    Vertex(a, n, 0, 0);
    Vertex(c, n, repeat, repeat);
    Vertex(d, n, 0, repeat);
  }
  void Box(const sm::Vec3& c, float hx, float hy, float hz) {
    const float x0 = c.x - hx, x1 = c.x + hx, y0 = c.y - hy, y1 = c.y + hy, z0 = c.z - hz, z1 = c.z + hz;
    Quad({x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}, {0, 0, 1});
    Quad({x1, y0, z0}, {x0, y0, z0}, {x0, y1, z0}, {x1, y1, z0}, {0, 0, -1});
    Quad({x1, y0, z1}, {x1, y0, z0}, {x1, y1, z0}, {x1, y1, z1}, {1, 0, 0});
    Quad({x0, y0, z0}, {x0, y0, z1}, {x0, y1, z1}, {x0, y1, z0}, {-1, 0, 0});
    Quad({x0, y1, z1}, {x1, y1, z1}, {x1, y1, z0}, {x0, y1, z0}, {0, 1, 0});
    Quad({x0, y0, z0}, {x1, y0, z0}, {x1, y0, z1}, {x0, y0, z1}, {0, -1, 0});
  }
  void Sphere(const sm::Vec3& c, float r, int slices = 32, int stacks = 16) {
    const float pi = 3.14159265f;
    auto point = [&](int i, int j, sm::Vec3& p, sm::Vec3& n) {
      const float t = pi * static_cast<float>(i) / static_cast<float>(stacks);
      const float q = 2.0f * pi * static_cast<float>(j) / static_cast<float>(slices);
      n = sm::Vec3(std::sin(t) * std::cos(q), std::cos(t), -std::sin(t) * std::sin(q));
      p = sm::Vec3(c.x + r * n.x, c.y + r * n.y, c.z + r * n.z);
    };
    for (int i = 0; i < stacks; ++i) {
      for (int j = 0; j < slices; ++j) {
        sm::Vec3 p[4], n[4];
        point(i, j, p[0], n[0]);
        point(i + 1, j, p[1], n[1]);
        point(i + 1, j + 1, p[2], n[2]);
        point(i, j + 1, p[3], n[3]);
        const float s0 = 2.0f * j / slices, s1 = 2.0f * (j + 1) / slices;
        const float t0 = static_cast<float>(i) / stacks, t1 = static_cast<float>(i + 1) / stacks;
        Vertex(p[0], n[0], s0, t0);
        Vertex(p[1], n[1], s0, t1);
        Vertex(p[2], n[2], s1, t1);
        Vertex(p[0], n[0], s0, t0);
        Vertex(p[2], n[2], s1, t1);
        Vertex(p[3], n[3], s1, t0);
      }
    }
  }
  std::vector<float> vertices;
};

}  // namespace testing_support
