#include "demo/timeline_tunables.h"

#include <cmath>

#include "anim/properties.h"
#include "base/log.h"

namespace {

enum class Range { kAny, kPositive, kNotNegative };

// Sets value from the float constant called name, when there is one that fits.
void Read(const PropertyMap& properties, const char* name, Range range, float& value) {
  const EditableProperty* property = properties.FindByName(name);
  if (property == nullptr) return;
  const auto* constant = dynamic_cast<const ValueProperty*>(property);
  const float* read = constant != nullptr ? constant->FloatValue() : nullptr;
  if (read == nullptr) {
    WriteLog("property script: \"%s\" is not a float constant (ValueProperty 3); %g stays", name,
             static_cast<double>(value));
    return;
  }
  const bool fits = std::isfinite(*read) && (range == Range::kAny || (range == Range::kPositive && *read > 0.0f) ||
                                             (range == Range::kNotNegative && *read >= 0.0f));
  if (!fits) {
    WriteLog("property script: \"%s\" cannot be %g; %g stays", name, static_cast<double>(*read),
             static_cast<double>(value));
    return;
  }
  value = *read;
}

}  // namespace

TimelineTunables ReadTunables(const PropertyMap& properties) {
  TimelineTunables tunables;
  Read(properties, tunable_name::kFlashFade, Range::kPositive, tunables.flashFadePerSecond);
  Read(properties, tunable_name::kGreetingFade, Range::kPositive, tunables.greetingFadePerSecond);
  Read(properties, tunable_name::kCreditFade, Range::kPositive, tunables.creditFadeSeconds);
  Read(properties, tunable_name::kFollowLightHeight, Range::kAny, tunables.followLightHeight);
  Read(properties, tunable_name::kFocal, Range::kAny, tunables.depthOfField.focal);
  Read(properties, tunable_name::kFocalFalloff, Range::kNotNegative, tunables.depthOfField.focalFalloff);
  return tunables;
}
