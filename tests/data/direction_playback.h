#pragma once
// The generated demo played frame by frame without GL, the way the controller plays it:
// the data set's models, animations and pose files in a FakeWorld, the robot and both
// scenes loaded in the controller's order, and every frame the controller's own update
// (DemoTimeline) over the doors, the camera animation and schedule, the flash signal,
// the boards and the scenes. Tests look at what the current camera sees.
#include <memory>
#include <vector>

#include "anim/property_script.h"
#include "datagen/geometry/vec.h"
#include "demo/camera_schedule.h"
#include "demo/timeline.h"
#include "scenes/fake_world.h"
#include "scenes/scene_driver.h"

namespace direction_testing {

using datagen::V3;

// Where a point falls in the current camera's picture.
struct Projected {
  bool inFront = false;  // between the near and the far plane
  float x = 0, y = 0;    // normalised: -1 ... 1 across the picture
  float depth = 0;
};

class DirectionPlayback {
 public:
  static constexpr double kFramesPerSecond = 60.0;
  // The picture the checks assume: a 4:3 screen (the narrowest the demo offers) whose
  // mask leaves the middle 72 % of its height open.
  static constexpr float kAspect = 4.0f / 3.0f;
  static constexpr float kOpenHeight = 0.72f;

  DirectionPlayback();
  bool Ready() const { return ready_; }

  // Plays frames at 60 per second, one update each, up to and including seconds.
  void PlayTo(double seconds);
  double Time() const { return time_; }

  const sm::Mat4& View() const { return timeline_.View(); }
  float FieldOfView() const;  // radians
  V3 Eye() const;
  V3 ViewDirection() const;
  int CameraIndex() const { return static_cast<int>(schedule_.Index()); }
  Projected Project(V3 point, float aspect = kAspect) const;
  // In the picture with a margin (a fraction of the half width and height kept clear).
  bool InPicture(V3 point, float margin = 0.08f) const;

  // The robot's joint in the world, as last posed.
  V3 RobotJoint(int joint) const;
  // Whether the robot's body (bones as capsules) crosses the line from the eye to point.
  bool RobotHides(V3 point) const;

  scene_testing::FakeWorld world;
  scene_testing::SceneDriver driver{world};

 private:
  bool ready_ = false;
  CameraSchedule schedule_;
  DemoTimeline timeline_;
  std::unique_ptr<SignalPair> signal_;
  long frame_ = 0;
  double time_ = 0.0;
};

// The centre of every sub-mesh vertex of a model's mesh (stored world positions).
V3 MeshCentre(const Model& model, int mesh);
// The corners of a flat overlay surface's box pulled toward its centre by inset.
std::vector<V3> SurfacePoints(const Model& model, float inset);

}  // namespace direction_testing
