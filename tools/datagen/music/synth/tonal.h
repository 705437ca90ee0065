#pragma once
// The pitched instruments. Each renders one note whole: note is a MIDI note number,
// gate the seconds the key is held, velocity 0..1. What a note sounds after its gate
// (release, ringing) is included, so a caller mixes the returned signal at the note's
// start and is done with it.
#include <vector>

#include "datagen/music/synth/noise.h"
#include "datagen/music/synth/stereo_buffer.h"

namespace datagen {
namespace synth {

// Saw, pulse and a sine sub through a resonant low-pass whose cutoff jumps at every note
// and falls back: the bass line. brightness 0..1 opens the filter.
std::vector<float> Bass(double note, double gate, float velocity, float brightness);

// Five detuned saws spread across the stereo field through a slowly moving low-pass,
// with a slow attack and a long release: one note of a chord pad.
StereoBuffer Pad(double note, double gate, float velocity, float brightness, Noise& noise);

// Saw and narrow pulse with delayed vibrato: the melody.
std::vector<float> Lead(double note, double gate, float velocity, float brightness);

// A short plucked saw whose filter closes quickly: arpeggios and the greeting stabs.
// decay: seconds for the level to fall by 1/e.
std::vector<float> Pluck(double note, double gate, float velocity, float brightness, double decay);

// A brassy, bright chord hit for the accents: three detuned saws with a fast filter fall,
// dying away with `decay` while held and stopped quickly when released after `gate`.
std::vector<float> Stab(double note, float velocity, double decay, double gate);

// A bell-like tone of inharmonic partials: glass and chimes.
std::vector<float> Bell(double hz, float velocity, double decay);

}  // namespace synth
}  // namespace datagen
