// The glass wall between the glass-wall room and the hall beyond:
// - "glass_wall_broken": the pane as shards (a Voronoi split, denser where the robot
//   hits it), each its own mesh with its centre as pivot, so the scene can spin each
//   about its middle as it flies. Together they are the intact pane until the impact.
// - "glass_wall_greetz": the surface the greetings appear on, just in front of the glass.
#include <cmath>
#include <cstdio>
#include <vector>

#include "datagen/geometry/model_builder.h"
#include "datagen/geometry/shapes.h"
#include "datagen/pipeline/context.h"
#include "datagen/steps.h"
#include "datagen/texture/noise.h"
#include "datagen/world/glass_shards.h"
#include "datagen/world/layout.h"

namespace datagen {

bool BuildGlassWall(Context& context) {
  using namespace layout;
  const std::vector<std::vector<V2>> shards = GlassShardOutlines();
  ModelBuilder broken;
  const float half = 0.5f * kGlassThickness;
  const Paint glass{"glass", 1000.0f, UvMapping::kWorld};
  for (std::size_t i = 0; i < shards.size(); ++i) {
    // Outline coordinates are (z, y) in the pane's plane; the frame maps them there
    // and extrudes toward -x through the glass's thickness.
    Frame frame;
    frame.origin = V3(kGlassPlaneX + half, 0, 0);
    frame.x = V3(0, 0, 1);
    frame.y = V3(0, 1, 0);
    frame.z = V3(-1, 0, 0);
    MeshBuilder shard;
    Extrude(shard, glass, frame, shards[i], kGlassThickness);
    const V2 c = PolygonCentroid(shards[i]);
    // Named "credits..." so the renderer never culls them by the pane's rest box while
    // they fly and lie about beyond it.
    char name[40];
    std::snprintf(name, sizeof name, "credits_shard_%03d", static_cast<int>(i));
    model_file::MeshData& mesh = broken.AddMesh(name, shard);
    mesh.pivot = sm::Translation(-kGlassPlaneX, -c.y, -c.x);
  }
  if (!context.WriteModel("glass_wall_broken", broken)) return false;

  // The greetings: a 4:1 band at head height in the middle of the glass. The surface
  // is drawn before the glass and writes depth even where its picture is clear; inside
  // the pane, the glass's near face still covers it, so the glass shows unbroken over
  // the text instead of leaving a clear hole around it.
  MeshBuilder surface;
  const float width = kGlassWidth * 0.96f, height = width * 0.25f;
  OverlayQuad(surface, V3(kGlassPlaneX, 560.0f - 0.5f * height, kGlassCentreZ - 0.5f * width),
              V3(0, 0, width), V3(0, height, 0));
  ModelBuilder greetz;
  greetz.AddMesh("glass_wall_greetz", surface);
  return context.WriteModel("glass_wall_greetz", greetz);
}

}  // namespace datagen
