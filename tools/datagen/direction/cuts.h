#pragma once
// The demo's cuts: the time each shot ends (the next one begins), and which of the
// hall's shots show the arms welding. The cameras are built shot by shot on these
// times, and the arms weld in bursts only while a shot shows them, so every shower of
// sparks is seen.
//
// Cuts fall on the music: on the flashes' accents through the loud sections, on bar
// lines in the quiet ones, and on the scene events (the release, the run, the switch of
// scenes at 120 s and 200.598 s, the stop at the glass, the charge and the impact).
#include <vector>

namespace datagen::cuts {

// Hall, the intro (bar lines) under the title boards.
inline constexpr float kEstablishing = 9.994f;
inline constexpr float kAlongTheRig = 19.789f;
inline constexpr float kFirstWeld = 29.5854f;  // first flash
// Hall, the loud section (flashes).
inline constexpr float kSecondArm = 35.8714f;
inline constexpr float kMonitors = 42.4831f;
inline constexpr float kArmOrbit = 48.8532f;
inline constexpr float kSleepingHead = 53.8541f;
inline constexpr float kCatwalk = 60.3002f;
inline constexpr float kLowArm = 66.8294f;
inline constexpr float kMonitorsAgain = 71.7178f;
inline constexpr float kTorchClose = 78.2524f;
inline constexpr float kRigOrbit = 84.7946f;
// Hall, the quiet part (bar lines).
inline constexpr float kAlongTheRobot = 94.621f;
inline constexpr float kTeaser = 102.810f;
inline constexpr float kWaking = 110.96f;  // the robot is released
// The release and the run to the doors.
inline constexpr float kRelease = 115.0f;  // the run starts
inline constexpr float kToTheDoors = 117.6063f;
inline constexpr float kThroughTheDoors = 120.0f;  // the hall is switched off after this
// The breaking-wall scene.
inline constexpr float kGreetingsHeading = 120.929f;
inline constexpr float kPassageFollow = 128.8262f;
inline constexpr float kArrival = 136.4f;  // the robot stands at the glass
inline constexpr float kWallWide = 143.5535f;
inline constexpr float kGreetingsSide = 149.9318f;
inline constexpr float kLowAngle = 156.6602f;
inline constexpr float kOverTheShoulder = 161.4894f;
inline constexpr float kFace = 164.4808f;  // the charge begins
inline constexpr float kCharge = 166.3808f;  // the impact
inline constexpr float kShards = 167.8816f;
inline constexpr float kBeyondFollow = 176.0849f;
inline constexpr float kBeyondSide = 182.6143f;
inline constexpr float kBeyondHigh = 186.3692f;
inline constexpr float kBeyondLead = 195.6851f;
inline constexpr float kBeyondLow = 200.598f;  // the hall again
// The dance, the credits and the end.
inline constexpr float kDanceWide = 203.8721f;  // first credit
inline constexpr float kFirstCredit = 208.5505f;
inline constexpr float kSecondCredit = 213.6274f;
inline constexpr float kThirdCredit = 216.9343f;  // last flash
inline constexpr float kEnd = 240.0f;

// A stretch of a hall shot in which arms weld (bursts of sparks on the music): the arm
// (1 or 2), or both taking turns (3).
struct WeldWindow {
  float start, end;
  int arms;
};

const std::vector<WeldWindow>& WeldWindows();

}  // namespace datagen::cuts
