#pragma once
// The modelling vocabulary: boxes, bevelled boxes, cylinders and cones, tubes along a
// path, extruded outlines, profiles swept along a line, stairs, tiled grids and
// spheres. Every shape adds triangles to a MeshBuilder with outward normals,
// counter-clockwise winding seen from outside, and texture coordinates in world units
// divided by the paint's tile size, so textures keep one scale across shapes.
#include <vector>

#include "datagen/geometry/frame.h"
#include "datagen/geometry/mesh_builder.h"

namespace datagen {

// Faces of a box, to leave out the ones nobody sees (walls against walls, bottoms on
// the floor).
enum BoxFace : unsigned {
  kFacePosX = 1, kFaceNegX = 2, kFacePosY = 4, kFaceNegY = 8, kFacePosZ = 16, kFaceNegZ = 32,
  kAllFaces = 63,
  kNoBottom = kAllFaces & ~kFaceNegY,
};

// A box of half extents half around the frame's origin.
void Box(MeshBuilder& out, const Paint& paint, const Frame& frame, V3 half, unsigned faces = kAllFaces);
// An axis-aligned box between two corners.
void BoxBetween(MeshBuilder& out, const Paint& paint, V3 low, V3 high, unsigned faces = kAllFaces);
// A box whose twelve edges are cut at 45 degrees by bevel (less than every half
// extent): catches a highlight along its edges, which makes machined parts read.
void BevelBox(MeshBuilder& out, const Paint& paint, const Frame& frame, V3 half, float bevel);

// A cylinder or cone frustum along the frame's +y from its origin: radius r0 at the
// bottom, r1 at height. Smooth sides; caps when asked.
void Cylinder(MeshBuilder& out, const Paint& paint, const Frame& frame, float r0, float r1, float height,
              int segments, bool bottomCap = true, bool topCap = true);
// A cylinder between two points.
void CylinderBetween(MeshBuilder& out, const Paint& paint, V3 a, V3 b, float radius, int segments, bool caps = true);

// A round tube through the points (pipes, cables, rails), mitred at the bends so the
// section keeps its radius. Open ends are capped when asked.
void Tube(MeshBuilder& out, const Paint& paint, const std::vector<V3>& path, float radius, int segments,
          bool caps = true);

// A flat outline (simple polygon, counter-clockwise in the frame's x-y plane)
// extruded along the frame's +z by depth, with both caps.
void Extrude(MeshBuilder& out, const Paint& paint, const Frame& frame, const std::vector<V2>& outline, float depth);

// A closed profile (counter-clockwise in the plane across the line, x toward side,
// y toward up) swept straight from a to b, with end caps: beams, rails, channels.
void SweepProfile(MeshBuilder& out, const Paint& paint, V3 a, V3 b, V3 up, const std::vector<V2>& profile);
// The outline of an I-beam (H section) of that height, flange width and thickness.
std::vector<V2> IBeamProfile(float height, float width, float thickness);

// Stairs climbing along the frame's +z: steps of rise and run, width along x, centred
// on x = 0, first step at the origin, each a solid block down to y = 0.
void Stairs(MeshBuilder& out, const Paint& paint, const Frame& frame, float width, int steps, float rise, float run);

// A flat rectangle in the frame's x-z plane facing +y, sizeX by sizeZ centred on the
// origin, split into cellsX by cellsZ quads.
void Grid(MeshBuilder& out, const Paint& paint, const Frame& frame, float sizeX, float sizeZ, int cellsX, int cellsZ);

// A UV sphere (lamp bulbs, knobs).
void Sphere(MeshBuilder& out, const Paint& paint, V3 centre, float radius, int slices, int stacks);

// Triangles of a simple polygon by ear clipping (indices into outline); the outline
// may run either way round. Empty when it has fewer than three corners.
std::vector<int> Triangulate(const std::vector<V2>& outline);

}  // namespace datagen

namespace datagen {

// The surface of an overlay picture: a quad from bottomLeft spanning right and up
// (as the viewer sees it), facing the viewer, with the second texture coordinate
// running 0..1 up it (t = 0 at the bottom) and u2From..u2To across it (a part of a
// picture shared by several surfaces), and no material.
void OverlayQuad(MeshBuilder& out, V3 bottomLeft, V3 right, V3 up, float u2From = 0.0f, float u2To = 1.0f);

}  // namespace datagen
