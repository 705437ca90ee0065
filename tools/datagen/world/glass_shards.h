#pragma once
// How the glass pane breaks: the outlines of its shards, a Voronoi split of the pane
// with cells packed densest around the point of impact. Coordinates are (z, y) in the
// pane's plane, in world units; together the outlines cover the pane exactly.
#include <vector>

#include "datagen/geometry/vec.h"

namespace datagen {

std::vector<std::vector<V2>> GlassShardOutlines();

// Area-weighted centre of a simple polygon.
V2 PolygonCentroid(const std::vector<V2>& outline);

// The part of a convex polygon on the side of the line through p with normal n where
// (q - p) · n <= 0.
std::vector<V2> ClipToHalfPlane(const std::vector<V2>& polygon, V2 p, V2 n);

}  // namespace datagen
