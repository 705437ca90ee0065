// The cameras: one node of the "cameras" animation per shot, and the camera file that
// pairs each node with its field of view. A shot ends at the last key of its node's
// tracks; the program cuts to the next shot then. The shots follow the timeline: the
// hall while the arms weld, the release, the run through the passage, the glass wall
// with its greetings, the break, the hall beyond, and the dance with the credits.
#include <vector>

#include "assets/camera_file.h"
#include "datagen/animation/node_keys.h"
#include "datagen/pipeline/context.h"
#include "datagen/steps.h"
#include "datagen/world/camera_shots.h"

namespace datagen {

bool BuildCameras(Context& context) {
  animation_file::AnimationData animation;
  std::vector<camera_file::CameraRecord> records;
  float start = 0.0f;
  std::int32_t id = 1;
  for (const CameraShot& shot : CameraShots()) {
    // The eye glides from its first to its last place over the shot; the view keeps
    // looking at the target.
    const std::vector<PositionKey> positions = {{start, shot.eyeFrom}, {shot.end, shot.eyeTo}};
    const std::vector<OrientationKey> turns = {{start, CameraOrientation(shot.eyeFrom, shot.targetFrom)},
                                               {shot.end, CameraOrientation(shot.eyeTo, shot.targetTo)}};
    animation.nodes.push_back(MakeNode(id, VectorKeys(positions), RotationKeys(turns)));
    camera_file::CameraRecord record;
    record.id = id;
    record.fieldOfView.constant = shot.fieldOfView;
    record.second.constant = 10.0f;
    records.push_back(record);
    start = shot.end;
    ++id;
  }
  return context.WriteAnimation("cameras", animation) &&
         context.Tree().WriteBytes("cameras/cameras.cam", camera_file::Write(records));
}

}  // namespace datagen
