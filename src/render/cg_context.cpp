#include "render/cg_context.h"

#include <set>
#include <string>

#include "base/log.h"

namespace {

// Messages already written; bounded, so a stream of distinct messages cannot grow it
// without end (later ones are then written every time).
std::set<std::string>& ReportedMessages() {
  static std::set<std::string> reported;
  return reported;
}
constexpr size_t kMaxRemembered = 256;

}  // namespace

bool CreateCgContext(std::unique_ptr<fx::Context>& context) {
  std::string error;
  context = fx::Context::Create(&error);
  if (context == nullptr) {
    WriteLog("error: %s", error.c_str());
    return false;
  }
  context->SetErrorHook(OnCgError);
  return true;
}

void OnCgError(fx::Context& context) {
  std::string message;
  const fx::ErrorCode code = context.TakeError(&message);
  if (code == fx::ErrorCode::kNone) return;
  const std::string line = std::string(fx::ErrorCodeName(code)) + ": " + message;
  auto& reported = ReportedMessages();
  if (reported.count(line) != 0) return;
  if (reported.size() < kMaxRemembered) reported.insert(line);
  WriteLog("effect error: %s", line.c_str());
}
