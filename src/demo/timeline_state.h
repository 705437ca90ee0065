#pragma once
// Everything the per-frame updates move, taken at one moment so that the timeline can
// be put back there later without loading anything again: the timeline's own values,
// the scenes' counters, sparks and shards, the robot's pose, the camera schedule, the
// matrices the node animations wrote into meshes and cameras, the culling flags, the
// model slots and the random generator. The live player saves one right after loading
// and more as checkpoints on the frame grid; a seek restores the nearest one before
// the target and replays the updates from there, so the picture is the one a run from
// the start shows at that time.
#include <array>
#include <cstdint>
#include <vector>

#include "anim/math.h"
#include "anim/node_animation.h"
#include "demo/timeline.h"
#include "render/draw_lists.h"
#include "scenes/assembling_scene.h"
#include "scenes/breaking_wall_scene.h"
#include "scenes/robot.h"

struct TimelineState {
  DemoTimeline::State timeline;
  int signalValue = 0;
  AssemblingScene::State assembling;
  BreakingWallScene::State breakingWall;
  Robot::Character::State robot;
  std::size_t cameraIndex = 0;
  std::array<bool, kModelSlotCount> slotsEnabled{};
  // Each transformable's world and base matrix, in a fixed order over the content.
  std::vector<sm::Mat4> matrices;
  std::vector<bool> subMeshVisible;
  std::vector<Animation::Motion> motion;
  std::uint32_t random = 1;
};

// A change of the timeline that an author may want to jump to: a camera cut, a change
// of the signal track (a flash), a greeting change, a scene switch, a board change.
struct TimelineEvent {
  enum Kind { kCut, kSignal, kGreeting, kScene, kBoard };
  float seconds = 0.0f;
  Kind kind = kCut;
};
const char* TimelineEventName(TimelineEvent::Kind kind);
