#include "anim/property_script.h"

#include <climits>
#include <fstream>
#include <iomanip>
#include <istream>
#include <locale>
#include <ostream>
#include <sstream>
#include <utility>

#include "anim/show_times.h"
#include "base/log.h"

namespace {

// A token as shown in a log line: cut short, control characters and quotes masked,
// so the line stays one readable line whatever the file holds.
std::string Shown(const std::string& token) {
  std::string text = token.size() > 40 ? token.substr(0, 40) + "..." : token;
  for (char& c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || u >= 0x7F || c == '"') c = '?';
  }
  return text;
}

// Reads the script's tokens and reports the first problem, with the token's number
// (1-based) and byte offset, as one log line.
class TokenReader {
 public:
  TokenReader(std::istream& in, const std::string& name) : in_(in), name_(name) {
    previousLocale_ = in_.imbue(std::locale::classic());
  }
  ~TokenReader() { in_.imbue(previousLocale_); }
  TokenReader(const TokenReader&) = delete;
  TokenReader& operator=(const TokenReader&) = delete;

  struct Position {
    int token;
    long long offset;
  };
  Position Where() const { return {token_, offset_}; }

  bool Word(std::string& out) {
    if (!Next()) return false;
    in_ >> out;
    if (!in_) return Fail("a word cannot be read");
    return true;
  }

  bool Long(long& out) {
    if (!Next()) return false;
    if (!(in_ >> out)) return FailWithToken("integer expected");
    return true;
  }

  bool Int(int& out) {
    long value = 0;
    if (!Long(value)) return false;
    if (value < INT_MIN || value > INT_MAX) return FailWithToken("integer out of range");
    out = static_cast<int>(value);
    return true;
  }

  bool Float(float& out) {
    if (!Next()) return false;
    if (!(in_ >> out)) return FailWithToken("number expected");
    return true;
  }

  bool Vec3(sm::Vec3& out) {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    if (!Float(x) || !Float(y) || !Float(z)) return false;
    out = sm::Vec3(x, y, z);
    return true;
  }

  // Writes the one log line for a problem at position.
  bool FailAt(const Position& at, const std::string& problem) {
    WriteLog("error: property script \"%s\": %s (token %d, byte %lld)", name_.c_str(), problem.c_str(), at.token,
             at.offset);
    return false;
  }
  bool Fail(const std::string& problem) { return FailAt(Where(), problem); }

 private:
  // Skips white space up to the next token and records where it starts. False (and
  // the problem logged) when the input ends there.
  bool Next() {
    ++token_;
    in_ >> std::ws;
    const bool atEnd = in_.eof();
    in_.clear();  // so that the position can be read at the end of the input too
    offset_ = static_cast<long long>(in_.tellg());
    if (atEnd || in_.peek() == std::char_traits<char>::eof()) return Fail("input ends before \"end\"");
    return true;
  }

  // Names the token that could not be read.
  bool FailWithToken(const std::string& problem) {
    in_.clear();
    std::string text;
    if (offset_ >= 0 && in_.seekg(offset_)) in_ >> text;
    return Fail(problem + ", found \"" + Shown(text) + "\"");
  }

  std::istream& in_;
  const std::string& name_;
  std::locale previousLocale_;
  int token_ = 0;
  long long offset_ = 0;
};

bool ReadKeyValue(TokenReader& reader, int& out) { return reader.Int(out); }
bool ReadKeyValue(TokenReader& reader, float& out) { return reader.Float(out); }
bool ReadKeyValue(TokenReader& reader, sm::Vec3& out) { return reader.Vec3(out); }

// One key after its leading word: time, hold flag, value.
template <typename T>
bool ReadKey(TokenReader& reader, IKeyframesProvider<T>& keys) {
  float time = 0.0f;
  long hold = 0;
  T value{};
  if (!reader.Float(time) || !reader.Long(hold) || !ReadKeyValue(reader, value)) return false;
  keys.AddKey(time, hold == 1, value);
  return true;
}

std::unique_ptr<EditableProperty> ReadValueProperty(TokenReader& reader, int id, const std::string& name, int type) {
  auto property = std::make_unique<ValueProperty>(id, name, type);
  bool ok = true;
  if (int* i = property->IntValue()) {
    ok = reader.Int(*i);
  } else if (float* f = property->FloatValue()) {
    ok = reader.Float(*f);
  } else if (sm::Vec3* v = property->Vec3Value()) {
    ok = reader.Vec3(*v);
  }
  return ok ? std::move(property) : nullptr;
}

std::unique_ptr<EditableProperty> ReadAnimProperty(TokenReader& reader, int id, const std::string& name, int type,
                                                   const TokenReader::Position& typeAt) {
  std::unique_ptr<AnimProperty> property = AnimProperty::Create(id, name, type);
  if (!property) {
    reader.FailAt(typeAt, "unsupported track type code " + std::to_string(type));
    return nullptr;
  }
  for (;;) {
    std::string word;
    if (!reader.Word(word)) return nullptr;
    if (word == "endkeys") break;
    bool ok = false;
    if (auto* ints = property->Keys<int>()) {
      ok = ReadKey(reader, *ints);
    } else if (auto* floats = property->Keys<float>()) {
      ok = ReadKey(reader, *floats);
    } else if (auto* vectors = property->Keys<sm::Vec3>()) {
      ok = ReadKey(reader, *vectors);
    }
    if (!ok) return nullptr;
  }
  return property;
}

std::unique_ptr<EditableProperty> ReadCameraProperty(TokenReader& reader, int id, const std::string& name, int type) {
  int ids[4] = {0, 0, 0, 0};
  for (int& i : ids) {
    if (!reader.Int(i)) return nullptr;
  }
  return std::make_unique<CameraProperty>(id, name, type, ids[0], ids[1], ids[2], ids[3]);
}

// Reads entries up to "end"; false at the first problem (already logged). Complete
// entries go into the map as they are read.
bool ReadEntries(TokenReader& reader, PropertyMap& map) {
  std::string kind;
  if (!reader.Word(kind)) return false;
  while (kind != "end") {
    enum class Kind { kValue, kAnim, kCamera } which;
    if (kind == "ValueProperty") {
      which = Kind::kValue;
    } else if (kind == "AnimProperty") {
      which = Kind::kAnim;
    } else if (kind == "CameraProperty") {
      which = Kind::kCamera;
    } else {
      return reader.Fail("unknown kind \"" + Shown(kind) + "\"");
    }

    int type = 0;
    int id = 0;
    long ignored = 0;
    std::string name;
    if (!reader.Int(type)) return false;
    const TokenReader::Position typeAt = reader.Where();
    if (!reader.Int(id) || !reader.Long(ignored) || !reader.Word(name)) return false;

    std::unique_ptr<EditableProperty> property;
    switch (which) {
      case Kind::kValue: property = ReadValueProperty(reader, id, name, type); break;
      case Kind::kAnim: property = ReadAnimProperty(reader, id, name, type, typeAt); break;
      case Kind::kCamera: property = ReadCameraProperty(reader, id, name, type); break;
    }
    if (!property) return false;
    map.Insert(std::move(property));
    if (!reader.Word(kind)) return false;
  }
  return true;
}

void BuildCameras(const PropertyMap& map, std::vector<std::unique_ptr<EditableCamera>>& cameras) {
  cameras.clear();
  for (const auto& entry : map) {
    if (const auto* camera = dynamic_cast<const CameraProperty*>(entry.second.get())) {
      cameras.push_back(std::make_unique<EditableCamera>(*camera, map));
    }
  }
}

bool Writable(const std::string& name) {
  if (name.empty()) return false;
  for (char c : name) {
    if (c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r') return false;
  }
  return true;
}

void WriteVec3(std::ostream& out, const sm::Vec3& v) { out << ' ' << v.x << ' ' << v.y << ' ' << v.z; }
void WriteKeyValue(std::ostream& out, int v) { out << ' ' << v; }
void WriteKeyValue(std::ostream& out, float v) { out << ' ' << v; }
void WriteKeyValue(std::ostream& out, const sm::Vec3& v) { WriteVec3(out, v); }

template <typename T>
void WriteKeys(std::ostream& out, const IKeyframesProvider<T>& keys) {
  for (int i = 0; i < keys.KeyCount(); ++i) {
    float time = 0.0f;
    bool hold = false;
    T value{};
    keys.GetKey(i, time, hold, value);
    out << "  key " << time << ' ' << (hold ? 1 : 0);
    WriteKeyValue(out, value);
    out << '\n';
  }
}

void WriteProperty(std::ostream& out, const EditableProperty& property) {
  const auto header = [&](const char* kind) {
    out << kind << ' ' << property.Type() << ' ' << property.Id() << " 0 " << property.Name();
  };
  if (const auto* value = dynamic_cast<const ValueProperty*>(&property)) {
    header("ValueProperty");
    if (const int* i = value->IntValue()) out << ' ' << *i;
    if (const float* f = value->FloatValue()) out << ' ' << *f;
    if (const sm::Vec3* v = value->Vec3Value()) WriteVec3(out, *v);
    out << '\n';
  } else if (const auto* anim = dynamic_cast<const AnimProperty*>(&property)) {
    header("AnimProperty");
    out << '\n';
    if (const auto* keys = anim->Keys<int>()) WriteKeys(out, *keys);
    if (const auto* keys = anim->Keys<float>()) WriteKeys(out, *keys);
    if (const auto* keys = anim->Keys<sm::Vec3>()) WriteKeys(out, *keys);
    out << "endkeys\n";
  } else if (const auto* camera = dynamic_cast<const CameraProperty*>(&property)) {
    header("CameraProperty");
    out << ' ' << camera->PositionId() << ' ' << camera->RotationId() << ' ' << camera->FirstFloatId() << ' '
        << camera->SecondFloatId() << '\n';
  }
}

}  // namespace

std::unique_ptr<SignalPair> MakeSignalPair() {
  auto pair = std::make_unique<SignalPair>();
  pair->track = KeyedValue("", KeyedValue::kInt, KeyedValue::kStep);
  IInterpolator<int>* track = pair->track.Track<int>();
  track->SetKey(0.0f, 0, false);
  int value = 1;
  for (double time : show::kSignalTimes) {
    track->SetKey(show::AsFloat(time), value, false);
    value = 1 - value;
  }
  return pair;
}

std::vector<float> SignalChangeTimes(const SignalPair& signal) {
  std::vector<float> times;
  const IInterpolator<int>* track = signal.track.Track<int>();
  if (track == nullptr) return times;
  int last = signal.lastValue;
  for (int i = 0; i < track->KeyCount(); ++i) {
    float time = 0.0f;
    int value = 0;
    bool hold = false;
    track->GetKey(i, time, value, hold);
    if (value != last) times.push_back(time);
    last = value;
  }
  return times;
}

bool LoadPropertyScript(std::istream& in, const std::string& name, const PropertyScriptTarget& target) {
  target.signal = MakeSignalPair();
  bool complete = false;
  {
    TokenReader reader(in, name);
    complete = ReadEntries(reader, target.properties);
  }
  BuildCameras(target.properties, target.cameras);
  return complete;
}

bool LoadPropertyScript(const std::string& path, const PropertyScriptTarget& target) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    target.signal = MakeSignalPair();
    WriteLog("error: property script \"%s\": file cannot be opened (token 1, byte 0)", path.c_str());
    BuildCameras(target.properties, target.cameras);
    return false;
  }
  return LoadPropertyScript(file, path, target);
}

bool WritePropertyScript(std::ostream& out, const PropertyMap& map) {
  for (const auto& entry : map) {
    if (!Writable(entry.second->Name())) return false;
  }
  std::ostringstream text;
  text.imbue(std::locale::classic());
  text << std::setprecision(9);  // enough digits for every float to read back exactly
  for (const auto& entry : map) WriteProperty(text, *entry.second);
  text << "end\n";
  out << text.str();
  return static_cast<bool>(out);
}

bool SavePropertyScript(const std::string& path, const PropertyMap& map) {
  std::ostringstream text;
  if (!WritePropertyScript(text, map)) return false;
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << text.str();
  file.close();
  return static_cast<bool>(file);
}
