#pragma once
// The sound of a section as the demo plays it: the soundtrack from the section's start,
// looping at its end like the demo's stream, and silent from the time the demo stops
// the music on (223 s).
#include <cstdint>
#include <string>
#include <vector>

struct SoundSection {
  int sampleRate = 44100;
  std::vector<std::int16_t> stereo;  // interleaved left, right
};

// The section [fromSeconds, toSeconds) of a soundtrack of `music` (interleaved stereo
// at sampleRate) that plays until musicEndSeconds. Sample n of the result is timeline
// time fromSeconds + n / sampleRate, rounded to whole samples.
SoundSection CutSoundSection(const std::vector<std::int16_t>& music, int sampleRate, double fromSeconds,
                             double toSeconds, double musicEndSeconds);

// Writes 16-bit stereo PCM as a WAV file. False with error set on failure.
bool WriteWav(const std::string& path, const SoundSection& sound, std::string& error);
