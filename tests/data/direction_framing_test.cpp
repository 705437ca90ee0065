// What the audience sees: the generated demo played with the controller's own update,
// frame by frame, and what the current camera shows. Every event of the timeline has its
// subject in the picture and not behind a wall; no camera stands in a wall or looks
// into a part of the world its scene has switched off; cameras move smoothly between
// their cuts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "anim/show_times.h"
#include "data/direction_playback.h"
#include "datagen/direction/open_space.h"
#include "datagen/timeline_events.h"
#include "datagen/world/layout.h"
#include "scenes/assembling_scene.h"
#include "scenes/mechanical_arm.h"

namespace {

using datagen::V3;
using direction_testing::DirectionPlayback;
namespace space = datagen::space;
namespace layout = datagen::layout;

constexpr float kPassageOn = show::AsFloat(show::kPassageOpen);  // the passage is drawn from here ...
constexpr float kHallOff = show::AsFloat(show::kSceneSwitch);     // ... the hall not after this ...
constexpr float kHallOn = show::AsFloat(show::kBackToHall);       // ... until here, when the passage goes off again
constexpr float kDoorsOpening = 115.5f;

bool DoorsOpen(double t) { return t >= kDoorsOpening; }

// A check at one moment: empty when it holds, otherwise what is wrong.
struct Moment {
  double time;
  std::string what;
  std::function<std::string(const DirectionPlayback&)> check;
};

std::string Seen(const DirectionPlayback& p, V3 point, const char* name, bool robotMayHide = true) {
  if (!p.InPicture(point)) {
    const auto q = p.Project(point);
    std::ostringstream out;
    out << name << " out of the picture (x " << q.x << ", y " << q.y << ", depth " << q.depth << ")";
    return out.str();
  }
  if (!space::ClearLine(p.Eye(), point, DoorsOpen(p.Time()))) return std::string(name) + " behind a wall";
  if (!robotMayHide && p.RobotHides(point)) {
    std::ostringstream out;
    out << name << " behind the robot at (" << point.x << ", " << point.y << ", " << point.z << ")";
    return out.str();
  }
  return "";
}

// The robot's hips and neck in the picture and near enough to be sharp, and its hips,
// neck and both shoulders not behind a wall or a column.
std::string RobotSeen(const DirectionPlayback& p) {
  std::string problem = Seen(p, p.RobotJoint(3), "the robot's hips");
  if (problem.empty()) problem = Seen(p, p.RobotJoint(1), "the robot's neck");
  // Beyond this the depth of field blurs it beyond recognition.
  if (problem.empty() && p.Project(p.RobotJoint(3)).depth > 3200.0f) problem = "the robot too far away";
  for (int shoulder : {4, 8}) {
    if (problem.empty() && !space::ClearLine(p.Eye(), p.RobotJoint(shoulder), DoorsOpen(p.Time()))) {
      problem = "a shoulder of the robot behind a wall";
    }
  }
  return problem;
}

// An overlay surface seen from its front, every corner (pulled in by a tenth) in the
// picture, no wall and not the robot in the way.
std::string SurfaceSeen(const DirectionPlayback& p, const char* model, V3 front) {
  const Model& surface = *const_cast<DirectionPlayback&>(p).world.FindModel(model);
  const std::vector<V3> points = direction_testing::SurfacePoints(surface, 0.1f);
  if (datagen::Dot(p.Eye() - points[0], front) <= 0.0f) return std::string(model) + " seen from behind";
  for (const V3& point : points) {
    const std::string problem = Seen(p, point, model, false);
    if (!problem.empty()) return problem;
  }
  return "";
}

std::vector<Moment> Moments() {
  std::vector<Moment> moments;
  const auto robot = [](const DirectionPlayback& p) { return RobotSeen(p); };
  const auto add = [&](double t, const std::string& what, std::function<std::string(const DirectionPlayback&)> f) {
    moments.push_back({t, what, std::move(f)});
  };
  // The release from the second before the jolt to the step off the platform.
  // Until the release the robot is a baked model: its hips are where the rig holds them.
  for (double t = show::kReleaseHit - 1.0; t < show::kRunStart + 0.5; t += 0.25) {
    if (t >= show::kRobotRelease + 0.02) {
      add(t, "the release", robot);
    } else {
      add(t, "the robot in the gantry", [](const DirectionPlayback& p) { return Seen(p, layout::kReleaseHip, "the hanging robot"); });
    }
  }
  for (double t : {115.8, 116.3, 116.8}) add(t, "the run off the rig", robot);
  add(117.7, "through the doors", [](const DirectionPlayback& p) {
    const std::string problem = RobotSeen(p);
    return problem.empty() ? Seen(p, V3(layout::kDoorCentreX, 700, layout::kDoorWallZ), "the doorway") : problem;
  });
  for (double t : {118.5, 119.5}) add(t, "into the passage", robot);
  for (double t = 121.5; t < show::kRobotStands; t += 0.5) add(t, "the run down the passage", robot);
  // The heading is up at the first frame of the wall scene, then every name as it changes.
  add(120.05, "greetings heading", [](const DirectionPlayback& p) { return SurfaceSeen(p, "glass_wall_greetz", V3(-1, 0, 0)); });
  for (double t : datagen::timeline::GreetingTimes()) {
    add(t + 0.02, "a greeting", [](const DirectionPlayback& p) { return SurfaceSeen(p, "glass_wall_greetz", V3(-1, 0, 0)); });
  }
  for (double t = show::kWallCharge + 0.1; t < show::kWallImpact; t += 0.25) add(t, "the charge", robot);
  add(show::kWallImpact, "the impact", [](const DirectionPlayback& p) {
    const std::string problem = RobotSeen(p);
    return problem.empty() ? Seen(p, V3(layout::kGlassPlaneX, 500, layout::kGlassCentreZ), "the glass") : problem;
  });
  // The burst toward the camera; the shards are past it or on the floor soon after.
  for (double t : {166.45, 166.8, 167.1}) {
    add(t, "the shards flying", [](const DirectionPlayback& p) {
      auto& shards = const_cast<DirectionPlayback&>(p).driver.BreakingWall().Shards();
      int seen = 0;
      for (const auto& shard : shards) {
        const sm::Vec3 c = sm::Transformed(shard.mesh->transform, sm::Transformed(shard.mesh->inversePivot, sm::Vec3()));
        if (p.InPicture(V3(c), 0.0f)) ++seen;
      }
      return 2 * seen >= static_cast<int>(shards.size()) ? std::string() : "only " + std::to_string(seen) + " shards in view";
    });
  }
  for (double t = 168.0; t < 200.5; t += 0.5) add(t, "the run beyond the glass", robot);
  // Looking back through the broken frame straight down the corridor, the view runs past
  // the far plane: a black hole in the wall behind the robot. A glimpse at the picture's
  // edge, blurred, does not count.
  for (double t = show::kRunAgain; t < show::kBackToHall; t += 0.1) {
    add(t, "the run beyond the glass, no view down the corridor", [](const DirectionPlayback& p) {
      for (float side : {-1.0f, 0.0f, 1.0f}) {
        const V3 inside(layout::kWallRoomMinX - 1000, 700, layout::kGlassCentreZ + side * 0.3f * layout::kPassageWidth);
        if (p.InPicture(inside, 0.25f) && space::ClearLine(p.Eye(), inside, true)) {
          return std::string("looks down the corridor");
        }
      }
      return std::string();
    });
  }
  add(200.65, "the robot back in the hall", robot);
  // The dance until the view lifts off it for the end card, which then fades in over a
  // picture without the dancer.
  for (double t = show::kDanceStart; t < show::kEndScreenIn - 0.9; t += 0.5) add(t, "the dance", robot);
  for (double t = show::kEndScreenIn; t < show::kMusicEnd; t += 0.5) {
    add(t, "the end card over a still picture", [](const DirectionPlayback& p) {
      // Anywhere on the widest screen, mask or not.
      for (int joint : {1, 3}) {
        const auto q = p.Project(p.RobotJoint(joint), 16.0f / 9.0f);
        if (q.inFront && std::fabs(q.x) < 1.0f && std::fabs(q.y) < 1.0f) return std::string("the dancer under the end card");
      }
      return std::string();
    });
  }
  // Each credit while it is bright, until the next one comes: the dancer's arms, flung
  // wide and up, stay clear of the name (they may sweep across it as it appears).
  const double credits[] = {203.8721, 208.5505, 213.6274, show::kSignalTimes[143]};
  for (int i = 0; i < 3; ++i) {
    for (double t = credits[i] + 0.6; t < std::min(credits[i + 1], credits[i] + 5.0); t += 0.25) {
      add(t, "a credit", [](const DirectionPlayback& p) { return SurfaceSeen(p, "credits", V3(0, 0, -1)); });
    }
  }
  std::sort(moments.begin(), moments.end(), [](const Moment& a, const Moment& b) { return a.time < b.time; });
  return moments;
}

// One play through the whole demo, recording what is wrong.
struct Findings {
  std::vector<std::string> events, walls, switchedOff, jerks, sparks;
  double monitorsSeconds = 0;  // both monitors in the picture, from the front
};

std::string At(double t, const std::string& text) {
  std::ostringstream out;
  out.precision(2);
  out << std::fixed << t << " s: " << text;
  return out.str();
}

// Which parts of the world the picture reaches, ray by ray over a wide screen.
unsigned AreasInView(const DirectionPlayback& p) {
  const sm::Mat4 camera = sm::Inverted(p.View());
  const V3 right(camera.a[0], camera.a[1], camera.a[2]), up(camera.a[4], camera.a[5], camera.a[6]);
  const float tangent = std::tan(0.5f * p.FieldOfView());
  unsigned areas = 0;
  for (int i = -3; i <= 3; ++i) {
    for (int j = -2; j <= 2; ++j) {
      const V3 ray = p.ViewDirection() + right * (tangent * (16.0f / 9.0f) * static_cast<float>(i) / 3.0f) +
                     up * (tangent * 0.82f * static_cast<float>(j) / 2.0f);
      areas |= space::AreasAlong(p.Eye(), ray, 8000.0f, DoorsOpen(p.Time()));
    }
  }
  return areas;
}

const Findings& Play() {
  static const Findings findings = [] {
    Findings f;
    DirectionPlayback p;
    if (!p.Ready()) {
      f.events.push_back("the demo did not load");
      return f;
    }
    const std::vector<Moment> moments = Moments();
    std::size_t next = 0;
    const MechanicalArm* arms[2] = {&p.driver.Assembling().FirstArm(), &p.driver.Assembling().SecondArm()};
    bool sparking[2] = {false, false};
    int burstFrames[2] = {0, 0}, burstSeen[2] = {0, 0};
    double burstStart[2] = {0, 0};
    V3 lastEye, lastDirection;
    int lastCamera = -1;
    const Model& screens = *p.world.FindModel("screens");
    const V3 monitors[2] = {direction_testing::MeshCentre(screens, 0), direction_testing::MeshCentre(screens, 1)};
    const double frame = 1.0 / DirectionPlayback::kFramesPerSecond;
    for (long n = 0; n * frame <= 224.0; ++n) {
      const double t = n * frame;
      p.PlayTo(t);
      const V3 eye = p.Eye(), direction = p.ViewDirection();
      for (; next < moments.size() && moments[next].time <= t; ++next) {
        const std::string problem = moments[next].check(p);
        if (!problem.empty()) f.events.push_back(At(t, moments[next].what + ": " + problem));
      }
      // Smooth within a shot: no jump of the eye or the view between two frames.
      if (p.CameraIndex() == lastCamera) {
        const float moved = datagen::Length(eye - lastEye);
        const float turned = std::acos(std::clamp(datagen::Dot(direction, lastDirection), -1.0f, 1.0f)) * 57.3f;
        if (moved > 60.0f || turned > 3.0f) {
          f.jerks.push_back(At(t, "camera " + std::to_string(p.CameraIndex()) + " moved " + std::to_string(moved) +
                                      " and turned " + std::to_string(turned) + " degrees in a frame"));
        }
      }
      lastCamera = p.CameraIndex();
      lastEye = eye;
      lastDirection = direction;
      // Sparks: every burst is seen (the torch tip in the picture) for at least half its length.
      if (t < kHallOff) {
        for (int a = 0; a < 2; ++a) {
          const bool on = arms[a]->Emitter().emitting;
          if (on && !sparking[a]) {
            burstStart[a] = t;
            burstFrames[a] = burstSeen[a] = 0;
          }
          if (on) {
            ++burstFrames[a];
            if (Seen(p, V3(arms[a]->Emitter().position), "torch").empty()) ++burstSeen[a];
          } else if (sparking[a] && 2 * burstSeen[a] < burstFrames[a]) {
            f.sparks.push_back(At(burstStart[a], "arm " + std::to_string(a + 1) + "'s burst seen in " +
                                                     std::to_string(burstSeen[a]) + " of " + std::to_string(burstFrames[a]) +
                                                     " frames"));
          }
          sparking[a] = on;
        }
        bool both = true;
        for (const V3& m : monitors) both = both && Seen(p, m, "monitor").empty() && direction.x < -0.3f;
        if (both) f.monitorsSeconds += frame;
      }
      // Where the eye stands: in open space, in a part of the world that is drawn.
      const space::Area area = space::AreaAt(eye, 40.0f);
      const bool hallDrawn = t <= kHallOff || t >= kHallOn;
      const bool passageDrawn = t >= kPassageOn && t < kHallOn;
      const bool drawn = (area == space::Area::kHall && hallDrawn) || (area == space::Area::kPassage && passageDrawn) ||
                         (area == space::Area::kDoorway && hallDrawn && passageDrawn);
      if (!drawn) f.walls.push_back(At(t, "the eye stands in a wall or in a part that is not drawn"));
      if (n % 6 == 0) {
        const unsigned seen = AreasInView(p);
        if (!hallDrawn && (seen & space::Bit(space::Area::kHall))) f.switchedOff.push_back(At(t, "looks into the hall"));
        if (!passageDrawn && (seen & space::Bit(space::Area::kPassage))) f.switchedOff.push_back(At(t, "looks into the passage"));
      }
    }
    return f;
  }();
  return findings;
}

std::string List(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size() && i < 80; ++i) text += "\n  " + lines[i];
  if (lines.size() > 80) text += "\n  ... " + std::to_string(lines.size() - 80) + " more";
  return text;
}

TEST(DirectionFraming, EveryEventHasItsSubjectInThePicture) {
  const Findings& f = Play();
  EXPECT_TRUE(f.events.empty()) << List(f.events);
  EXPECT_TRUE(f.sparks.empty()) << List(f.sparks);
  EXPECT_GE(f.monitorsSeconds, 4.0) << "the monitors are shown";
}

TEST(DirectionFraming, NoCameraStandsInAWallOrLooksIntoWhatIsSwitchedOff) {
  const Findings& f = Play();
  EXPECT_TRUE(f.walls.empty()) << List(f.walls);
  EXPECT_TRUE(f.switchedOff.empty()) << List(f.switchedOff);
}

TEST(DirectionFraming, CamerasMoveSmoothlyBetweenCuts) {
  const Findings& f = Play();
  EXPECT_TRUE(f.jerks.empty()) << List(f.jerks);
}

}  // namespace
