// "screens": the faces of the two big monitors on the monitor wall, which show the
// animated readouts. A few units in front of the monitor glass in the hall. Both faces
// draw the same "hud" frame, which holds a panel for each: the first face maps its
// left half, the second its right half (the second UV set).
#include "datagen/geometry/model_builder.h"
#include "datagen/geometry/shapes.h"
#include "datagen/pipeline/context.h"
#include "datagen/steps.h"
#include "datagen/world/layout.h"

namespace datagen {

bool BuildScreens(Context& context) {
  using namespace layout;
  ModelBuilder model;
  int index = 0;
  for (const V3& centre : {kMonitor1Centre, kMonitor2Centre}) {
    MeshBuilder face;
    // Facing +x (toward the hall): the picture's right runs toward -z.
    const V3 bottomLeft(centre.x + 3.0f, centre.y - 0.5f * kMonitorHeight, centre.z + 0.5f * kMonitorWidth);
    const float half = index == 0 ? 0.0f : 0.5f;
    OverlayQuad(face, bottomLeft, V3(0, 0, -kMonitorWidth), V3(0, kMonitorHeight, 0), half, half + 0.5f);
    model.AddMesh(index++ == 0 ? "screen_1" : "screen_2", face);
  }
  return context.WriteModel("screens", model);
}

}  // namespace datagen
