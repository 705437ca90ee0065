#include "datagen/music/soundtrack.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "datagen/music/arrangement.h"
#include "datagen/music/composition.h"
#include "datagen/music/renderer.h"
#include "datagen/music/synth/limiter.h"
#include "platform/tools/mp3_encoder.h"
#include "platform/music_stream.h"

namespace datagen {
namespace {

// The limiter's ceiling; the encoder's filters can lift a peak a little above it, so the
// written file is decoded again and, where a peak passes kPeakLimitDb, limited harder.
constexpr double kCeilingDb = -1.5;
constexpr double kPeakLimitDb = -1.0;

platform::Mp3Settings EncoderSettings() {
  platform::Mp3Settings settings;
  settings.bitrateKbps = 192;
  settings.quality = 2;
  return settings;
}

// The largest sample of a decoded file, in dB of full scale.
bool DecodedPeakDb(const std::string& path, double& peakDb, std::string& error) {
  std::vector<std::int16_t> samples;
  int rate = 0;
  if (!platform::DecodeMp3File(path, samples, rate)) {
    error = path + ": the written file cannot be decoded: " + platform::MusicError();
    return false;
  }
  int peak = 1;
  for (std::int16_t s : samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
  peakDb = 20.0 * std::log10(peak / 32768.0);
  return true;
}

// Whether a file can be created at path (it is removed again).
bool CanCreate(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  std::fclose(file);
  std::remove(path.c_str());
  return true;
}

synth::StereoBuffer Mix(double start, double end, const SoundtrackProgress& progress) {
  if (progress) progress("composing");
  const music::Arrangement arrangement(music::SoundtrackGrid());
  const music::Score score = music::Compose(arrangement);
  int lastTenth = -1;
  return music::RenderScore(score, start, end, [&](double done) {
    const int tenth = static_cast<int>(done * 10.0);
    if (progress && tenth != lastTenth) progress("rendering " + std::to_string(tenth * 10) + "%");
    lastTenth = tenth;
  });
}

}  // namespace

synth::StereoBuffer RenderSoundtrack(double start, double end, const SoundtrackProgress& progress) {
  synth::StereoBuffer audio = Mix(start, end, progress);
  synth::LimiterSettings limiter;
  limiter.ceilingDb = kCeilingDb;
  synth::Limit(audio, limiter);
  return audio;
}

bool WriteSoundtrack(const std::string& path, std::string& error) {
  return WriteSoundtrack(path, error,
                         [](const std::string& stage) { std::fprintf(stderr, "soundtrack: %s\n", stage.c_str()); });
}

bool WriteSoundtrack(const std::string& path, std::string& error, const SoundtrackProgress& progress) {
  // The file is written beside its place and moved there once it is complete and checked,
  // so a failure leaves an earlier soundtrack as it was; and a place that cannot be
  // written is found before the long render rather than after it.
  const std::string partial = path + ".part";
  if (!CanCreate(partial)) {
    error = "cannot create " + partial;
    return false;
  }
  const synth::StereoBuffer mix = Mix(0.0, kSoundtrackSeconds, progress);
  double ceilingDb = kCeilingDb;
  for (int attempt = 0; attempt < 4; ++attempt) {
    synth::StereoBuffer audio = mix;
    synth::LimiterSettings limiter;
    limiter.ceilingDb = ceilingDb;
    if (progress) progress("limiting");
    synth::Limit(audio, limiter);
    if (progress) progress("encoding " + path);
    if (!platform::EncodeMp3(partial, synth::ToPcm16(audio), EncoderSettings(), error)) return false;
    double peakDb = 0.0;
    if (!DecodedPeakDb(partial, peakDb, error)) {
      std::remove(partial.c_str());
      return false;
    }
    if (peakDb <= kPeakLimitDb) {
      if (std::rename(partial.c_str(), path.c_str()) != 0) {
        std::remove(partial.c_str());
        error = "cannot replace " + path;
        return false;
      }
      return true;
    }
    ceilingDb -= peakDb - kPeakLimitDb + 0.1;
  }
  std::remove(partial.c_str());
  error = path + ": the peak level stays above " + std::to_string(kPeakLimitDb) + " dBFS";
  return false;
}

}  // namespace datagen
