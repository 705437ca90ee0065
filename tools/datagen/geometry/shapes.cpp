#include "datagen/geometry/shapes.h"

#include <algorithm>
#include <cmath>

namespace datagen {
namespace {

// A convex flat face, turned so that its normal points away from inside.
void OutwardFace(MeshBuilder& out, const Paint& paint, std::vector<V3> corners, V3 inside) {
  V3 centre;
  for (const V3& c : corners) centre += c;
  centre = centre / static_cast<float>(corners.size());
  const V3 normal = Cross(corners[1] - corners[0], corners[2] - corners[0]);
  if (Dot(normal, centre - inside) < 0) std::reverse(corners.begin(), corners.end());
  out.Polygon(paint, corners);
}

// Triangles of a flat face given by its corners and triangle indices, with the face
// normal and the paint's world mapping.
void FlatTriangles(MeshBuilder& out, const Paint& paint, const std::vector<V3>& corners,
                   const std::vector<int>& triangles, V3 normal) {
  std::vector<Vertex> vertices(corners.size());
  for (std::size_t i = 0; i < corners.size(); ++i) {
    vertices[i].position = corners[i];
    vertices[i].normal = normal;
    WorldUv(paint, corners[i], normal, vertices[i].u, vertices[i].v);
  }
  for (std::size_t i = 0; i + 2 < triangles.size(); i += 3) {
    out.Triangle(paint.material, vertices[static_cast<std::size_t>(triangles[i])],
                 vertices[static_cast<std::size_t>(triangles[i + 1])], vertices[static_cast<std::size_t>(triangles[i + 2])]);
  }
}

float SignedArea(const std::vector<V2>& outline) {
  float area = 0;
  for (std::size_t i = 0; i < outline.size(); ++i) area += Cross(outline[i], outline[(i + 1) % outline.size()]);
  return area * 0.5f;
}

bool InsideTriangle(V2 p, V2 a, V2 b, V2 c) {
  const float d1 = Cross(b - a, p - a), d2 = Cross(c - b, p - b), d3 = Cross(a - c, p - c);
  return d1 >= 0 && d2 >= 0 && d3 >= 0;
}

}  // namespace

void Box(MeshBuilder& out, const Paint& paint, const Frame& f, V3 h, unsigned faces) {
  const auto P = [&](float sx, float sy, float sz) { return f.Point(sx * h.x, sy * h.y, sz * h.z); };
  if (faces & kFacePosX) out.Quad(paint, P(1, -1, 1), P(1, -1, -1), P(1, 1, -1), P(1, 1, 1));
  if (faces & kFaceNegX) out.Quad(paint, P(-1, -1, -1), P(-1, -1, 1), P(-1, 1, 1), P(-1, 1, -1));
  if (faces & kFacePosY) out.Quad(paint, P(-1, 1, 1), P(1, 1, 1), P(1, 1, -1), P(-1, 1, -1));
  if (faces & kFaceNegY) out.Quad(paint, P(-1, -1, -1), P(1, -1, -1), P(1, -1, 1), P(-1, -1, 1));
  if (faces & kFacePosZ) out.Quad(paint, P(-1, -1, 1), P(1, -1, 1), P(1, 1, 1), P(-1, 1, 1));
  if (faces & kFaceNegZ) out.Quad(paint, P(1, -1, -1), P(-1, -1, -1), P(-1, 1, -1), P(1, 1, -1));
}

void BoxBetween(MeshBuilder& out, const Paint& paint, V3 low, V3 high, unsigned faces) {
  Box(out, paint, Frame::At((low + high) * 0.5f), (high - low) * 0.5f, faces);
}

void BevelBox(MeshBuilder& out, const Paint& paint, const Frame& f, V3 h, float bevel) {
  const float outer[3] = {h.x, h.y, h.z};
  const float inner[3] = {h.x - bevel, h.y - bevel, h.z - bevel};
  // A corner point: on axis i at the outer extent, the others at the inner one (or
  // the given extents), with signs.
  const auto P = [&](const float (&e)[3], const float (&s)[3]) { return f.Point(s[0] * e[0], s[1] * e[1], s[2] * e[2]); };
  const V3 centre = f.origin;
  for (int axis = 0; axis < 3; ++axis) {
    const int j = (axis + 1) % 3, k = (axis + 2) % 3;
    for (float sign : {1.0f, -1.0f}) {
      // The main face.
      std::vector<V3> face;
      for (const auto& [sj, sk] : {std::pair(-1.0f, -1.0f), std::pair(1.0f, -1.0f), std::pair(1.0f, 1.0f),
                                   std::pair(-1.0f, 1.0f)}) {
        float e[3], s[3];
        e[axis] = outer[axis];
        e[j] = inner[j];
        e[k] = inner[k];
        s[axis] = sign;
        s[j] = sj;
        s[k] = sk;
        face.push_back(P(e, s));
      }
      OutwardFace(out, paint, face, centre);
      // The bevel between this face and the next axis's faces, along axis k.
      for (float sj : {1.0f, -1.0f}) {
        std::vector<V3> edge;
        for (const auto& [onAxis, sk] : {std::pair(true, -1.0f), std::pair(true, 1.0f), std::pair(false, 1.0f),
                                         std::pair(false, -1.0f)}) {
          float e[3], s[3];
          e[axis] = onAxis ? outer[axis] : inner[axis];
          e[j] = onAxis ? inner[j] : outer[j];
          e[k] = inner[k];
          s[axis] = sign;
          s[j] = sj;
          s[k] = sk;
          edge.push_back(P(e, s));
        }
        OutwardFace(out, paint, edge, centre);
      }
    }
  }
  for (float sx : {1.0f, -1.0f}) {
    for (float sy : {1.0f, -1.0f}) {
      for (float sz : {1.0f, -1.0f}) {
        const float s[3] = {sx, sy, sz};
        const float ex[3] = {outer[0], inner[1], inner[2]};
        const float ey[3] = {inner[0], outer[1], inner[2]};
        const float ez[3] = {inner[0], inner[1], outer[2]};
        OutwardFace(out, paint, {P(ex, s), P(ey, s), P(ez, s)}, centre);
      }
    }
  }
}

void Cylinder(MeshBuilder& out, const Paint& paint, const Frame& f, float r0, float r1, float height, int segments,
              bool bottomCap, bool topCap) {
  if (segments < 3) return;
  const float slope = r0 - r1;
  const float meanRadius = 0.5f * (r0 + r1);
  std::vector<V3> bottom, top;
  for (int i = 0; i < segments; ++i) {
    const float a = 2.0f * kPi * static_cast<float>(i) / static_cast<float>(segments);
    bottom.push_back(f.Point(r0 * std::cos(a), 0, -r0 * std::sin(a)));
    top.push_back(f.Point(r1 * std::cos(a), height, -r1 * std::sin(a)));
  }
  for (int i = 0; i < segments; ++i) {
    const int n = (i + 1) % segments;
    const float a0 = 2.0f * kPi * static_cast<float>(i) / static_cast<float>(segments);
    const float a1 = 2.0f * kPi * static_cast<float>(i + 1) / static_cast<float>(segments);
    const auto normal = [&](float a) {
      return Normalize(f.Direction(V3(std::cos(a) * height, slope, -std::sin(a) * height)));
    };
    const auto vertex = [&](const V3& p, float a, float y) {
      Vertex v;
      v.position = p;
      v.normal = normal(a);
      v.u = a * meanRadius / paint.tile;
      v.v = y / paint.tile;
      return v;
    };
    const Vertex b0 = vertex(bottom[static_cast<std::size_t>(i)], a0, 0);
    const Vertex b1 = vertex(bottom[static_cast<std::size_t>(n)], a1, 0);
    const Vertex t1 = vertex(top[static_cast<std::size_t>(n)], a1, height);
    const Vertex t0 = vertex(top[static_cast<std::size_t>(i)], a0, height);
    out.Triangle(paint.material, b0, b1, t1);
    out.Triangle(paint.material, b0, t1, t0);
  }
  if (topCap && r1 > 0) out.Polygon(paint, top);
  if (bottomCap && r0 > 0) out.Polygon(paint, std::vector<V3>(bottom.rbegin(), bottom.rend()));
}

void CylinderBetween(MeshBuilder& out, const Paint& paint, V3 a, V3 b, float radius, int segments, bool caps) {
  Cylinder(out, paint, Frame::AlongY(a, b - a), radius, radius, Length(b - a), segments, caps, caps);
}

void Tube(MeshBuilder& out, const Paint& paint, const std::vector<V3>& path, float radius, int segments, bool caps) {
  if (path.size() < 2 || segments < 3) return;
  const std::size_t count = path.size();
  std::vector<V3> directions(count - 1);
  for (std::size_t i = 0; i + 1 < count; ++i) directions[i] = Normalize(path[i + 1] - path[i]);
  // Tangent per point (bisecting at bends) and a normal carried along by parallel
  // transport, so the section does not twist.
  std::vector<V3> tangents(count), normals(count);
  for (std::size_t i = 0; i < count; ++i) {
    if (i == 0) tangents[i] = directions[0];
    else if (i + 1 == count) tangents[i] = directions[i - 1];
    else tangents[i] = Normalize(directions[i - 1] + directions[i]);
  }
  V3 hint = std::fabs(tangents[0].y) < 0.9f ? V3(0, 1, 0) : V3(1, 0, 0);
  normals[0] = Normalize(Cross(Cross(tangents[0], hint), tangents[0]));
  for (std::size_t i = 1; i < count; ++i) {
    const V3 previous = normals[i - 1];
    normals[i] = Normalize(previous - tangents[i] * Dot(previous, tangents[i]));
  }
  std::vector<std::vector<Vertex>> rings(count);
  float along = 0;
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) along += Length(path[i] - path[i - 1]);
    const V3 t = tangents[i], n = normals[i], b = Cross(t, n);
    // At a bend the section is the mitre ellipse: stretched across the bend by
    // 1 / cos(half the bend angle).
    V3 bend;
    float stretch = 1.0f;
    if (i > 0 && i + 1 < count) {
      const V3 d = directions[i];
      const float c = Dot(d, t);
      if (c > 0.05f && c < 0.9999f) {
        bend = Normalize(d - t * c);
        stretch = 1.0f / c;
      }
    }
    for (int k = 0; k <= segments; ++k) {
      const float a = 2.0f * kPi * static_cast<float>(k) / static_cast<float>(segments);
      const V3 radial = n * std::cos(a) + b * std::sin(a);
      V3 offset = radial * radius;
      if (stretch != 1.0f) offset += bend * (Dot(offset, bend) * (stretch - 1.0f));
      Vertex v;
      v.position = path[i] + offset;
      v.normal = radial;
      v.u = a * radius / paint.tile;
      v.v = along / paint.tile;
      rings[i].push_back(v);
    }
  }
  for (std::size_t i = 0; i + 1 < count; ++i) {
    for (int k = 0; k < segments; ++k) {
      const std::size_t a = static_cast<std::size_t>(k), c = a + 1;
      out.Triangle(paint.material, rings[i][a], rings[i][c], rings[i + 1][c]);
      out.Triangle(paint.material, rings[i][a], rings[i + 1][c], rings[i + 1][a]);
    }
  }
  if (caps) {
    std::vector<V3> start, end;
    for (int k = 0; k < segments; ++k) {
      start.push_back(rings.front()[static_cast<std::size_t>(k)].position);
      end.push_back(rings.back()[static_cast<std::size_t>(k)].position);
    }
    out.Polygon(paint, end);
    out.Polygon(paint, std::vector<V3>(start.rbegin(), start.rend()));
  }
}

std::vector<int> Triangulate(const std::vector<V2>& outline) {
  std::vector<int> triangles;
  const int n = static_cast<int>(outline.size());
  if (n < 3) return triangles;
  std::vector<int> left(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) left[static_cast<std::size_t>(i)] = SignedArea(outline) >= 0 ? i : n - 1 - i;
  // Ear clipping on the counter-clockwise order; a guard ends the loop on
  // self-intersecting input instead of spinning.
  int guard = 0;
  while (left.size() > 3 && guard < 4 * n * n) {
    ++guard;
    bool clipped = false;
    const std::size_t m = left.size();
    for (std::size_t i = 0; i < m; ++i) {
      const int ia = left[(i + m - 1) % m], ib = left[i], ic = left[(i + 1) % m];
      const V2 a = outline[static_cast<std::size_t>(ia)], b = outline[static_cast<std::size_t>(ib)],
               c = outline[static_cast<std::size_t>(ic)];
      if (Cross(b - a, c - b) <= 0) continue;  // reflex corner
      bool empty = true;
      for (int other : left) {
        if (other == ia || other == ib || other == ic) continue;
        if (InsideTriangle(outline[static_cast<std::size_t>(other)], a, b, c)) {
          empty = false;
          break;
        }
      }
      if (!empty) continue;
      triangles.insert(triangles.end(), {ia, ib, ic});
      left.erase(left.begin() + static_cast<std::ptrdiff_t>(i));
      clipped = true;
      break;
    }
    if (!clipped) break;
  }
  if (left.size() == 3) triangles.insert(triangles.end(), {left[0], left[1], left[2]});
  return triangles;
}

void Extrude(MeshBuilder& out, const Paint& paint, const Frame& f, const std::vector<V2>& outline, float depth) {
  if (outline.size() < 3) return;
  std::vector<V2> ccw = outline;
  if (SignedArea(ccw) < 0) std::reverse(ccw.begin(), ccw.end());
  const std::size_t n = ccw.size();
  std::vector<V3> back(n), front(n);
  for (std::size_t i = 0; i < n; ++i) {
    back[i] = f.Point(ccw[i].x, ccw[i].y, 0);
    front[i] = f.Point(ccw[i].x, ccw[i].y, depth);
  }
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t j = (i + 1) % n;
    out.Quad(paint, back[i], back[j], front[j], front[i]);
  }
  const std::vector<int> triangles = Triangulate(ccw);
  FlatTriangles(out, paint, front, triangles, Normalize(f.z));
  std::vector<int> reversed(triangles.rbegin(), triangles.rend());
  FlatTriangles(out, paint, back, reversed, Normalize(-f.z));
}

void SweepProfile(MeshBuilder& out, const Paint& paint, V3 a, V3 b, V3 up, const std::vector<V2>& profile) {
  Extrude(out, paint, Frame::Facing(a, b - a, up), profile, Length(b - a));
}

std::vector<V2> IBeamProfile(float height, float width, float thickness) {
  const float h = height * 0.5f, w = width * 0.5f, t = thickness, web = thickness * 0.5f;
  return {{-w, -h},        {w, -h},        {w, -h + t},  {web, -h + t}, {web, h - t},  {w, h - t},
          {w, h},          {-w, h},        {-w, h - t},  {-web, h - t}, {-web, -h + t}, {-w, -h + t}};
}

void Stairs(MeshBuilder& out, const Paint& paint, const Frame& f, float width, int steps, float rise, float run) {
  for (int k = 0; k < steps; ++k) {
    const float top = rise * static_cast<float>(k + 1);
    unsigned faces = kNoBottom;
    if (k + 1 < steps) faces &= ~kFacePosZ;  // hidden by the next, taller step
    Box(out, paint, f.Moved(0, top * 0.5f, run * (static_cast<float>(k) + 0.5f)), V3(width * 0.5f, top * 0.5f, run * 0.5f),
        faces);
  }
}

void Grid(MeshBuilder& out, const Paint& paint, const Frame& f, float sizeX, float sizeZ, int cellsX, int cellsZ) {
  for (int i = 0; i < cellsX; ++i) {
    for (int j = 0; j < cellsZ; ++j) {
      const float x0 = -0.5f * sizeX + sizeX * static_cast<float>(i) / static_cast<float>(cellsX);
      const float x1 = -0.5f * sizeX + sizeX * static_cast<float>(i + 1) / static_cast<float>(cellsX);
      const float z0 = -0.5f * sizeZ + sizeZ * static_cast<float>(j) / static_cast<float>(cellsZ);
      const float z1 = -0.5f * sizeZ + sizeZ * static_cast<float>(j + 1) / static_cast<float>(cellsZ);
      out.Quad(paint, f.Point(x0, 0, z1), f.Point(x1, 0, z1), f.Point(x1, 0, z0), f.Point(x0, 0, z0));
    }
  }
}

void Sphere(MeshBuilder& out, const Paint& paint, V3 c, float r, int slices, int stacks) {
  const auto vertex = [&](int i, int j) {
    const float t = kPi * static_cast<float>(i) / static_cast<float>(stacks);
    const float q = 2.0f * kPi * static_cast<float>(j) / static_cast<float>(slices);
    Vertex v;
    v.normal = V3(std::sin(t) * std::cos(q), std::cos(t), -std::sin(t) * std::sin(q));
    v.position = c + v.normal * r;
    v.u = q * r / paint.tile;
    v.v = (kPi - t) * r / paint.tile;
    return v;
  };
  for (int i = 0; i < stacks; ++i) {
    for (int j = 0; j < slices; ++j) {
      const Vertex a = vertex(i, j), b = vertex(i + 1, j), d = vertex(i + 1, j + 1), e = vertex(i, j + 1);
      if (i > 0) out.Triangle(paint.material, a, b, e);
      if (i + 1 < stacks) out.Triangle(paint.material, e, b, d);
      if (i == 0) out.Triangle(paint.material, a, b, d);
    }
  }
}

}  // namespace datagen

namespace datagen {

void OverlayQuad(MeshBuilder& out, V3 bottomLeft, V3 right, V3 up, float u2From, float u2To) {
  const V3 normal = Normalize(Cross(right, up));
  const auto corner = [&](float s, float t) {
    Vertex v;
    v.position = bottomLeft + right * s + up * t;
    v.normal = normal;
    v.u = s;
    v.v = t;
    v.u2 = u2From + (u2To - u2From) * s;
    v.v2 = t;
    return v;
  };
  const Vertex a = corner(0, 0), b = corner(1, 0), c = corner(1, 1), d = corner(0, 1);
  out.Triangle("", a, b, c);
  out.Triangle("", a, c, d);
}

}  // namespace datagen
