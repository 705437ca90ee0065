#include "datagen/music/renderer.h"

#include <algorithm>
#include <cmath>

#include "datagen/music/synth/drums.h"
#include "datagen/music/synth/envelope.h"
#include "datagen/music/synth/fx_sounds.h"
#include "datagen/music/synth/noise.h"
#include "datagen/music/synth/oscillator.h"
#include "datagen/music/synth/reverb.h"
#include "datagen/music/synth/tonal.h"

namespace datagen {
namespace music {
namespace {

using synth::kSampleRate;

// The whole mix is scaled by this before the limiter, leaving the limiter only the peaks
// of the loudest hits to catch.
constexpr float kMasterGain = 0.45f;
using synth::StereoBuffer;

// Sustained parts sit on the ducked bus: they make way for every kick and hit.
enum class Bus { kDirect, kDucked };

struct Channel {
  Bus bus;
  float gain;
  float reverb;  // send levels
  float echo;
};

Channel ChannelOf(Voice voice) {
  switch (voice) {
    case Voice::kKick:
      return {Bus::kDirect, 0.8f, 0.0f, 0.0f};
    case Voice::kBoom:
      return {Bus::kDirect, 0.95f, 0.08f, 0.0f};
    case Voice::kPunch:
      return {Bus::kDirect, 0.9f, 0.0f, 0.0f};
    case Voice::kSnare:
      return {Bus::kDirect, 0.4f, 0.2f, 0.0f};
    case Voice::kClap:
      return {Bus::kDirect, 0.35f, 0.25f, 0.0f};
    case Voice::kClosedHat:
      return {Bus::kDirect, 0.2f, 0.04f, 0.0f};
    case Voice::kOpenHat:
      return {Bus::kDirect, 0.15f, 0.08f, 0.0f};
    case Voice::kShaker:
      return {Bus::kDirect, 0.16f, 0.05f, 0.0f};
    case Voice::kCrash:
      return {Bus::kDirect, 0.2f, 0.15f, 0.0f};
    case Voice::kTom:
      return {Bus::kDirect, 0.4f, 0.25f, 0.0f};
    case Voice::kBass:
      return {Bus::kDucked, 0.42f, 0.0f, 0.0f};
    case Voice::kPad:
      return {Bus::kDucked, 0.42f, 0.35f, 0.0f};
    case Voice::kArp:
      return {Bus::kDucked, 0.18f, 0.25f, 0.3f};
    case Voice::kCrackle:
      return {Bus::kDucked, 0.14f, 0.2f, 0.0f};
    case Voice::kLead:
      return {Bus::kDirect, 0.24f, 0.25f, 0.25f};
    case Voice::kStab:
      return {Bus::kDirect, 0.42f, 0.14f, 0.0f};
    case Voice::kGreeting:
      return {Bus::kDirect, 1.8f, 0.1f, 0.0f};
    case Voice::kBell:
      return {Bus::kDirect, 0.25f, 0.4f, 0.25f};
    case Voice::kRiser:
      return {Bus::kDirect, 0.3f, 0.3f, 0.0f};
    case Voice::kSwell:
      return {Bus::kDirect, 0.25f, 0.3f, 0.0f};
    case Voice::kShatter:
      return {Bus::kDirect, 0.55f, 0.4f, 0.0f};
  }
  return {Bus::kDirect, 0.0f, 0.0f, 0.0f};
}

StereoBuffer Placed(const std::vector<float>& mono, float pan) {
  StereoBuffer out(mono.size());
  out.MixMono(mono, 0, synth::Pan(pan));
  return out;
}

// The sound of one note, from its start to its last audible sample.
StereoBuffer Sound(const Note& note, synth::Noise& noise) {
  const float v = note.velocity;
  switch (note.voice) {
    case Voice::kKick:
      return Placed(synth::Kick(synth::KickSound(), v, noise), note.pan);
    case Voice::kBoom: {
      synth::KickSound boom;
      boom.startHz = 140.0;
      boom.endHz = 38.0;
      boom.pitchFall = 0.06;
      boom.decay = 0.7;
      boom.length = 2.2;
      boom.click = 0.4;
      return Placed(synth::Kick(boom, v, noise), note.pan);
    }
    case Voice::kPunch: {
      synth::KickSound punch;
      punch.decay = 0.09;
      punch.length = 0.3;
      punch.click = 0.45;
      return Placed(synth::Kick(punch, v, noise), note.pan);
    }
    case Voice::kSnare:
      return Placed(synth::Snare(v, noise), note.pan);
    case Voice::kClap:
      return Placed(synth::Clap(v, noise), note.pan);
    case Voice::kClosedHat:
      return Placed(synth::HiHat(false, v, noise), note.pan);
    case Voice::kOpenHat:
      return Placed(synth::HiHat(true, v, noise), note.pan);
    case Voice::kShaker:
      return Placed(synth::Shaker(v, noise), note.pan);
    case Voice::kCrash:
      return Placed(synth::Crash(v, noise), note.pan);
    case Voice::kTom:
      return Placed(synth::Tom(note.pitch, v, noise), note.pan);
    case Voice::kBass:
      return Placed(synth::Bass(note.pitch, note.length, v, note.brightness), note.pan);
    case Voice::kPad:
      return synth::Pad(note.pitch, note.length, v, note.brightness, noise);
    case Voice::kArp:
      return Placed(synth::Pluck(note.pitch, note.length, v, note.brightness, 0.09), note.pan);
    case Voice::kGreeting: {
      // A pluck with a tick of noise on its front, so each change is crisp.
      std::vector<float> sound = synth::Pluck(note.pitch, note.length, v, note.brightness, 0.05);
      const std::vector<float> tick = synth::Tick(v * 0.6f, noise);
      for (std::size_t i = 0; i < std::min(sound.size(), tick.size()); ++i) sound[i] += tick[i];
      return Placed(sound, note.pan);
    }
    case Voice::kLead:
      return Placed(synth::Lead(note.pitch, note.length, v, note.brightness), note.pan);
    case Voice::kStab:
      return Placed(synth::Stab(note.pitch, v, 0.075, note.length), note.pan);
    case Voice::kBell:
      return Placed(synth::Bell(synth::NoteHz(note.pitch), v, 0.6), note.pan);
    case Voice::kRiser:
      return synth::Riser(note.length, v, noise);
    case Voice::kSwell:
      return Placed(synth::Swell(note.length, v, noise), note.pan);
    case Voice::kShatter:
      return synth::Shatter(v, noise);
    case Voice::kCrackle:
      return synth::Crackle(note.length, v, noise);
  }
  return StereoBuffer();
}

// How long a note can sound after its start, at most: notes that end before an excerpt
// starts are skipped without rendering them.
double Reach(const Note& note) { return note.length + 3.0; }

// Sidechain: the ducked bus dips under every kick, boom and chord hit and recovers.
struct DuckTrigger {
  double time;
  float depth;
  double recovery;
};

std::vector<DuckTrigger> DuckTriggers(const Score& score) {
  std::vector<DuckTrigger> triggers;
  for (const Note& note : score.notes) {
    if (note.voice == Voice::kKick) triggers.push_back({note.time, 0.45f * note.velocity, 0.12});
    if (note.voice == Voice::kPunch) triggers.push_back({note.time, 0.5f, 0.1});
    if (note.voice == Voice::kBoom) triggers.push_back({note.time, 0.8f, 0.45});
    if (note.voice == Voice::kStab) triggers.push_back({note.time, 0.5f, 0.15});
    if (note.voice == Voice::kGreeting) triggers.push_back({note.time, 0.35f, 0.08});
  }
  return triggers;
}

void Duck(StereoBuffer& bus, const std::vector<DuckTrigger>& triggers, double start) {
  std::vector<float> gain(bus.Frames(), 1.0f);
  const double attack = 0.004;
  for (const DuckTrigger& trigger : triggers) {
    const double from = trigger.time - attack;
    const long long first = std::max<long long>(0, static_cast<long long>(std::floor((from - start) * kSampleRate)));
    const long long last =
        std::min<long long>(static_cast<long long>(bus.Frames()),
                            static_cast<long long>((trigger.time + 6.0 * trigger.recovery - start) * kSampleRate));
    for (long long i = first; i < last; ++i) {
      const double t = start + static_cast<double>(i) / kSampleRate - trigger.time;
      const double shape = t < 0.0 ? (t + attack) / attack : std::exp(-t / trigger.recovery);
      gain[i] = std::min(gain[i], static_cast<float>(1.0 - trigger.depth * std::clamp(shape, 0.0, 1.0)));
    }
  }
  for (std::size_t i = 0; i < bus.Frames(); ++i) {
    bus.left[i] *= gain[i];
    bus.right[i] *= gain[i];
  }
}

}  // namespace

StereoBuffer RenderScore(const Score& score, double start, double end, const RenderProgress& progress) {
  const std::size_t frames = static_cast<std::size_t>(std::llround(std::max(0.0, end - start) * kSampleRate));
  StereoBuffer direct(frames), ducked(frames), reverbSend(frames), echoSend(frames);
  const std::size_t count = score.notes.size();
  for (std::size_t n = 0; n < count; ++n) {
    const Note& note = score.notes[n];
    if (progress && n % 256 == 0) progress(static_cast<double>(n) / static_cast<double>(count));
    if (note.time >= end || note.time + Reach(note) < start) continue;
    synth::Noise noise(synth::Noise::Seed(static_cast<std::uint64_t>(note.voice) * 1000003ull +
                                              static_cast<std::uint64_t>(std::llround(note.pitch * 100.0)),
                                          static_cast<std::uint64_t>(std::llround(note.time * 1e6))));
    const StereoBuffer sound = Sound(note, noise);
    const long long offset = std::llround((note.time - start) * kSampleRate);
    const Channel channel = ChannelOf(note.voice);
    (channel.bus == Bus::kDucked ? ducked : direct).Mix(sound, offset, channel.gain);
    if (channel.reverb > 0.0f) reverbSend.Mix(sound, offset, channel.gain * channel.reverb);
    if (channel.echo > 0.0f) echoSend.Mix(sound, offset, channel.gain * channel.echo);
  }
  Duck(ducked, DuckTriggers(score), start);
  StereoBuffer mix = std::move(direct);
  mix.Mix(ducked, 0);
  // A dotted eighth at the theme's tempo.
  const StereoBuffer echo = synth::PingPongDelay(echoSend, 0.75 * 60.0 / 147.0, 0.38);
  mix.Mix(echo, 0);
  reverbSend.Mix(echo, 0, 0.3f);
  mix.Mix(synth::Reverb(reverbSend, synth::ReverbSettings()), 0);
  for (std::size_t i = 0; i < mix.Frames(); ++i) {
    mix.left[i] *= kMasterGain;
    mix.right[i] *= kMasterGain;
  }
  if (progress) progress(1.0);
  return mix;
}

}  // namespace music
}  // namespace datagen
