// The cameras: one node of the "cameras" animation per shot of the shot list
// (direction/shot_list.h), and the camera file that pairs each node with its field of
// view. A shot ends at the last key of its node's tracks, where the program cuts to the
// next one; the last shot's keys run to 240 s, past the end of the music, and it holds
// its final view after that.
#include <algorithm>
#include <cmath>
#include <vector>

#include "assets/camera_file.h"
#include "datagen/animation/node_keys.h"
#include "datagen/direction/shot_list.h"
#include "datagen/pipeline/context.h"
#include "datagen/steps.h"

namespace datagen {
namespace {

// Keys per second of a shot's eye and aim: enough for the spline to follow a camera
// that tracks the running robot; the field of view changes slowly.
constexpr float kViewKeysPerSecond = 10.0f;
constexpr float kZoomKeysPerSecond = 2.0f;

// Times from the shot's start to exactly its end, evenly spaced at about the rate.
std::vector<float> SampleTimes(const CameraShot& shot, float perSecond) {
  const int steps = std::max(1, static_cast<int>(std::ceil((shot.end - shot.start) * perSecond)));
  std::vector<float> times;
  for (int i = 0; i < steps; ++i) {
    times.push_back(shot.start + (shot.end - shot.start) * static_cast<float>(i) / static_cast<float>(steps));
  }
  times.push_back(shot.end);
  return times;
}

}  // namespace

bool BuildCameras(Context& context) {
  animation_file::AnimationData animation;
  std::vector<camera_file::CameraRecord> records;
  std::int32_t id = 1;
  for (const CameraShot& shot : CameraShots()) {
    std::vector<PositionKey> positions;
    std::vector<OrientationKey> turns;
    for (float t : SampleTimes(shot, kViewKeysPerSecond)) {
      const CameraView view = shot.view(t);
      positions.push_back({t, view.eye});
      turns.push_back({t, CameraOrientation(view.eye, view.target)});
    }
    animation.nodes.push_back(MakeNode(id, VectorKeys(positions), RotationKeys(turns)));

    camera_file::CameraRecord record;
    record.id = id;
    record.fieldOfView.animated = true;
    for (float t : SampleTimes(shot, kZoomKeysPerSecond)) record.fieldOfView.keys.push_back({t, ShotFieldOfView(shot, t)});
    record.second.constant = 10.0f;  // stored with each camera, never read
    records.push_back(record);
    ++id;
  }
  return context.WriteAnimation("cameras", animation) &&
         context.Tree().WriteBytes("cameras/cameras.cam", camera_file::Write(records));
}

}  // namespace datagen
