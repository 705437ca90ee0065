#pragma once
// The timeline's event times in one table, for everything in the data set that has to
// meet them: the soundtrack is composed over them, and the cameras, spark bursts and robot
// animations are timed with them. All times are seconds of the timeline.
//
// The flash and greeting times are read from the demo's own tracks (the built-in signal
// track and the greetings signal), so this table cannot drift from what the demo shows.
#include <string>
#include <vector>

namespace datagen {
namespace timeline {

// What the scenes and the robot do, and when.
inline constexpr double kRobotRelease = 110.96;  // the lying robot is replaced by the released one
inline constexpr double kReleaseHit = 110.9995;  // the flash that marks the release
inline constexpr double kRunStart = 115.0;       // the robot starts running along its path
inline constexpr double kPassageOpen = 117.5;    // the passage beyond the doors is shown
inline constexpr double kSceneSwitch = 120.0;    // the last time the hall is on screen; the wall scene follows
inline constexpr double kRobotStands = 136.4;    // the robot stops in front of the glass wall
inline constexpr double kWallCharge = 164.4808;  // the breaking-wall animation starts
inline constexpr double kWallImpact = 166.3808;  // the robot hits the glass: the shards fly
inline constexpr double kRunAgain = 167.4808;    // the robot runs on beyond the wall
inline constexpr double kBackToHall = 200.598;   // the hall is on screen again
inline constexpr double kDanceLight = 200.7;     // the robot stands at its dance place, the dance light is on
inline constexpr double kDanceStart = 201.9;     // the dance animation starts
inline constexpr double kMusicSilent = 222.5;    // the soundtrack has faded out
inline constexpr double kMusicEnd = 223.0;       // the timeline leaves the music for the frame clock

// The 144 times at which the flash signal changes (up or down), ascending. Each starts a
// flash of the whole picture; the soundtrack has an accent on each.
const std::vector<double>& FlashTimes();

// The 55 times at which the glass wall changes its greeting, ascending (from 139.1884 s;
// the first greeting is already up when the wall scene starts at 120 s, so it is not a
// change here). The soundtrack has a stab on each.
const std::vector<double>& GreetingTimes();

// A beat of the soundtrack: the time of a quarter note of its grid, the bar it belongs
// to (bar 0 starts at the first flash; the intro's bars are negative) and its place in
// the bar (0 is the downbeat, 3 the last beat).
struct Beat {
  double time;
  int bar;
  int beat;
};

// The soundtrack's beats from `from` up to `to` seconds. The music follows the hand-timed
// flashes, so its tempo drifts between about 135 and 170 beats per minute: time things
// to these beats rather than to a fixed period.
std::vector<Beat> Beats(double from, double to);

// The beats of the robot's run (kRunStart to kRobotStands and kRunAgain to kBackToHall)
// and of its dance (kDanceStart to kMusicSilent): footfalls and dance moves land on these.
std::vector<Beat> RunBeats();
std::vector<Beat> DanceBeats();

// The mean seconds per beat of a list of beats (0 for fewer than two): the period for a
// cycle of fixed length, like the run animation, that keeps closest to the music.
double MeanBeatPeriod(const std::vector<Beat>& beats);

enum class EventKind { kFlash, kGreeting, kScene };

struct TimelineEvent {
  double time;
  EventKind kind;
  std::string name;  // "flash 12", "greeting 3", or what a scene time stands for ("run start")
};

// Every flash, greeting and scene event, ascending by time (equal times keep the order
// flash, greeting, scene).
const std::vector<TimelineEvent>& AllEvents();

}  // namespace timeline
}  // namespace datagen
