#pragma once
// The timeline's events for everything in the data set that has to meet them: the
// soundtrack is composed over them, and the cameras, spark bursts and robot animations are
// timed with them. All times are seconds of the timeline; the scene times are the show's
// own (anim/show_times.h), and the flash and greeting times are read from the demo's own
// tracks (the built-in signal track and the greetings signal), so nothing here can drift
// from what the demo shows.
#include <string>
#include <vector>

#include "anim/show_times.h"

namespace datagen {
namespace timeline {

// What the scenes and the robot do, and when.
using show::kBackToHall;
using show::kDanceLight;
using show::kDanceStart;
using show::kMusicEnd;
using show::kMusicSilent;
using show::kPassageOpen;
using show::kReleaseHit;
using show::kRobotRelease;
using show::kRobotStands;
using show::kRunAgain;
using show::kRunStart;
using show::kSceneSwitch;
using show::kWallCharge;
using show::kWallImpact;

// The 144 times at which the flash signal changes (up or down), ascending. Each starts a
// flash of the whole picture; the soundtrack has an accent on each.
const std::vector<double>& FlashTimes();

// The times at which the glass wall changes its greeting, ascending: every greetings key
// but the first (the first greeting is already up when the wall scene starts, so it is
// not a change here). The soundtrack has a stab on each.
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
