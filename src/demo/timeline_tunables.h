#pragma once
// The values of the timeline that authors tune in the property script, read by name from
// the properties the script loaded. A value the script does not give keeps its built-in
// default, the constant the scene or the pass was written with, so a script without it
// plays the demo as before; the live player loads the script again when it changes, so
// an edit shows at the next frame.
#include "demo/timeline.h"
#include "render/post_process.h"
#include "scenes/assembling_scene.h"
#include "scenes/breaking_wall_scene.h"

class PropertyMap;

struct TimelineTunables {
  float flashFadePerSecond = DemoTimeline::kFlashFadePerSecond;
  float greetingFadePerSecond = BreakingWallScene::kGreetingFadePerSecond;
  float creditFadeSeconds = AssemblingScene::kCreditFadeSeconds;
  float followLightHeight = BreakingWallScene::kFollowLightHeight;
  DepthOfField depthOfField;  // its focal distance and falloff
};

// The names of the float constants (ValueProperty, type code 3) that carry them.
namespace tunable_name {
inline constexpr char kFlashFade[] = "flash_fade_per_second";
inline constexpr char kGreetingFade[] = "greeting_fade_per_second";
inline constexpr char kCreditFade[] = "credit_fade_seconds";
inline constexpr char kFollowLightHeight[] = "follow_light_height";
inline constexpr char kFocal[] = "dof_focal";
inline constexpr char kFocalFalloff[] = "dof_focal_falloff";
// Every name above: all that the timeline reads from the script's constants.
inline constexpr const char* kAll[] = {kFlashFade, kGreetingFade, kCreditFade, kFollowLightHeight, kFocal, kFocalFalloff};
}  // namespace tunable_name

// Each tunable from the first property of its name (in id order). A property of another
// kind or type, a value that is not a number, or one outside what the value means (a
// fade that is not positive, a negative falloff) keeps the default, with one log line.
TimelineTunables ReadTunables(const PropertyMap& properties);
