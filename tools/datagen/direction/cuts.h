#pragma once
// The demo's cuts: the time each shot ends (the next one begins), and which of the
// hall's shots show the arms welding. The cameras are built shot by shot on these
// times, and the arms weld in bursts only while a shot shows them, so every shower of
// sparks is seen.
//
// Cuts fall on the music: on the flashes' accents through the loud sections, on bar
// lines in the quiet ones, and on the scene events (the two switches of scenes, the stop
// at the glass, the charge), all of them the show's own times (anim/show_times.h). The
// story's two beats, the release and the impact, fall inside shots, never on a cut: the
// audience sees each happen.
#include <vector>

#include "anim/show_times.h"

namespace datagen::cuts {

// The time of the beat signal's switch number index (from 0): a flash.
constexpr float Flash(int index) { return show::AsFloat(show::kSignalTimes[index]); }

// Hall, the intro (bar lines) under the title boards.
inline constexpr float kEstablishing = 9.994f;
inline constexpr float kAlongTheRig = 19.789f;
inline constexpr float kFirstWeld = Flash(0);  // first flash
// Hall, the loud section (flashes).
inline constexpr float kSecondArm = Flash(5);
inline constexpr float kMonitors = Flash(12);
inline constexpr float kArmOrbit = Flash(18);
inline constexpr float kSleepingHead = Flash(23);
inline constexpr float kCatwalk = Flash(25);
inline constexpr float kLowArm = Flash(31);
inline constexpr float kMonitorsAgain = Flash(36);
inline constexpr float kTorchClose = Flash(41);
inline constexpr float kRigOrbit = Flash(46);
// Hall, the quiet part (bar lines).
inline constexpr float kAlongTheRobot = 94.621f;
inline constexpr float kTeaser = 102.810f;
inline constexpr float kHangingFace = 106.086f;
inline constexpr float kGantry = 109.362f;  // 1.6 s before the release: its shot holds it whole
// The release, the step off the rig and the run to the doors.
inline constexpr float kRelease = Flash(51);  // the robot has stepped off the platform
inline constexpr float kToTheDoors = Flash(54);
inline constexpr float kThroughTheDoors = show::AsFloat(show::kSceneSwitch);  // the hall is switched off after this
// The breaking-wall scene.
inline constexpr float kGreetingsHeading = Flash(57);
inline constexpr float kPassageBehind = Flash(59);
inline constexpr float kPassageFollow = Flash(65);
inline constexpr float kArrival = show::AsFloat(show::kRobotStands);  // the robot stands at the glass
// The robot stands still for 28 s while the names change: a set-up every few seconds.
inline constexpr float kWallHigh = Flash(75);
inline constexpr float kWallWide = Flash(77);
inline constexpr float kGreetingsClose = Flash(80);
inline constexpr float kGreetingsSide = Flash(83);
inline constexpr float kLowSweep = Flash(86);
inline constexpr float kLowAngle = Flash(89);
inline constexpr float kOverTheShoulder = Flash(92);
inline constexpr float kLastNames = Flash(94);
inline constexpr float kFace = show::AsFloat(show::kWallCharge);  // the charge begins
// The charge, the impact (show::kWallImpact) and the burst in one shot, so the hit is
// seen whole; the cut comes on the next flash.
inline constexpr float kCharge = Flash(96);
inline constexpr float kShards = Flash(97);
inline constexpr float kBeyondFollow = Flash(103);
inline constexpr float kBeyondSide = Flash(109);
inline constexpr float kBeyondHigh = Flash(113);
inline constexpr float kBeyondLead = Flash(123);
inline constexpr float kOutOfTheExit = show::AsFloat(show::kBackToHall);  // the hall again
// The dance, the credits and the end.
inline constexpr float kDanceWide = Flash(131);  // first credit
inline constexpr float kFirstCredit = Flash(135);
inline constexpr float kSecondCredit = Flash(140);
inline constexpr float kThirdCredit = Flash(143);  // last flash
inline constexpr float kEnd = 240.0f;

// A stretch of a hall shot in which arms weld (bursts of sparks on the music): the arm
// (1 or 2), or both taking turns (3).
struct WeldWindow {
  float start, end;
  int arms;
};

const std::vector<WeldWindow>& WeldWindows();

}  // namespace datagen::cuts
