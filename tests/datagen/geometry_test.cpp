// The geometry kit: shapes come out closed with their normals and windings facing
// out, texture coordinates keep one world scale, and the builder splits, moves and
// mirrors geometry the way the model files need it.
#include <gtest/gtest.h>

#include <cmath>

#include "datagen/geometry/shapes.h"

namespace {

using namespace datagen;

struct Triangle {
  Vertex a, b, c;
};

std::vector<Triangle> Triangles(const MeshBuilder& builder) {
  std::vector<Triangle> out;
  for (const auto& subMesh : builder.Build()) {
    const auto& v = subMesh.vertices;
    const auto vertex = [&](std::size_t i) {
      const float* f = v.data() + i * model_file::kFloatsPerVertex;
      Vertex x;
      x.position = V3(f[0], f[1], f[2]);
      x.normal = V3(f[4], f[5], f[6]);
      x.u = f[8];
      x.v = f[9];
      x.u2 = f[12];
      x.v2 = f[13];
      return x;
    };
    for (std::size_t i = 0; i + 2 < subMesh.VertexCount(); i += 3) out.push_back({vertex(i), vertex(i + 1), vertex(i + 2)});
  }
  return out;
}

V3 FaceNormal(const Triangle& t) { return Cross(t.b.position - t.a.position, t.c.position - t.a.position); }

// For a convex shape around centre: every triangle winds counter-clockwise seen from
// outside, and its vertex normals agree. Returns the total area.
float CheckConvex(const MeshBuilder& builder, V3 centre) {
  float area = 0;
  for (const Triangle& t : Triangles(builder)) {
    const V3 n = FaceNormal(t);
    const float twice = Length(n);
    if (twice < 1e-3f) continue;  // degenerate slivers at poles
    area += 0.5f * twice;
    const V3 middle = (t.a.position + t.b.position + t.c.position) / 3.0f;
    EXPECT_GT(Dot(n, middle - centre), 0.0f) << "inward winding at " << middle.x << "," << middle.y << "," << middle.z;
    for (const Vertex* v : {&t.a, &t.b, &t.c}) {
      EXPECT_NEAR(Length(v->normal), 1.0f, 1e-4f);
      EXPECT_GT(Dot(v->normal, n), 0.0f);
    }
  }
  return area;
}

TEST(Shapes, BoxesAndBevelledBoxesAreClosedAndFaceOut) {
  const Paint paint{"m", 100.0f};
  MeshBuilder box;
  Box(box, paint, Frame::Yawed(V3(10, 20, 30), 0.3f), V3(50, 20, 10));
  EXPECT_EQ(box.TriangleCount(), 12u);
  EXPECT_NEAR(CheckConvex(box, V3(10, 20, 30)), 2 * (100 * 40 + 100 * 20 + 40 * 20), 0.5f);
  MeshBuilder open;
  Box(open, paint, Frame::At(0, 0, 0), V3(1, 1, 1), kNoBottom);
  EXPECT_EQ(open.TriangleCount(), 10u);

  MeshBuilder bevel;
  BevelBox(bevel, paint, Frame::At(5, 5, 5), V3(40, 30, 20), 5);
  EXPECT_EQ(bevel.TriangleCount(), 6 * 2 + 12 * 2 + 8u);
  CheckConvex(bevel, V3(5, 5, 5));
}

TEST(Shapes, CylindersConesAndSpheresFaceOut) {
  const Paint paint{"m", 100.0f};
  MeshBuilder cylinder;
  Cylinder(cylinder, paint, Frame::AlongY(V3(0, 0, 0), V3(1, 1, 0)), 30, 30, 200, 16);
  CheckConvex(cylinder, V3(70.7f, 70.7f, 0));
  MeshBuilder cone;
  Cylinder(cone, paint, Frame::At(0, 0, 0), 100, 20, 80, 24);
  CheckConvex(cone, V3(0, 30, 0));
  MeshBuilder sphere;
  Sphere(sphere, paint, V3(1, 2, 3), 50, 16, 8);
  const float area = CheckConvex(sphere, V3(1, 2, 3));
  EXPECT_NEAR(area, 4 * kPi * 50 * 50, 0.05f * 4 * kPi * 50 * 50);
}

TEST(Shapes, TubesKeepTheirRadiusRoundBends) {
  const Paint paint{"m", 100.0f};
  MeshBuilder tube;
  const std::vector<V3> path = {V3(0, 0, 0), V3(0, 0, 500), V3(500, 0, 500)};
  Tube(tube, paint, path, 20, 12, false);
  for (const Triangle& t : Triangles(tube)) {
    for (const Vertex* v : {&t.a, &t.b, &t.c}) {
      // Distance from the nearest straight run's axis: the radius, except across the
      // mitre where the section is stretched.
      const V3 p = v->position;
      const float toFirst = std::hypot(p.x, p.y), toSecond = std::hypot(p.y, p.z - 500);
      const float distance = p.z < 480 ? toFirst : (p.x > 20 ? toSecond : std::min(toFirst, toSecond));
      EXPECT_NEAR(distance, 20.0f, 0.5f) << p.x << "," << p.y << "," << p.z;
    }
  }
}

TEST(Shapes, ExtrusionsTriangulateConcaveOutlines) {
  const std::vector<V2> ell = {{0, 0}, {100, 0}, {100, 40}, {40, 40}, {40, 100}, {0, 100}};
  const std::vector<int> triangles = Triangulate(ell);
  ASSERT_EQ(triangles.size(), 3u * (ell.size() - 2));
  float area = 0;
  for (std::size_t i = 0; i < triangles.size(); i += 3) {
    const V2 a = ell[static_cast<std::size_t>(triangles[i])], b = ell[static_cast<std::size_t>(triangles[i + 1])],
             c = ell[static_cast<std::size_t>(triangles[i + 2])];
    const float twice = Cross(b - a, c - a);
    EXPECT_GT(twice, 0.0f) << "triangles keep the outline's counter-clockwise turn";
    area += 0.5f * twice;
  }
  EXPECT_FLOAT_EQ(area, 100 * 40 + 40 * 60);
  // The clockwise outline gives the same triangles' area.
  std::vector<V2> clockwise(ell.rbegin(), ell.rend());
  EXPECT_EQ(Triangulate(clockwise).size(), triangles.size());

  MeshBuilder beam;
  SweepProfile(beam, Paint{"m"}, V3(0, 0, 0), V3(0, 0, 300), V3(0, 1, 0), IBeamProfile(100, 80, 10));
  // Sides: 12 quads; caps: 10 triangles each.
  EXPECT_EQ(beam.TriangleCount(), 12 * 2 + 2 * 10u);
  for (const Triangle& t : Triangles(beam)) {
    EXPECT_GT(Dot(FaceNormal(t), t.a.normal), 0.0f);
  }
}

TEST(MeshBuilder, WorldMappingKeepsOneScaleAcrossFaces) {
  MeshBuilder floor;
  floor.Quad(Paint{"m", 256.0f}, V3(0, 0, 512), V3(512, 0, 512), V3(512, 0, 0), V3(0, 0, 0));
  float lowU = 1e9f, highU = -1e9f, lowV = 1e9f, highV = -1e9f;
  for (const Triangle& t : Triangles(floor)) {
    for (const Vertex* v : {&t.a, &t.b, &t.c}) {
      lowU = std::min(lowU, v->u), highU = std::max(highU, v->u);
      lowV = std::min(lowV, v->v), highV = std::max(highV, v->v);
      EXPECT_EQ(v->normal.y, 1.0f);
    }
  }
  EXPECT_FLOAT_EQ(highU - lowU, 2.0f);
  EXPECT_FLOAT_EQ(highV - lowV, 2.0f);
}

TEST(MeshBuilder, SplitsByMaterialAndCellAndKeepsEveryTriangle) {
  MeshBuilder m;
  for (int i = 0; i < 4; ++i) {
    const float x = static_cast<float>(i) * 1000.0f;
    BoxBetween(m, Paint{i % 2 ? "b" : "a"}, V3(x, 0, 0), V3(x + 100, 100, 100));
  }
  const auto whole = m.Build();
  ASSERT_EQ(whole.size(), 2u);
  EXPECT_EQ(whole[0].materialName, "a");
  const auto split = m.Build(1500.0f);
  EXPECT_EQ(split.size(), 4u);  // a: cells 0 and 1, b: cells 0 and 2
  std::size_t vertices = 0;
  for (const auto& s : split) vertices += s.VertexCount();
  EXPECT_EQ(vertices, 4u * 36u);
}

TEST(MeshBuilder, MirroringNegatesXAndKeepsTheVertexOrder) {
  MeshBuilder m;
  m.Quad(Paint{"m"}, V3(1, 0, 0), V3(2, 0, 0), V3(2, 1, 0), V3(1, 1, 0));
  const auto before = Triangles(m);
  sm::Mat4 mirror;
  mirror.a[0] = -1;
  m.Transform(mirror);
  const auto after = Triangles(m);
  ASSERT_EQ(before.size(), after.size());
  for (std::size_t i = 0; i < before.size(); ++i) {
    EXPECT_EQ(after[i].a.position.x, -before[i].a.position.x);
    EXPECT_EQ(after[i].b.position.y, before[i].b.position.y);
    EXPECT_EQ(after[i].c.u, before[i].c.u);
  }
}

TEST(Shapes, OverlaySurfacesFaceTheViewerWithTheirPictureUpright) {
  MeshBuilder m;
  OverlayQuad(m, V3(0, 0, 0), V3(0, 0, -200), V3(0, 100, 0));
  for (const Triangle& t : Triangles(m)) {
    EXPECT_GT(t.a.normal.x, 0.99f);  // right toward -z, up +y: seen from +x
    EXPECT_GT(Dot(FaceNormal(t), t.a.normal), 0.0f);
    for (const Vertex* v : {&t.a, &t.b, &t.c}) {
      EXPECT_FLOAT_EQ(v->v2, v->position.y / 100.0f);   // t = 0 at the bottom
      EXPECT_FLOAT_EQ(v->u2, -v->position.z / 200.0f);  // s = 0 at the left
    }
  }
  // A part of a shared picture: the right half.
  MeshBuilder half;
  OverlayQuad(half, V3(0, 0, 0), V3(0, 0, -200), V3(0, 100, 0), 0.5f, 1.0f);
  for (const Triangle& t : Triangles(half)) {
    for (const Vertex* v : {&t.a, &t.b, &t.c}) EXPECT_FLOAT_EQ(v->u2, 0.5f - v->position.z / 400.0f);
  }
}

}  // namespace
