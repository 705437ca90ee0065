#include "inspect.h"

#include <algorithm>
#include <cctype>
#include <memory>

#include "anim/node_animation.h"
#include "app/path.h"
#include "assets/camera_file.h"
#include "assets/model.h"
#include "assets/robot_pose_file.h"

namespace inspect {
namespace {

Json Vec(const sm::Vec3& v) { return Json::array({v.x, v.y, v.z}); }
Json Vec(const float* v) { return Json::array({v[0], v[1], v[2]}); }
Json QuatJson(const sm::Quat& q) { return Json::array({q.w, q.v.x, q.v.y, q.v.z}); }
Json MatrixJson(const sm::Mat4& m) { return Json(std::vector<float>(m.a, m.a + 16)); }

Json ToJson(bool v) { return v; }
Json ToJson(int v) { return v; }
Json ToJson(float v) { return v; }
Json ToJson(const sm::Vec3& v) { return Vec(v); }
Json ToJson(const sm::Quat& q) { return QuatJson(q); }
Json ToJson(const std::string& v) { return v; }

template <typename T>
Json KeysJson(const IInterpolator<T>& track) {
  Json keys = Json::array();
  for (int i = 0; i < track.KeyCount(); ++i) {
    float time = 0;
    T value{};
    bool hold = false;
    track.GetKey(i, time, value, hold);
    Json key = {{"time", time}, {"value", ToJson(value)}};
    if (hold) key["hold"] = true;
    keys.push_back(std::move(key));
  }
  return keys;
}

const char* TypeName(int type) {
  static const char* const kNames[] = {"bool", "int", "float", "vec3", "string"};
  return type >= 0 && type < 5 ? kNames[type] : nullptr;
}

const char* ModeName(int mode) {
  static const char* const kNames[] = {"constant", "step", "linear", "tcb"};
  return mode >= 0 && mode < 4 ? kNames[mode] : nullptr;
}

template <typename T>
bool AddValue(const KeyedValue& value, Json& out) {
  if (const T* constant = value.Constant<T>()) {
    out["value"] = ToJson(*constant);
    return true;
  }
  if (const IInterpolator<T>* track = value.Track<T>()) {
    out["keys"] = KeysJson(*track);
    return true;
  }
  return false;
}

Json NodeValueJson(const KeyedValue& value) {
  Json out = {{"name", value.Name()}};
  const char* type = TypeName(value.Type());
  const char* mode = ModeName(value.Mode());
  out["type"] = type != nullptr ? Json(type) : Json(value.Type());
  out["mode"] = mode != nullptr ? Json(mode) : Json(value.Mode());
  const bool stored = AddValue<bool>(value, out) || AddValue<int>(value, out) ||
                      AddValue<float>(value, out) || AddValue<sm::Vec3>(value, out) ||
                      AddValue<std::string>(value, out);
  if (!stored) out["stored"] = false;  // a type and mode that hold nothing
  return out;
}

// The box around several boxes (min xyz, max xyz); null in JSON while empty.
struct Box {
  bool empty = true;
  float min[3] = {0, 0, 0};
  float max[3] = {0, 0, 0};
  void Add(const float* lo, const float* hi) {
    for (int i = 0; i < 3; ++i) {
      min[i] = empty ? lo[i] : std::min(min[i], lo[i]);
      max[i] = empty ? hi[i] : std::max(max[i], hi[i]);
    }
    empty = false;
  }
  void Add(const Box& other) {
    if (!other.empty) Add(other.min, other.max);
  }
  Json ToJson() const {
    if (empty) return nullptr;
    const float centre[3] = {(min[0] + max[0]) * 0.5f, (min[1] + max[1]) * 0.5f, (min[2] + max[2]) * 0.5f};
    return {{"min", Vec(min)}, {"max", Vec(max)}, {"centre", Vec(centre)}};
  }
};

Json SubMeshJson(const SubMesh& subMesh, const Options& options, Box& bounds) {
  const model_file::BoundingBox& box = subMesh.boundingBox;
  Json out = {{"material", subMesh.materialName}, {"vertexCount", subMesh.vertexCount}};
  const float min[3] = {box.minX, box.minY, box.minZ};
  const float max[3] = {box.maxX, box.maxY, box.maxZ};
  out["boundingBox"] = {{"min", Vec(min)}, {"max", Vec(max)}, {"centre", Vec(box.centre)}};
  out["boundingSphere"] = {{"centre", Vec(subMesh.boundingSphere.centre)},
                           {"radius", subMesh.boundingSphere.radius}};
  if (subMesh.vertexCount > 0) bounds.Add(min, max);
  if (options.vertices) {
    Json vertices = Json::array();
    for (int i = 0; i < subMesh.vertexCount; ++i) {
      const float* v = subMesh.vertices.data() + static_cast<std::size_t>(i) * model_file::kFloatsPerVertex;
      vertices.push_back(Json(std::vector<float>(v, v + model_file::kFloatsPerVertex)));
    }
    out["vertices"] = std::move(vertices);
  }
  return out;
}

bool InspectModel(const std::string& path, const Options& options, Json& out, std::string& error) {
  ContentObservers none;
  ModelLoader loader(none);
  const std::unique_ptr<Model> model = loader.LoadModel(path, error);
  if (!model) return false;
  out["version"] = loader.Version();
  Box modelBounds;
  Json meshes = Json::array();
  int subMeshCount = 0;
  long long vertexCount = 0;
  for (const auto& mesh : model->meshes) {
    Box meshBounds;
    Json subMeshes = Json::array();
    for (const auto& subMesh : mesh->subMeshes) {
      subMeshes.push_back(SubMeshJson(*subMesh, options, meshBounds));
      ++subMeshCount;
      vertexCount += subMesh->vertexCount;
    }
    Json values = Json::array();
    for (const auto& entry : mesh->values) values.push_back(NodeValueJson(entry.second));
    Json meshJson = {{"name", mesh->name}, {"nodeId", mesh->nodeId}};
    if (loader.Version() != 0) meshJson["pivot"] = MatrixJson(mesh->pivot);
    meshJson["bounds"] = meshBounds.ToJson();
    meshJson["subMeshes"] = std::move(subMeshes);
    meshJson["values"] = std::move(values);
    meshes.push_back(std::move(meshJson));
    modelBounds.Add(meshBounds);
  }
  out["meshCount"] = model->meshes.size();
  out["subMeshCount"] = subMeshCount;
  out["vertexCount"] = vertexCount;
  out["bounds"] = modelBounds.ToJson();
  out["meshes"] = std::move(meshes);
  return true;
}

template <typename T>
Json ChannelJson(const T& constant, const TCBInterpolator<T>* track) {
  if (track == nullptr) return {{"constant", ToJson(constant)}};
  return {{"keys", KeysJson(*track)}};
}

Json NodeJson(const Animation& node, int& count) {
  ++count;
  Json out = {{"id", node.id}, {"local", MatrixJson(node.local)}};
  out["position"] = ChannelJson(node.position, node.positionTrack.get());
  out["rotation"] = ChannelJson(node.rotation, node.rotationTrack.get());
  out["scale"] = ChannelJson(node.scale, node.scaleTrack.get());
  if (node.spin) out["spinRate"] = node.spinRate;
  Json children = Json::array();
  for (const auto& child : node.children) children.push_back(NodeJson(*child, count));
  out["children"] = std::move(children);
  return out;
}

bool InspectAnimation(const std::string& path, const Options&, Json& out, std::string& error) {
  const std::unique_ptr<Animation> root = AnimationLoader::LoadAnimation(path, error);
  if (!root) return false;
  int count = 0;
  Json nodes = Json::array();
  for (const auto& child : root->children) nodes.push_back(NodeJson(*child, count));
  out["nodeCount"] = count;
  out["nodes"] = std::move(nodes);
  return true;
}

Json BlockJson(const camera_file::ValueBlock& block) {
  if (!block.animated) return {{"constant", block.constant}};
  Json keys = Json::array();
  for (const camera_file::FloatKey& key : block.keys) keys.push_back({{"time", key.time}, {"value", key.value}});
  return {{"keys", std::move(keys)}};
}

bool InspectCamera(const std::string& path, const Options&, Json& out, std::string& error) {
  std::vector<camera_file::CameraRecord> cameras;
  if (!camera_file::ReadFile(path, cameras, error)) return false;
  Json list = Json::array();
  for (const camera_file::CameraRecord& camera : cameras) {
    list.push_back({{"id", camera.id},
                    {"fieldOfView", BlockJson(camera.fieldOfView)},
                    {"second", BlockJson(camera.second)}});
  }
  out["cameraCount"] = cameras.size();
  out["cameras"] = std::move(list);
  return true;
}

Json JointsJson(const robot_pose_file::Joints& frame) {
  Json joints = Json::array();
  for (const sm::Vec3& joint : frame.joints) joints.push_back(Vec(joint));
  return joints;
}

bool InspectRestFrame(const std::string& path, const Options&, Json& out, std::string& error) {
  robot_pose_file::Joints frame;
  if (!robot_pose_file::ReadRestFrame(path, frame, error)) return false;
  out["joints"] = JointsJson(frame);
  return true;
}

bool InspectPoseAnimation(const std::string& path, const Options&, Json& out, std::string& error) {
  std::vector<robot_pose_file::PoseKey> keys;
  if (!robot_pose_file::ReadAnimation(path, keys, error)) return false;
  Json list = Json::array();
  for (const robot_pose_file::PoseKey& key : keys) {
    list.push_back({{"time", key.time}, {"joints", JointsJson(key.frame)}});
  }
  out["keyCount"] = keys.size();
  out["keys"] = std::move(list);
  return true;
}

using Inspector = bool (*)(const std::string&, const Options&, Json&, std::string&);

struct Kind {
  KindInfo info;
  Inspector inspect;
};

const std::vector<Kind>& AllKinds() {
  static const std::vector<Kind> kinds = {
      {{"model", "*.geo", "meshes, sub-meshes, bounds, node values"}, InspectModel},
      {{"animation", "*.ani", "node trees with their keys"}, InspectAnimation},
      {{"camera", "*.cam", "camera records: id, field of view, second value"}, InspectCamera},
      {{"rest-frame", "frame", "the robot's rest pose (20 joints)"}, InspectRestFrame},
      {{"pose-animation", "*_anim", "the robot's pose keys"}, InspectPoseAnimation},
  };
  return kinds;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

const std::vector<KindInfo>& Kinds() {
  static const std::vector<KindInfo> infos = [] {
    std::vector<KindInfo> list;
    for (const Kind& kind : AllKinds()) list.push_back(kind.info);
    return list;
  }();
  return infos;
}

std::string KindOf(const std::string& path) {
  const PathParts parts = SplitPath(path);
  const std::string extension = Lower(parts.extension);
  const std::string name = Lower(parts.name);
  if (extension == "geo") return "model";
  if (extension == "ani") return "animation";
  if (extension == "cam") return "camera";
  if (extension.empty() && name == "frame") return "rest-frame";
  if (extension.empty() && name.size() > 5 && name.compare(name.size() - 5, 5, "_anim") == 0) {
    return "pose-animation";
  }
  return "";
}

bool Inspect(const std::string& path, const Options& options, Json& out, std::string& error) {
  const std::string kind = options.kind.empty() ? KindOf(path) : options.kind;
  for (const Kind& candidate : AllKinds()) {
    if (kind != candidate.info.name) continue;
    out = Json::object();
    out["file"] = path;
    out["kind"] = kind;
    return candidate.inspect(path, options, out, error);
  }
  error = "'" + path + "': unknown kind of file (see --help, or name one with --as)";
  return false;
}

}  // namespace inspect
