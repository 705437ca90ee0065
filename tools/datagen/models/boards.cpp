// "boards": never drawn; its first mesh carries the title cards' timing: which card
// (board_index) and how opaque it is (board_opacity). The card changes only while the
// opacity is 0.
#include "datagen/geometry/model_builder.h"
#include "datagen/pipeline/context.h"
#include "datagen/steps.h"

namespace datagen {

bool BuildBoards(Context& context) {
  ModelBuilder model;
  model_file::MeshData& carrier = model.AddEmptyMesh("boards");
  // 0 title1 (the group), 1 title2 (the demo's name), 2 soon (a teaser), 3 endscreen.
  carrier.values.push_back(
      IntTrack("board_index", model_file::kStep, {{0.0f, 0}, {10.5f, 1}, {95.0f, 2}, {215.0f, 3}}));
  carrier.values.push_back(FloatTrack("board_opacity", model_file::kLinear,
                                      {{0.0f, 0}, {2.0f, 0}, {3.0f, 1}, {8.0f, 1}, {9.5f, 0}, {11.5f, 0},
                                       {12.5f, 1}, {17.5f, 1}, {19.0f, 0}, {96.0f, 0}, {97.0f, 1}, {103.0f, 1},
                                       {104.5f, 0}, {218.0f, 0}, {219.5f, 1}}));
  return context.WriteModel("boards", model);
}

}  // namespace datagen
