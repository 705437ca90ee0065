// The models of the generated data set: the file form the loader expects, the meshes
// and node values the program looks up, materials that resolve, moving meshes bound
// to their animations, and the shards that make up the glass wall.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "data/data_set.h"
#include "datagen/world/layout.h"

namespace {

using namespace data_set;
namespace layout = datagen::layout;

TEST(DataSetModels, EveryModelHasTheHeaderAndPivotsThatInvert) {
  for (const std::string& name : ModelNames()) {
    const model_file::ModelData model = Model(name);
    EXPECT_TRUE(model.hasHeader) << name;
    EXPECT_EQ(model.version, 1) << name;
    ASSERT_FALSE(model.meshes.empty()) << name;
    for (const auto& mesh : model.meshes) {
      const float* p = mesh.pivot.a;
      // Rigid pivots only: an identity rotation part and w = 1.
      EXPECT_FLOAT_EQ(p[0] * p[5] * p[10], 1.0f) << name << "/" << mesh.name;
      EXPECT_FLOAT_EQ(p[15], 1.0f) << name << "/" << mesh.name;
      for (const auto& subMesh : mesh.subMeshes) {
        EXPECT_GT(subMesh.VertexCount(), 0u) << name << "/" << mesh.name;
        EXPECT_EQ(subMesh.VertexCount() % 3, 0u) << name << "/" << mesh.name;
      }
    }
  }
}

TEST(DataSetModels, EverySubMeshMaterialIsAMaterialFile) {
  const auto stems = Stems("materials", ".mat");
  const std::set<std::string> materials(stems.begin(), stems.end());
  for (const std::string& name : Stems("models", ".geo")) {
    for (const auto& mesh : Model(name).meshes) {
      for (const auto& subMesh : mesh.subMeshes) {
        if (!subMesh.materialName.empty()) {
          EXPECT_TRUE(materials.count(subMesh.materialName)) << name << ": " << subMesh.materialName;
        }
      }
    }
  }
}

TEST(DataSetModels, NormalsAreUnitLength) {
  for (const std::string& name : ModelNames()) {
    for (const auto& mesh : Model(name).meshes) {
      for (const auto& subMesh : mesh.subMeshes) {
        for (std::size_t i = 0; i < subMesh.VertexCount(); ++i) {
          const float* v = subMesh.vertices.data() + i * model_file::kFloatsPerVertex;
          const float length = std::sqrt(v[4] * v[4] + v[5] * v[5] + v[6] * v[6]);
          ASSERT_NEAR(length, 1.0f, 1e-3f) << name << "/" << mesh.name << " vertex " << i;
        }
      }
    }
  }
}

TEST(DataSetModels, SignalCarriersHoldTheirValuesAndNoGeometry) {
  const auto boards = Model("boards");
  const auto* index = FindValue(boards.meshes.at(0), "board_index");
  const auto* opacity = FindValue(boards.meshes.at(0), "board_opacity");
  ASSERT_NE(index, nullptr);
  ASSERT_NE(opacity, nullptr);
  EXPECT_EQ(index->type, model_file::kInt);
  EXPECT_EQ(index->mode, model_file::kStep);
  EXPECT_EQ(opacity->type, model_file::kFloat);
  EXPECT_TRUE(opacity->mode == model_file::kLinear || opacity->mode == model_file::kTcb);
  EXPECT_TRUE(boards.meshes.at(0).subMeshes.empty());

  const auto credits = Model("credits");
  const auto* signal = FindValue(credits.meshes.at(0), "credits_signal");
  ASSERT_NE(signal, nullptr);
  EXPECT_EQ(signal->type, model_file::kInt);
  EXPECT_EQ(signal->mode, model_file::kStep);
  ASSERT_GE(credits.meshes.at(0).subMeshes.size(), 1u);

  for (const char* arm : {"mech_arm_01_end", "mech_arm_02_end"}) {
    const auto end = Model(arm);
    const auto* control = FindMesh(end, "_ctrl_props");
    ASSERT_NE(control, nullptr) << arm;
    ASSERT_NE(FindMesh(end, "arm_end"), nullptr) << arm;
    EXPECT_TRUE(control->subMeshes.empty()) << arm;
    EXPECT_EQ(control->nodeId, 0) << arm;
    const auto* sparks = FindValue(*control, std::string(arm) == "mech_arm_01_end" ? "sparks" : "sparks2");
    ASSERT_NE(sparks, nullptr) << arm;
    EXPECT_EQ(sparks->type, model_file::kInt);
    EXPECT_EQ(sparks->mode, model_file::kStep);
  }
  EXPECT_TRUE(Model("robot_path").meshes.at(0).subMeshes.empty());
  EXPECT_TRUE(Model("robot_breaking_wall_path").meshes.at(0).subMeshes.empty());
}

// The credits and the greetings span their whole pictures; the two monitors share each
// "hud" frame, the first taking its left half and the second its right, so they show
// different panels.
TEST(DataSetModels, OverlaySurfacesSpanTheirPictures) {
  struct Overlay {
    const char* name;
    bool halves;
  };
  for (const Overlay& overlay : {Overlay{"credits", false}, Overlay{"glass_wall_greetz", false}, Overlay{"screens", true}}) {
    const auto model = Model(overlay.name);
    const std::size_t surfaces = overlay.halves ? 2u : 1u;
    ASSERT_GE(model.meshes.size(), surfaces) << overlay.name;
    for (std::size_t m = 0; m < surfaces; ++m) {
      ASSERT_FALSE(model.meshes[m].subMeshes.empty());
      const auto& surface = model.meshes[m].subMeshes[0];
      EXPECT_TRUE(surface.materialName.empty());
      float lowS = 1, highS = 0, lowT = 1, highT = 0;
      for (std::size_t i = 0; i < surface.VertexCount(); ++i) {
        const float* v = surface.vertices.data() + i * model_file::kFloatsPerVertex;
        lowS = std::min(lowS, v[12]), highS = std::max(highS, v[12]);
        lowT = std::min(lowT, v[13]), highT = std::max(highT, v[13]);
      }
      EXPECT_EQ(lowS, overlay.halves ? 0.5f * static_cast<float>(m) : 0.0f) << overlay.name << " " << m;
      EXPECT_EQ(highS, overlay.halves ? 0.5f * static_cast<float>(m) + 0.5f : 1.0f) << overlay.name << " " << m;
      EXPECT_EQ(lowT, 0.0f);
      EXPECT_EQ(highT, 1.0f);
    }
  }
}

TEST(DataSetModels, AnimatedMeshesFindTheirNodes) {
  const auto attached = [](const std::string& model, const std::string& mesh, const std::string& animation) {
    const auto data = Model(model);
    const auto* found = mesh.empty() ? &data.meshes.at(0) : FindMesh(data, mesh);
    ASSERT_NE(found, nullptr) << model << "/" << mesh;
    EXPECT_NE(found->nodeId, 0) << model;
    const auto ids = NodeIds(AnimationData(animation));
    EXPECT_NE(std::find(ids.begin(), ids.end(), found->nodeId), ids.end()) << model << "/" << mesh;
  };
  for (const auto& leaf : Model("doors").meshes) attached("doors", leaf.name, "doors");
  attached("robot_path", "", "robot_path");
  attached("robot_breaking_wall_path", "", "robot_breaking_wall_path");
  attached("mech_arm_01_end", "arm_end", "mech_arm_01_end");
  attached("mech_arm_02_end", "arm_end", "mech_arm_02_end");
}

TEST(DataSetModels, TheShardsAssembleThePaneAndTurnAboutTheirCentres) {
  const auto wall = Model("glass_wall_broken");
  ASSERT_GE(wall.meshes.size(), 60u);
  ASSERT_LE(wall.meshes.size(), 300u);
  double frontArea = 0;
  for (const auto& shard : wall.meshes) {
    EXPECT_EQ(shard.name.rfind("credits", 0), 0u) << "moving shards must not be culled by their rest box";
    ASSERT_EQ(shard.subMeshes.size(), 1u);
    EXPECT_EQ(shard.subMeshes[0].materialName, "glass");
    // Pivot T(-c): c is the shard's centre, inside its own box.
    const float cx = -shard.pivot.a[12], cy = -shard.pivot.a[13], cz = -shard.pivot.a[14];
    float lo[3] = {1e9f, 1e9f, 1e9f}, hi[3] = {-1e9f, -1e9f, -1e9f};
    const auto& vertices = shard.subMeshes[0].vertices;
    for (std::size_t i = 0; i < vertices.size(); i += model_file::kFloatsPerVertex) {
      for (int k = 0; k < 3; ++k) lo[k] = std::min(lo[k], vertices[i + k]), hi[k] = std::max(hi[k], vertices[i + k]);
    }
    EXPECT_TRUE(cx >= lo[0] && cx <= hi[0] && cy > lo[1] && cy < hi[1] && cz > lo[2] && cz < hi[2]) << shard.name;
    EXPECT_GT(cy, 0.0f);
    EXPECT_GT(cz, layout::kShardLimitLow);
    EXPECT_LT(cz, layout::kShardLimitHigh);
    // The face toward the robot: triangles facing -x, their area summed over shards.
    for (std::size_t i = 0; i + 3 * model_file::kFloatsPerVertex <= vertices.size(); i += 3 * model_file::kFloatsPerVertex) {
      const float* a = &vertices[i];
      const float* b = a + model_file::kFloatsPerVertex;
      const float* c = b + model_file::kFloatsPerVertex;
      if (a[4] > -0.99f) continue;
      const double uy = b[1] - a[1], uz = b[2] - a[2], vy = c[1] - a[1], vz = c[2] - a[2];
      frontArea += 0.5 * std::fabs(uy * vz - uz * vy);
    }
  }
  EXPECT_NEAR(frontArea, layout::kGlassWidth * layout::kGlassHeight, 1.0) << "the shards cover the pane exactly";
}

}  // namespace
