#include "datagen/direction/shot_list.h"

#include <algorithm>
#include <cmath>

#include "datagen/direction/arm_motion.h"
#include "datagen/direction/cuts.h"
#include "datagen/world/layout.h"
#include "datagen/world/robot_route.h"

namespace datagen {
namespace {

using namespace layout;
using namespace cuts;

float Smooth(float u) {
  u = std::clamp(u, 0.0f, 1.0f);
  return u * u * (3.0f - 2.0f * u);
}

// A camera move's progress: it starts and ends gently but never stands still, so a cut
// never lands on a frozen frame.
float Glide(float u) { return 0.35f * std::clamp(u, 0.0f, 1.0f) + 0.65f * Smooth(u); }

V3 Mix(V3 a, V3 b, float u) { return Lerp(a, b, Glide(u)); }

// The robot's chest, what cameras on the robot aim at.
V3 RobotChest(float t) { return RobotHipAt(t) + V3(0, 170, 0); }

// To the left of a horizontal heading (world up).
V3 Left(V3 facing) { return V3(facing.z, 0, -facing.x); }

// The torch of an arm, averaged over a second so a camera aimed at it does not jitter
// with every touch-down.
V3 SteadyTip(int arm, float t) {
  V3 sum;
  for (int i = -4; i <= 4; ++i) sum += ArmTipAt(arm, t + 0.125f * static_cast<float>(i));
  return sum / 9.0f;
}

// A point circling centre at radius and height above it, at angle (radians, from +z
// toward +x).
V3 Around(V3 centre, float radius, float height, float angle) {
  return centre + V3(radius * std::sin(angle), height, radius * std::cos(angle));
}

// t, but approaching limit smoothly from softness before it instead of reaching it: a
// camera that leads the robot slows to a halt where the robot will stop.
float SoftLimit(float t, float limit, float softness) {
  const float knee = limit - softness;
  return t <= knee ? t : limit - softness * std::exp(-(t - knee) / softness);
}

// From eye, the direction halfway between two things to keep in the picture.
V3 Between(V3 eye, V3 a, V3 b) { return eye + Normalize(Normalize(a - eye) + Normalize(b - eye)) * 1000.0f; }

// The rig's centre, a little above the lying robot's hips.
const V3 kRig(kReleaseHip.x, 420.0f, kReleaseHip.z);
const V3 kMonitorPair(kMonitor1Centre.x, kMonitor1Centre.y, 0.5f * (kMonitor1Centre.z + kMonitor2Centre.z));
const V3 kGlassCentre(kGlassPlaneX, 560.0f, kGlassCentreZ);
const V3 kLoopCentre(17300.0f, 350.0f, kGlassCentreZ);
const V3 kDance(kDanceHip.x, kDanceHip.y, kDanceHip.z);
// The middle of the credits banner's top edge, behind the dance spot.
const V3 kCreditsTop(kCreditsCentre.x, kCreditsCentre.y + 0.5f * kCreditsHeight, kCreditsCentre.z);

class ShotListBuilder {
 public:
  // A shot until end; view gets the shot's progress u (0 ... 1) and the time.
  template <typename View>
  void Add(float end, float fovFrom, float fovTo, const char* what, View view) {
    const float start = start_, length = end - start_;
    shots_.push_back({start, end, [view, start, length](float t) { return view((t - start) / length, t); }, fovFrom,
                      fovTo, what});
    start_ = end;
  }
  std::vector<CameraShot> Take() { return std::move(shots_); }

 private:
  float start_ = 0.0f;
  std::vector<CameraShot> shots_;
};

std::vector<CameraShot> BuildShots() {
  ShotListBuilder s;
  // --- The hall while the arms weld the lying robot --------------------------------
  s.Add(kEstablishing, 1.0f, 0.85f, "the hall from high on its +x side, craning down toward the rig (title1)",
        [](float u, float) {
          return CameraView{Mix(V3(2700, 1450, 1400), V3(1500, 950, 1250), u),
                            Mix(V3(0, 300, 1800), V3(0, 450, 1720), u)};
        });
  s.Add(kAlongTheRig, 0.9f, 0.85f, "low along the hall's -x side, arm 2 welding in the foreground (title2)",
        [](float u, float) {
          return CameraView{Mix(V3(-2100, 450, 700), V3(-1900, 520, 2700), u),
                            Mix(V3(-200, 400, 1650), V3(-200, 420, 1750), u)};
        });
  s.Add(kFirstWeld, 0.8f, 0.65f, "pushing in on arm 1 at work", [](float u, float t) {
    return CameraView{Mix(V3(1700, 900, 900), V3(950, 700, 1350), u), Lerp(kRig, SteadyTip(1, t), 0.7f)};
  });
  s.Add(kSecondArm, 0.7f, 0.6f, "round arm 2's torch, sparks on the accents", [](float u, float t) {
    const V3 tip = SteadyTip(2, t);
    return CameraView{Around(tip, 620, 260, -2.25f + 0.6f * Glide(u)), tip};
  });
  s.Add(kMonitors, 0.82f, 0.8f, "along the monitor gallery: the robot's readouts", [](float u, float) {
    return CameraView{Mix(V3(-1650, 1150, 1300), V3(-1650, 1200, 2100), u), kMonitorPair + V3(0, 0, -150 + 300 * Glide(u))};
  });
  s.Add(kArmOrbit, 0.75f, 0.7f, "round arm 1 from the front", [](float u, float t) {
    const V3 tip = SteadyTip(1, t);
    return CameraView{Around(tip, 900, 200, 1.9f + 0.7f * Glide(u)), tip};
  });
  s.Add(kSleepingHead, 0.6f, 0.55f, "the sleeping robot's head, close", [](float u, float) {
    return CameraView{Mix(V3(-250, 580, 1100), V3(-170, 600, 1180), u), V3(kReleaseHip.x, 680, 1580)};
  });
  s.Add(kCatwalk, 0.75f, 0.7f, "high over the hall: the whole rig, both arms welding in turn", [](float u, float) {
    return CameraView{Mix(V3(1900, 1550, 650), V3(1800, 1500, 1250), u), Mix(kRig + V3(0, 0, 100), kRig, u)};
  });
  s.Add(kLowArm, 0.9f, 0.8f, "low, up at arm 2 against the roof", [](float u, float t) {
    return CameraView{Mix(V3(-1150, 110, 1150), V3(-1250, 140, 1500), u), SteadyTip(2, t) + V3(0, 80, 0)};
  });
  s.Add(kMonitorsAgain, 0.75f, 0.72f, "the monitors from the gallery's end", [](float u, float) {
    return CameraView{Mix(V3(-2050, 900, 2950), V3(-2250, 1000, 2800), u), kMonitorPair};
  });
  s.Add(kTorchClose, 0.55f, 0.5f, "arm 1's torch on the seam, very close", [](float u, float t) {
    const V3 tip = SteadyTip(1, t);
    return CameraView{tip + Mix(V3(320, 150, -260), V3(280, 120, -320), u), tip};
  });
  s.Add(kRigOrbit, 0.8f, 0.78f, "a wide arc behind the rig, between its back posts, both arms welding", [](float u, float) {
    // Behind the rig, between its back posts: the arms either side of the robot.
    return CameraView{Around(kRig, 1850, 1000, -0.3f + 0.6f * Glide(u)), kRig};
  });
  s.Add(kAlongTheRobot, 0.75f, 0.72f, "a slow dolly across the robot's front, the arms at its sides",
        [](float u, float) {
          return CameraView{Mix(V3(-700, 560, 750), V3(700, 620, 750), u),
                            Mix(V3(-80, 540, 1680), V3(80, 560, 1680), u)};
        });
  s.Add(kTeaser, 0.75f, 0.72f, "wide from the hall's far corner (the teaser board)", [](float u, float) {
    return CameraView{Mix(V3(-2600, 1350, -400), V3(-2400, 1300, -250), u), kRig};
  });
  s.Add(kWaking, 0.75f, 0.55f, "closing in on the robot's face; the arms draw back", [](float u, float) {
    return CameraView{Mix(V3(-350, 760, 850), V3(-120, 740, 1250), u), V3(kReleaseHip.x, 700, 1600)};
  });
  // --- The release and the run out of the hall --------------------------------------
  s.Add(kRelease, 0.85f, 0.8f, "the release: the robot jolts awake, looks round, shakes its arms free",
        [](float u, float) {
          return CameraView{Mix(V3(-800, 420, 700), V3(-700, 480, 780), u),
                            Mix(V3(kReleaseHip.x, 520, kReleaseHip.z), V3(kReleaseHip.x, 560, 1650), u)};
        });
  s.Add(kToTheDoors, 0.55f, 0.95f, "from over the doorway: the robot leaps off the rig and runs under the camera",
        [](float u, float t) {
          // It stops turning to follow before the robot is below it: the open doorway
          // behind stays out of the picture until the passage is there.
          return CameraView{Mix(V3(kDoorCentreX, 1250, kDoorWallZ + 70), V3(kDoorCentreX, 1230, kDoorWallZ + 80), u),
                            RobotChest(std::min(t, 117.05f))};
        });
  s.Add(kThroughTheDoors, 0.9f, 0.85f, "in the passage, backing away as the robot comes through the doorway",
        [](float, float t) {
          const V3 lead = RobotHipAt(t + 1.1f);
          return CameraView{lead - Left(RobotFacingAt(t + 1.1f)) * 260.0f + V3(0, 420, 0), RobotChest(t)};
        });
  // --- The breaking-wall scene ---------------------------------------------------------
  s.Add(kGreetingsHeading, 0.62f, 0.6f, "the glass wall far ahead: \"greetings to\"", [](float u, float) {
    return CameraView{Mix(V3(12300, 600, -17400), V3(12450, 590, -17400), u), kGlassCentre};
  });
  s.Add(kPassageFollow, 0.85f, 0.85f, "down the passage behind the running robot", [](float, float t) {
    return CameraView{RobotHipAt(t - 0.55f) + Left(RobotFacingAt(t - 0.55f)) * 180.0f + V3(0, 330, 0),
                      RobotHipAt(t + 0.6f) + V3(0, 80, 0)};
  });
  s.Add(kArrival, 0.85f, 0.8f, "ahead of the robot into the glass-wall room; it stops beside the camera",
        [](float, float t) {
          const float lead = SoftLimit(t + 1.2f, kArriveAtWall, 0.8f);
          // Out to the side and on toward the glass as the room opens round the camera.
          const float open = Smooth((t - 133.6f) / 2.0f);
          const V3 f = RobotFacingAt(lead);
          return CameraView{RobotHipAt(lead) - Left(f) * (200.0f + 700.0f * open) + f * (350.0f * open) + V3(0, 380, 0),
                            RobotChest(t)};
        });
  s.Add(kWallWide, 0.75f, 0.68f, "high behind the robot, the first greetings on the glass over its head",
        [](float u, float) {
          // High enough that the robot's head stays below the names on the glass.
          return CameraView{Mix(V3(11900, 1500, -17300), V3(12100, 1450, -17350), u), V3(kGlassPlaneX, 520, -17400)};
  });
  s.Add(kGreetingsSide, 0.72f, 0.68f, "closer, from the side: the names changing on the glass", [](float u, float) {
    return CameraView{Mix(V3(12650, 640, -16350), V3(12780, 620, -16420), u), V3(kGlassPlaneX, 560, -17380)};
  });
  s.Add(kLowAngle, 0.75f, 0.72f, "low, from the robot's left: the names over the floor, the robot at the edge",
        [](float u, float) {
          return CameraView{Mix(V3(12500, 120, -18750), V3(12600, 130, -18700), u), V3(kGlassPlaneX, 560, -17300)};
  });
  s.Add(kOverTheShoulder, 0.76f, 0.74f, "over the robot's head at the last names", [](float u, float) {
    return CameraView{Mix(V3(12620, 1150, -17200), V3(12680, 1130, -17230), u), V3(kGlassPlaneX, 520, -17420)};
  });
  s.Add(kFace, 0.6f, 0.5f, "between robot and glass: its face as the music rises", [](float u, float) {
    const V3 stand = RobotStandPoint();
    return CameraView{Mix(V3(13620, 760, -17050), V3(13560, 740, -17100), u), stand + V3(0, 350, 0)};
  });
  s.Add(kCharge, 0.85f, 0.85f, "the charge from the side: crouch, strides, shoulder into the glass",
        [](float u, float t) {
          return CameraView{Mix(V3(12650, 480, -16550), V3(12820, 470, -16500), u),
                            Lerp(RobotChest(t), kGlassCentre, 0.35f)};
        });
  s.Add(kShards, 1.08f, 1.0f, "beyond the glass: the shards burst toward the camera, the robot through them",
        [](float u, float t) {
          const float w = Smooth((t - 166.8f) / 1.0f);
          return CameraView{Mix(V3(16200, 420, -16950), V3(16250, 430, -16900), u),
                            Lerp(kGlassCentre, RobotChest(t), w)};
        });
  s.Add(kBeyondFollow, 0.85f, 0.85f, "after the robot through the hall beyond, shards on the floor",
        [](float, float t) {
          return CameraView{RobotHipAt(t - 0.85f) - Left(RobotFacingAt(t - 0.85f)) * 300.0f + V3(0, 450, 0),
                            RobotHipAt(t) + RobotFacingAt(t) * 200.0f + V3(0, 120, 0)};
        });
  s.Add(kBeyondSide, 0.8f, 0.8f, "alongside the running robot", [](float, float t) {
    const V3 f = RobotFacingAt(t);
    // On the outside of the laps, over the stock along the walls.
    return CameraView{RobotHipAt(t) + Left(f) * 950.0f - f * 150.0f + V3(0, 560, 0), RobotChest(t) + f * 200.0f};
  });
  s.Add(kBeyondHigh, 0.95f, 0.85f, "high over the hall beyond from its +z wall, the robot running its lap below", [](float u, float t) {
    return CameraView{Mix(V3(17400, 1800, -14500), V3(16800, 1750, -14550), u),
                      Lerp(kLoopCentre, RobotHipAt(t) + V3(0, 80, 0), 0.85f)};
  });
  s.Add(kBeyondLead, 0.85f, 0.85f, "ahead of the robot, which runs at the camera", [](float, float t) {
    return CameraView{RobotHipAt(t + 1.0f) - Left(RobotFacingAt(t + 1.0f)) * 250.0f + V3(0, 380, 0),
                      RobotChest(t)};
  });
  s.Add(kBeyondLow, 0.85f, 0.85f, "low behind the running robot", [](float, float t) {
    // Looking no further ahead than the run goes: the path jumps to the dance spot after.
    const float ahead = std::min(t + 0.6f, kBackToHall - 0.01f);
    return CameraView{RobotHipAt(t - 0.7f) + Left(RobotFacingAt(t - 0.7f)) * 150.0f + V3(0, -200, 0),
                      RobotHipAt(ahead) + V3(0, 440, 0)};
  });
  // --- The dance, the credits and the end ---------------------------------------------
  s.Add(kDanceWide, 0.9f, 0.8f, "the hall again: the robot on the stage, the dance begins", [](float u, float) {
    return CameraView{Mix(V3(700, 650, -650), V3(500, 600, -550), u), Mix(kDance + V3(0, 160, 150), kDance + V3(0, 180, 100), u)};
  });
  s.Add(kFirstCredit, 0.96f, 0.95f, "the dance under the first credit", [](float u, float) {
    const V3 eye = Mix(V3(-380, 560, -900), V3(-250, 580, -860), u);
    return CameraView{eye, Between(eye, kDance, kCreditsTop)};
  });
  s.Add(kSecondCredit, 1.0f, 1.0f, "from the other side, the second credit", [](float u, float) {
    const V3 eye = Mix(V3(450, 700, -900), V3(350, 720, -880), u);
    return CameraView{eye, Between(eye, kDance, kCreditsTop)};
  });
  s.Add(kThirdCredit, 0.98f, 0.96f, "pushing in on the dance, the third credit", [](float u, float) {
    const V3 eye = Mix(V3(0, 620, -950), V3(0, 640, -860), u);
    return CameraView{eye, Between(eye, kDance, kCreditsTop)};
  });
  s.Add(kEnd, 0.9f, 0.9f, "rising and drawing back from the bowing robot as the end screen fades in",
        [](float, float t) {
          const float u = (t - kThirdCredit) / 15.0f;
          return CameraView{Mix(V3(-200, 700, -650), V3(-600, 1500, -900), u), kDance + V3(0, 120, 200)};
        });
  return s.Take();
}

}  // namespace

float ShotFieldOfView(const CameraShot& shot, float t) {
  const float u = shot.end > shot.start ? (t - shot.start) / (shot.end - shot.start) : 1.0f;
  return shot.fovFrom + (shot.fovTo - shot.fovFrom) * Smooth(u);
}

const std::vector<CameraShot>& CameraShots() {
  static const std::vector<CameraShot> shots = BuildShots();
  return shots;
}

}  // namespace datagen
