#include "demo/editing_keys.h"

#include "base/log.h"

namespace {
constexpr int kKeyB = 'B';
constexpr int kKeyL = 'L';
}  // namespace

void EditingKeys::Click(float timeMs) {
  WriteLog("changeGreetzProp->SetValue(%d, %.4f);", clickFlag_, timeMs / 1000.0f);
  clickFlag_ = clickFlag_ == 1 ? 0 : 1;
}

void EditingKeys::Key(int virtualKey, float timeMs, const sm::Mat4& view) {
  if (virtualKey == kKeyB) {
    fovFlag_ = fovFlag_ == 0 ? 1 : 0;
    WriteLog("m_fovAnim->SetValue(%d, %.4f);", fovFlag_, timeMs / 1000.0f);
  } else if (virtualKey == kKeyL) {
    WriteLog("Light");
    for (int i = 0; i < 16; ++i) WriteLog("lightTransform.a[%d] = %.4ff;", i, view.a[i]);
    WriteLog("");
  }
}
