#include "file_report.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "anim/node_animation.h"
#include "anim/property_script.h"
#include "base/log.h"
#include "base/path.h"
#include "base/byte_io.h"
#include "assets/camera_file.h"
#include "assets/image.h"
#include "assets/material.h"
#include "assets/model.h"
#include "assets/robot_pose_file.h"
#include "render/fx/fx.h"
#include "render/fx/fx_format.h"
#include "platform/offscreen_context.h"

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

Json Colour(const float* rgba) { return Json::array({rgba[0], rgba[1], rgba[2], rgba[3]}); }

bool InspectMaterial(const std::string& path, const Options&, Json& out, std::string& error) {
  const std::unique_ptr<Material> material = ReadMaterialFile(path, error);
  if (!material) return false;
  out["name"] = material->name;
  out["ambient"] = Colour(material->ambient);
  out["diffuse"] = Colour(material->diffuse);
  out["specular"] = Colour(material->specular);
  out["emissive"] = Colour(material->emissive);
  out["opacity"] = material->opacity;
  out["glossiness"] = material->glossiness;
  out["specularLevel"] = material->specularLevel;
  out["emissiveAmount"] = material->emissiveAmount;
  out["reflectionLevel"] = material->reflectionLevel;
  out["diffuseMap"] = material->diffuseMapName;
  out["opacityMap"] = material->opacityMapName;
  out["bumpMap"] = material->bumpMapName;
  out["environmentMap"] = material->environmentMapName;
  return true;
}

// The decoders behind the texture loader; the GL upload is left out, so no display
// is needed.
bool InspectImage(const std::string& path, Json& out, std::string& error, bool (*decode)(const std::string&, Image&)) {
  Image image;
  if (!decode(path, image)) {
    error = "'" + path + "': not a picture the texture loader reads";
    return false;
  }
  out["width"] = image.width;
  out["height"] = image.height;
  out["bitsPerPixel"] = image.bitsPerPixel;
  return true;
}

bool InspectPng(const std::string& path, const Options&, Json& out, std::string& error) {
  return InspectImage(path, out, error, DecodePng);
}

bool InspectJpeg(const std::string& path, const Options&, Json& out, std::string& error) {
  return InspectImage(path, out, error, DecodeJpeg);
}

// Sends the log to a temporary file while it lives, for loaders that report their
// reasons only there.
class CapturedLog {
 public:
  CapturedLog() {
    const char* folder = std::getenv("TMPDIR");
    path_ = std::string(folder != nullptr && *folder != '\0' ? folder : "/tmp") + "/drift_inspect_log_XXXXXX";
    const int fd = mkstemp(path_.data());
    if (fd >= 0) close(fd);
    OpenLog(path_);
  }
  ~CapturedLog() {
    CloseLog();
    std::remove(path_.c_str());
  }
  // What was logged, on one line.
  std::string Text() {
    CloseLog();
    std::string text;
    std::string ignored;
    bytes::ReadWholeFile(path_, text, ignored);
    std::replace(text.begin(), text.end(), '\n', ' ');
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
  }

 private:
  std::string path_;
};

template <typename T>
Json PropertyKeys(const IKeyframesProvider<T>& keys) {
  Json list = Json::array();
  for (int i = 0; i < keys.KeyCount(); ++i) {
    float time = 0;
    bool hold = false;
    T value{};
    keys.GetKey(i, time, hold, value);
    Json key = {{"time", time}, {"value", ToJson(value)}};
    if (hold) key["hold"] = true;
    list.push_back(std::move(key));
  }
  return list;
}

Json PropertyJson(const EditableProperty& property) {
  Json out = {{"id", property.Id()}, {"name", property.Name()}, {"type", property.Type()}};
  if (const auto* value = dynamic_cast<const ValueProperty*>(&property)) {
    out["kind"] = "value";
    if (const int* i = value->IntValue()) out["value"] = *i;
    if (const float* f = value->FloatValue()) out["value"] = *f;
    if (const sm::Vec3* v = value->Vec3Value()) out["value"] = Vec(*v);
  } else if (const auto* animated = dynamic_cast<const AnimProperty*>(&property)) {
    out["kind"] = "animated";
    if (const auto* keys = animated->Keys<int>()) out["keys"] = PropertyKeys(*keys);
    if (const auto* keys = animated->Keys<float>()) out["keys"] = PropertyKeys(*keys);
    if (const auto* keys = animated->Keys<sm::Vec3>()) out["keys"] = PropertyKeys(*keys);
  } else if (const auto* camera = dynamic_cast<const CameraProperty*>(&property)) {
    out["kind"] = "camera";
    out["positionId"] = camera->PositionId();
    out["rotationId"] = camera->RotationId();
    out["firstFloatId"] = camera->FirstFloatId();
    out["secondFloatId"] = camera->SecondFloatId();
  }
  return out;
}

bool InspectPropertyScript(const std::string& path, const Options&, Json& out, std::string& error) {
  std::unique_ptr<SignalPair> signal;
  PropertyMap properties;
  std::vector<std::unique_ptr<EditableCamera>> cameras;
  CapturedLog log;
  if (!LoadPropertyScript(path, PropertyScriptTarget{signal, properties, cameras})) {
    error = log.Text();
    if (error.empty()) error = "'" + path + "': the property script did not load";
    return false;
  }
  Json list = Json::array();
  for (const auto& entry : properties) list.push_back(PropertyJson(*entry.second));
  out["propertyCount"] = properties.Size();
  out["cameraCount"] = cameras.size();
  out["properties"] = std::move(list);
  return true;
}

Json DefinesJson(const std::vector<fx::Define>& defines) {
  Json list = Json::array();
  for (const fx::Define& define : defines) {
    list.push_back(define.value.empty() ? define.name : define.name + "=" + define.value);
  }
  return list;
}

// Techniques with their passes as the effect file describes them and, where a GL
// context can be had, the parameters the driver's linker kept.
bool InspectEffect(const std::string& path, const Options&, Json& out, std::string& error) {
  fx::EffectDesc desc;
  if (!fx::ReadEffectDescriptionFile(path, desc, error)) return false;
  Json blocks = Json::array();
  for (const fx::CodeBlock& block : desc.blocks) {
    blocks.push_back({{"name", block.name}, {"file", block.file}});
  }
  Json samplers = Json::array();
  for (const fx::SamplerStates& sampler : desc.samplers) samplers.push_back(sampler.name);
  Json techniques = Json::array();
  for (const fx::TechniqueDesc& technique : desc.techniques) {
    Json passes = Json::array();
    for (const fx::PassDesc& pass : technique.passes) {
      passes.push_back({{"name", pass.name},
                        {"vertex", pass.vertexBlocks},
                        {"fragment", pass.fragmentBlocks},
                        {"defines", DefinesJson(pass.defines)}});
    }
    techniques.push_back(
        {{"name", technique.name}, {"defines", DefinesJson(technique.defines)}, {"passes", std::move(passes)}});
  }
  out["blocks"] = std::move(blocks);
  out["samplers"] = std::move(samplers);
  out["techniques"] = std::move(techniques);

  // Compiling needs a GL context on a display; without one the description is all there
  // is (an off-screen driver SDL might still find would make the output depend on the
  // machine).
  const bool hasDisplay = std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
  platform::OffscreenContext gl;
  std::unique_ptr<fx::Context> context;
  if (!hasDisplay || !gl.Create() || !(context = fx::Context::Create())) {
    out["compiled"] = nullptr;
    return true;
  }
  const std::unique_ptr<fx::Effect> effect = context->CreateEffectFromFile(path, &error);
  if (!effect) return false;
  Json parameters = Json::object();
  for (const auto& entry : effect->Parameters()) {
    parameters[entry.first] = fx::ParameterTypeName(entry.second->Type());
  }
  out["compiled"] = true;
  out["parameters"] = std::move(parameters);
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
      {{"material", "*.mat", "material fields and map names"}, InspectMaterial},
      {{"png", "*.png", "picture size and pixel format"}, InspectPng},
      {{"jpeg", "*.jpg", "picture size and pixel format"}, InspectJpeg},
      {{"property-script", "*.scr", "properties with values and keys"}, InspectPropertyScript},
      {{"effect", "*.cfx", "techniques and passes; with a display, the compiled parameters"},
       InspectEffect},
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
  if (extension == "mat") return "material";
  if (extension == "png") return "png";
  if (extension == "jpg" || extension == "jpeg") return "jpeg";
  if (extension == "scr") return "property-script";
  if (extension == "cfx") return "effect";
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
