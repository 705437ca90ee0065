#pragma once
// Measurements of rendered or decoded audio: where its events start, how loud it is
// around a time, and a picture of its spectrum. The soundtrack's tests check the file
// with these, and the spectrogram is how a person checks it at a glance.
#include <cstdint>
#include <string>
#include <vector>

namespace datagen {
namespace analysis {

// The mean of the two channels of interleaved 16-bit stereo, scaled to -1..1.
std::vector<float> MonoMix(const std::vector<std::int16_t>& interleavedStereo);

// Onsets: times (seconds, ascending) where the level rises quickly. The level of the
// signal above 300 Hz is measured over short windows (about 6 ms); an onset is where it
// rises by at least minRiseDb above the quietest of the 30 ms before, and rises most
// within 12 ms either side. The time given is where the rise begins, to within a few
// milliseconds.
std::vector<double> DetectOnsets(const std::vector<float>& mono, int sampleRate, double minRiseDb = 6.0);

// Root-mean-square level in dB of full scale over [from, to) seconds; -120 for silence
// or an empty span.
double LevelDb(const std::vector<float>& mono, int sampleRate, double from, double to);

// The largest 5 ms root-mean-square level in dB within [from, to): the loudness of the
// strongest moment there.
double PeakLevelDb(const std::vector<float>& mono, int sampleRate, double from, double to);

// A mark drawn over the spectrogram: a thin vertical line at a time, in a colour.
struct Mark {
  double time;
  unsigned char red, green, blue;
};

// A spectrogram of [from, to) seconds as a PNG of width x height pixels: time runs to the
// right, frequency up on a logarithmic scale from 30 Hz to 16 kHz, brightness is level
// (a 70 dB range below the loudest). The marks are drawn as short ticks along the top and
// bottom edges and faint lines through the picture. False when the file cannot be written.
bool WriteSpectrogram(const std::string& path, const std::vector<float>& mono, int sampleRate, double from, double to,
                      const std::vector<Mark>& marks, int width, int height);

}  // namespace analysis
}  // namespace datagen
