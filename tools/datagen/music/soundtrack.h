#pragma once
// The soundtrack of the demo, synthesised and encoded at build time.
#include <functional>
#include <string>

#include "datagen/music/synth/stereo_buffer.h"

namespace datagen {

// Length of the file: beyond show::kMusicEnd, where the demo leaves the music, so the looping
// stream never wraps back to the start while the timeline still follows it.
inline constexpr double kSoundtrackSeconds = 226.0;

// Reports a stage of the work in words ("rendering 40%").
using SoundtrackProgress = std::function<void(const std::string&)>;

// The soundtrack from start to end seconds, composed, mixed and limited, as floats at
// 44.1 kHz. Equal arguments give equal samples.
synth::StereoBuffer RenderSoundtrack(double start, double end, const SoundtrackProgress& progress = {});

// Renders the whole soundtrack and writes it as an MP3 (with the encoder's information
// frame, so the stream knows its exact length) to path. False with error set when the
// file cannot be written. Progress goes to standard error.
bool WriteSoundtrack(const std::string& path, std::string& error);
// The same, reporting progress to the given function (none when it is empty).
bool WriteSoundtrack(const std::string& path, std::string& error, const SoundtrackProgress& progress);

}  // namespace datagen
