// "boards": never drawn; its first mesh carries the title cards' timing: which card
// (board_index) and how opaque it is (board_opacity). Each card fades in over one bar
// of the music, from a bar line, holds, and fades out over one bar; the card changes
// only while the opacity is 0.
#include "anim/show_times.h"
#include "datagen/geometry/model_builder.h"
#include "datagen/pipeline/context.h"
#include "datagen/steps.h"

namespace datagen {

bool BuildBoards(Context& context) {
  ModelBuilder model;
  model_file::MeshData& carrier = model.AddEmptyMesh("boards");
  // 0 title1 (the group) and 1 title2 (the demo's name) over the first two shots of the
  // hall, 2 soon (a teaser) before the release, 3 endscreen from the end of the dance.
  carrier.values.push_back(
      IntTrack("board_index", model_file::kStep, {{0.0f, 0}, {10.5f, 1}, {95.0f, 2}, {215.0f, 3}}));
  carrier.values.push_back(FloatTrack("board_opacity", model_file::kLinear,
                                      {{0.0f, 0}, {1.830f, 0}, {3.463f, 1}, {8.361f, 1}, {9.994f, 0},
                                       {11.626f, 0}, {13.259f, 1}, {16.524f, 1}, {18.157f, 0},
                                       {96.259f, 0}, {97.897f, 1}, {102.810f, 1}, {104.448f, 0},
                                       {show::AsFloat(show::kEndScreenIn), 0}, {219.829f, 1}}));
  return context.WriteModel("boards", model);
}

}  // namespace datagen
