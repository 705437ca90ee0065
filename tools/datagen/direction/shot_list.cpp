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
          // The move stops short of arm 2's control cabinet, which would come between.
          return CameraView{Mix(V3(-2100, 450, 700), V3(-2000, 560, 1950), u),
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
    // From the side, between the gantry's front and back posts: the robot stays clear of them.
    return CameraView{Around(tip, 900, 200, 1.45f + 0.6f * Glide(u)), tip};
  });
  s.Add(kSleepingHead, 0.62f, 0.55f, "the sleeping robot's head, close, craning up from its chest to its face",
        [](float u, float) {
          const V3 face(kReleaseHip.x, 640, kReleaseHip.z - 60);
          return CameraView{Mix(V3(300, 230, 1060), V3(130, 660, 1070), u), Mix(face + V3(0, -90, 0), face, u)};
        });
  s.Add(kCatwalk, 0.8f, 0.72f, "rising in an arc across the rig's front from the floor to high, toward arm 2, both arms welding",
        [](float u, float) {
          // The arc keeps to the gap between the gantry's two front posts (at about
          // ±2.33 rad round the rig), so no post wipes across the robot.
          return CameraView{Around(kRig, 1300, -300 + 950 * Glide(u), 2.6f + 1.1f * Glide(u)), kRig};
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
  s.Add(kHangingFace, 0.8f, 0.7f, "low round the hanging robot, up into its face; the arms draw back", [](float u, float) {
    // Its head hangs forward: only from below does the face show.
    const V3 face(kReleaseHip.x, 640, kReleaseHip.z - 60);
    return CameraView{Around(face, 720, -330, 3.55f - 0.5f * Glide(u)), face};
  });
  s.Add(kGantry, 0.8f, 0.75f, "from the +x side, between the gantry's posts: the robot hangs in its clamp as arm 1 lifts away",
        [](float u, float) {
          return CameraView{Mix(V3(1350, 900, 1250), V3(1150, 760, 1400), u), kRig + V3(0, 80, 0)};
        });
  // --- The release and the run out of the hall --------------------------------------
  s.Add(kRelease, 0.95f, 0.9f,
        "the release, whole: the robot hangs in the gantry, jolts awake, looks round, shakes its arms free and steps off the platform",
        [](float u, float t) {
          // The whole robot and the gantry round it, from the front-left; once it runs
          // the camera turns after it.
          // Straight on, between the gantry's front posts; the robot runs at the camera,
          // which backs away and turns after it.
          const V3 rig(kReleaseHip.x, 470, kReleaseHip.z - 40);
          const float follow = Smooth((t - kRunStart) / 0.6f);
          return CameraView{Mix(V3(120, 520, 650), V3(-300, 560, 300), u), Lerp(rig, RobotChest(t), follow)};
        });
  s.Add(kToTheDoors, 0.68f, 0.9f, "from over the doorway: the robot leaps off the rig and runs under the camera",
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
  s.Add(kPassageBehind, 0.85f, 0.85f, "into the passage behind the running robot", [](float, float t) {
    return CameraView{RobotHipAt(t - 0.55f) + Left(RobotFacingAt(t - 0.55f)) * 180.0f + V3(0, 330, 0),
                      RobotHipAt(t + 0.6f) + V3(0, 80, 0)};
  });
  // Ahead of the robot once the doorway is far enough behind it not to be in the picture.
  s.Add(kPassageFollow, 0.85f, 0.85f, "down the passage ahead of the running robot, from its left: it runs at the camera",
        [](float, float t) {
          const float lead = t + 0.9f;
          return CameraView{RobotHipAt(lead) + Left(RobotFacingAt(lead)) * 420.0f + V3(0, 300, 0), RobotChest(t)};
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
  // The robot stands still in front of the glass: the camera moves round it, and each
  // set-up sees the whole band of names from its front, past the robot.
  s.Add(kWallHigh, 0.75f, 0.68f, "high behind the robot, the first greetings on the glass over its head",
        [](float u, float) {
          // High enough that the robot's head stays below the names on the glass.
          return CameraView{Mix(V3(11900, 1500, -17300), V3(12100, 1450, -17350), u), V3(kGlassPlaneX, 520, -17400)};
        });
  s.Add(kWallWide, 0.74f, 0.7f, "wide from the room's far side, trucking in: the robot in profile before the names",
        [](float u, float) {
          return CameraView{Mix(V3(11900, 900, -18900), V3(12250, 860, -18700), u), V3(13620, 560, -17330)};
        });
  s.Add(kGreetingsClose, 0.72f, 0.68f, "closer, from the side: the names changing on the glass", [](float u, float) {
    return CameraView{Mix(V3(12620, 650, -16330), V3(12800, 620, -16430), u), V3(kGlassPlaneX, 560, -17380)};
  });
  s.Add(kGreetingsSide, 0.74f, 0.72f, "a high dolly across behind the robot, the names over its head",
        [](float u, float) {
          return CameraView{Mix(V3(11950, 1650, -16950), V3(12000, 1620, -17850), u), V3(kGlassPlaneX, 560, -17400)};
        });
  s.Add(kLowSweep, 0.75f, 0.72f, "low, from the robot's left: the names over the floor, the robot at the edge",
        [](float u, float) {
          return CameraView{Mix(V3(12480, 120, -18760), V3(12720, 170, -18560), u), V3(kGlassPlaneX, 560, -17300)};
        });
  s.Add(kLowAngle, 0.74f, 0.7f, "from the robot's right, rising: its profile against the names", [](float u, float) {
    return CameraView{Mix(V3(12720, 280, -16330), V3(12840, 420, -16460), u), V3(13780, 560, -17360)};
  });
  s.Add(kOverTheShoulder, 0.76f, 0.74f, "over the robot's head at the last names", [](float u, float) {
    return CameraView{Mix(V3(12620, 1150, -17200), V3(12680, 1130, -17230), u), V3(kGlassPlaneX, 520, -17420)};
  });
  s.Add(kLastNames, 0.72f, 0.7f, "drawing back high behind the robot: the last names over its head", [](float u, float) {
    return CameraView{Mix(V3(12380, 1400, -17600), V3(12220, 1440, -17540), u), V3(kGlassPlaneX, 540, -17400)};
  });
  s.Add(kFace, 0.6f, 0.5f, "between robot and glass: its face as the music rises", [](float u, float) {
    const V3 stand = RobotStandPoint();
    return CameraView{Mix(V3(13620, 760, -17050), V3(13560, 740, -17100), u), stand + V3(0, 350, 0)};
  });
  s.Add(kCharge, 0.9f, 0.95f,
        "the charge and the impact in one take: crouch, strides, shoulder into the glass, the shards bursting away",
        [](float u, float t) {
          // From the side as it crouches, swinging round behind its shoulder as it hits;
          // after the hit the view leads into the burst.
          const float burst = Smooth((t - kImpact) / 0.8f);
          const V3 aim = Lerp(Lerp(RobotChest(t), kGlassCentre, 0.35f), kGlassCentre + V3(700, -120, 0), burst);
          return CameraView{Mix(V3(12600, 500, -16520), V3(12420, 650, -16780), u), aim};
        });
  s.Add(kShards, 0.9f, 0.85f, "beyond the glass, from high: the robot runs out of the shards toward the camera",
        [](float u, float t) {
          // High enough that the view back through the broken frame looks down onto the
          // room's floor rather than along the corridor, which runs on past the far
          // plane; drawing back as the robot comes.
          return CameraView{Mix(V3(17000, 1600, -16900), V3(17600, 1500, -16950), u), RobotChest(t)};
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
  s.Add(kOutOfTheExit, 0.85f, 0.8f, "alongside the robot as it runs for the lit exit; the camera stops by the doorway and the robot runs on into the passage beyond",
        [](float, float t) {
          // High at its side and a little behind, the doorway ahead in the picture
          // (between the robot's line and the columns, which never come between); it
          // stops short of the wall and swings down onto the doorway's line, so the
          // robot is seen running in. No later than the run goes: the path jumps to
          // the dance spot after.
          const float now = std::min(t, kBackToHall - 0.01f);
          const V3 hip = RobotHipAt(now);
          const float onLine = Smooth((now - (kBackToHall - 1.9f)) / 1.8f);
          const V3 eye(std::max(hip.x + 450.0f, kBeyondMinX + 800.0f), 1000.0f - 300.0f * onLine,
                       kBeyondExitZ - 850.0f + 700.0f * onLine);
          return CameraView{eye, RobotChest(now)};
        });
  // --- The dance, the credits and the end ---------------------------------------------
  s.Add(kDanceWide, 0.9f, 0.8f, "the hall again: the robot on the stage, the dance begins", [](float u, float) {
    return CameraView{Mix(V3(700, 650, -650), V3(500, 600, -550), u), Mix(kDance + V3(0, 160, 150), kDance + V3(0, 180, 100), u)};
  });
  s.Add(kFirstCredit, 1.0f, 0.98f, "the dance under the first credit", [](float u, float) {
    // From above the robot's reach (its raised hands stay below the banner), and near
    // enough that the dancer fills a good part of the picture under the name.
    const V3 eye = Mix(V3(-730, 1240, -930), V3(-690, 1230, -910), u);
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
  s.Add(kEnd, 0.9f, 0.9f, "rising and drawing back from the bowing robot, tilting up to the roof as the end screen fades in",
        [](float, float t) {
          // The view lifts off the robot before the end card fades in, so the card
          // comes up over the still, dark roof (above the banner, whose last credit is
          // still fading) instead of over the moving dancer.
          const float u = (t - kThirdCredit) / 15.0f;
          const float lift = Smooth((t - (show::AsFloat(show::kEndScreenIn) - 0.9f)) / 0.9f);
          return CameraView{Mix(V3(-200, 700, -650), V3(-600, 1500, -900), u),
                            Lerp(kDance + V3(0, 120, 200), kDance + V3(0, 2100, 300), lift)};
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
