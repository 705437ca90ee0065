#include "data/direction_playback.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "assets/camera_file.h"
#include "data/data_set.h"
#include "demo/gl_state.h"
#include "scenes/scene_content.h"

namespace direction_testing {
namespace {

// The distance between the segments p0-p1 and q0-q1.
float SegmentDistance(V3 p0, V3 p1, V3 q0, V3 q1) {
  const V3 d1 = p1 - p0, d2 = q1 - q0, r = p0 - q0;
  const float a = datagen::Dot(d1, d1), e = datagen::Dot(d2, d2), f = datagen::Dot(d2, r);
  float s = 0, t = 0;
  if (a <= 1e-6f && e <= 1e-6f) return datagen::Length(r);
  if (a <= 1e-6f) {
    t = std::clamp(f / e, 0.0f, 1.0f);
  } else {
    const float c = datagen::Dot(d1, r);
    if (e <= 1e-6f) {
      s = std::clamp(-c / a, 0.0f, 1.0f);
    } else {
      const float b = datagen::Dot(d1, d2), denominator = a * e - b * b;
      s = denominator > 1e-6f ? std::clamp((b * f - c * e) / denominator, 0.0f, 1.0f) : 0.0f;
      t = (b * s + f) / e;
      if (t < 0) {
        t = 0;
        s = std::clamp(-c / a, 0.0f, 1.0f);
      } else if (t > 1) {
        t = 1;
        s = std::clamp((b - c) / a, 0.0f, 1.0f);
      }
    }
  }
  return datagen::Length((p0 + d1 * s) - (q0 + d2 * t));
}

// The robot's bones as capsules: joints and radius, generous for the plates around them.
struct Bone {
  int from, to;
  float radius;
};
const Bone kBones[] = {{3, 1, 110}, {1, 0, 90},  {4, 5, 60},   {5, 6, 60},   {8, 9, 60},
                       {9, 10, 60}, {12, 13, 65}, {13, 14, 60}, {16, 17, 65}, {17, 18, 60}};

}  // namespace

DirectionPlayback::DirectionPlayback() {
  for (const std::string& name : data_set::ModelNames()) {
    world.AddModel(name, scene_testing::ModelOf(data_set::Model(name).meshes));
  }
  for (const std::string& name : data_set::AnimationNames()) world.AddAnimation(name, data_set::LoadedAnimation(name));
  for (const std::string& name : data_set::TextureNames()) world.AddTexture(name);
  if (!world.robot.Setup(world, data_set::Root()) || !driver.Load()) return;

  // What the controller wires in while loading: the doors on their animation, the
  // cameras on theirs, the signal and the board tracks.
  Animation* doors = world.FindAnimation("doors");
  Model* doorsModel = world.FindModel("doors");
  std::vector<Mesh*> doorMeshes;
  for (auto& mesh : doorsModel->meshes) doorMeshes.push_back(mesh.get());
  doors->AttachMeshes(doorMeshes);
  Animation* cameras = world.FindAnimation("cameras");
  std::string error;
  if (!schedule_.Load(data_set::PathOf("cameras/cameras.cam"), *cameras, error)) {
    ADD_FAILURE() << error;
    return;
  }
  signal_ = MakeSignalPair();
  Mesh& boards = *world.FindModel("boards")->meshes.at(0);

  TimelineParts parts;
  parts.doors = doors;
  parts.cameras = cameras;
  parts.signal = signal_.get();
  parts.boardIndex = boards.FindValue("board_index");
  parts.boardOpacity = boards.FindValue("board_opacity");
  parts.assembling = &driver.Assembling();
  parts.breakingWall = &driver.BreakingWall();
  parts.schedule = &schedule_;
  timeline_.Wire(parts);
  sm::Mat4 projection;
  sm::Perspective(projection, 60.0f, 16.0f / 9.0f, kNearPlane, kFarPlane);
  timeline_.Start(1920, 1080, projection, nullptr);
  ready_ = true;
}

void DirectionPlayback::PlayTo(double seconds) {
  const float step = static_cast<float>(1000.0 / kFramesPerSecond);
  for (; static_cast<double>(frame_) / kFramesPerSecond <= seconds + 1e-9; ++frame_) {
    time_ = static_cast<double>(frame_) / kFramesPerSecond;
    timeline_.Update(static_cast<float>(time_ * 1000.0), step);
  }
}

float DirectionPlayback::FieldOfView() const {
  return static_cast<float>(static_cast<double>(timeline_.FieldOfViewDegrees()) * 3.14159265358979 / 180.0);
}

V3 DirectionPlayback::Eye() const {
  const sm::Mat4 camera = sm::Inverted(View());
  return V3(camera.a[12], camera.a[13], camera.a[14]);
}

V3 DirectionPlayback::ViewDirection() const {
  const sm::Mat4 camera = sm::Inverted(View());
  return datagen::Normalize(V3(-camera.a[8], -camera.a[9], -camera.a[10]));
}

Projected DirectionPlayback::Project(V3 point, float aspect) const {
  const sm::Vec3 q = sm::Transformed(View(), point.ToSm());
  Projected p;
  p.depth = -q.z;
  p.inFront = p.depth > kNearPlane && p.depth < kFarPlane;
  if (p.depth <= 0.0f) return p;
  const float tangent = std::tan(0.5f * FieldOfView());
  p.x = q.x / (p.depth * tangent * aspect);
  p.y = q.y / (p.depth * tangent);
  return p;
}

bool DirectionPlayback::InPicture(V3 point, float margin) const {
  const Projected p = Project(point);
  return p.inFront && std::fabs(p.x) <= 1.0f - margin && std::fabs(p.y) <= kOpenHeight * (1.0f - margin);
}

V3 DirectionPlayback::RobotJoint(int joint) const {
  return V3(sm::Transformed(world.robot.placement, world.robot.CurrentFrame()->joints[joint]));
}

bool DirectionPlayback::RobotHides(V3 point) const {
  const V3 eye = Eye();
  for (const Bone& bone : kBones) {
    if (SegmentDistance(eye, point, RobotJoint(bone.from), RobotJoint(bone.to)) < bone.radius) return true;
  }
  return false;
}

V3 MeshCentre(const Model& model, int mesh) {
  V3 sum;
  int count = 0;
  for (const auto& sub : model.meshes.at(mesh)->subMeshes) {
    for (std::size_t v = 0; v + 2 < sub->vertices.size(); v += model_file::kFloatsPerVertex) {
      sum += V3(sub->vertices[v], sub->vertices[v + 1], sub->vertices[v + 2]);
      ++count;
    }
  }
  return count > 0 ? sum / static_cast<float>(count) : sum;
}

std::vector<V3> SurfacePoints(const Model& model, float inset) {
  V3 low(1e9f, 1e9f, 1e9f), high(-1e9f, -1e9f, -1e9f);
  for (const auto& sub : model.meshes.at(0)->subMeshes) {
    for (std::size_t v = 0; v + 2 < sub->vertices.size(); v += model_file::kFloatsPerVertex) {
      const V3 p(sub->vertices[v], sub->vertices[v + 1], sub->vertices[v + 2]);
      low = V3(std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z));
      high = V3(std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z));
    }
  }
  const V3 centre = (low + high) * 0.5f;
  std::vector<V3> points = {centre};
  // The surface is flat along one axis; its corners span the other two.
  const bool flatX = high.x - low.x < high.z - low.z;
  for (float a : {-1.0f, 1.0f}) {
    for (float b : {-1.0f, 1.0f}) {
      const V3 half = (high - low) * (0.5f * (1.0f - inset));
      V3 corner = centre + V3(0, b * half.y, 0);
      if (flatX) corner.z += a * half.z;
      else corner.x += a * half.x;
      points.push_back(corner);
    }
  }
  return points;
}

}  // namespace direction_testing
