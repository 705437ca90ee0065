// "credits": the surface the three credit cards appear on, a banner behind the dance
// spot facing the dance cameras, and the signal that steps through the cards.
#include "datagen/geometry/model_builder.h"
#include "datagen/geometry/shapes.h"
#include "datagen/pipeline/context.h"
#include "datagen/steps.h"
#include "datagen/world/layout.h"

namespace datagen {

bool BuildCredits(Context& context) {
  using namespace layout;
  MeshBuilder surface;
  // Facing -z, seen from the dance cameras: the picture's right runs toward -x. Two
  // units in front of the banner board in the hall.
  const V3 bottomLeft(kCreditsCentre.x + 0.5f * kCreditsWidth, kCreditsCentre.y - 0.5f * kCreditsHeight,
                      kCreditsCentre.z - 2.0f);
  OverlayQuad(surface, bottomLeft, V3(-kCreditsWidth, 0, 0), V3(0, kCreditsHeight, 0));
  ModelBuilder model;
  model_file::MeshData& mesh = model.AddMesh("credits", surface);
  // Each change shows the next card: kestrel, marlin, osprey during the dance.
  mesh.values.push_back(
      IntTrack("credits_signal", model_file::kStep, {{0.0f, 0}, {203.8721f, 1}, {208.5505f, 0}, {213.6274f, 1}}));
  return context.WriteModel("credits", model);
}

}  // namespace datagen
