#include "datagen/music/analysis/audio_analysis.h"

#include <algorithm>
#include <cmath>
#include <complex>

#include "assets/image.h"
#include "datagen/music/synth/filter.h"

namespace datagen {
namespace analysis {
namespace {

// Sums of squares from the start, so the mean power of any span costs two lookups.
class PowerSums {
 public:
  explicit PowerSums(const std::vector<float>& mono) : sums_(mono.size() + 1, 0.0) {
    for (std::size_t i = 0; i < mono.size(); ++i) sums_[i + 1] = sums_[i] + static_cast<double>(mono[i]) * mono[i];
  }
  std::size_t Size() const { return sums_.size() - 1; }
  // Mean power over [first, first + count), clipped to the signal.
  double Mean(long long first, long long count) const {
    const long long begin = std::clamp<long long>(first, 0, static_cast<long long>(Size()));
    const long long end = std::clamp<long long>(first + count, 0, static_cast<long long>(Size()));
    if (end <= begin) return 0.0;
    return (sums_[end] - sums_[begin]) / static_cast<double>(end - begin);
  }

 private:
  std::vector<double> sums_;
};

double Db(double power) { return 10.0 * std::log10(power + 1e-12); }

// In-place radix-2 FFT; the size must be a power of two.
void Fft(std::vector<std::complex<double>>& data) {
  const std::size_t n = data.size();
  for (std::size_t i = 1, j = 0; i < n; ++i) {
    std::size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(data[i], data[j]);
  }
  for (std::size_t length = 2; length <= n; length <<= 1) {
    const double angle = -2.0 * 3.141592653589793 / static_cast<double>(length);
    const std::complex<double> root(std::cos(angle), std::sin(angle));
    for (std::size_t start = 0; start < n; start += length) {
      std::complex<double> w(1.0, 0.0);
      for (std::size_t k = 0; k < length / 2; ++k) {
        const std::complex<double> even = data[start + k];
        const std::complex<double> odd = data[start + k + length / 2] * w;
        data[start + k] = even + odd;
        data[start + k + length / 2] = even - odd;
        w *= root;
      }
    }
  }
}

// Colour of a level from 0 (quiet: black) to 1 (loud: white) through blue, red, orange
// and yellow.
void HeatColour(double x, unsigned char* rgb) {
  static const double kStops[6][3] = {{0, 0, 0},     {30, 10, 90},   {140, 20, 120},
                                      {230, 80, 30}, {250, 200, 40}, {255, 255, 230}};
  x = std::clamp(x, 0.0, 1.0) * 5.0;
  const int i = std::min(4, static_cast<int>(x));
  const double f = x - i;
  for (int c = 0; c < 3; ++c) rgb[c] = static_cast<unsigned char>(kStops[i][c] + (kStops[i + 1][c] - kStops[i][c]) * f);
}

}  // namespace

std::vector<float> MonoMix(const std::vector<std::int16_t>& interleavedStereo) {
  std::vector<float> mono(interleavedStereo.size() / 2);
  for (std::size_t i = 0; i < mono.size(); ++i) {
    mono[i] =
        (static_cast<float>(interleavedStereo[2 * i]) + static_cast<float>(interleavedStereo[2 * i + 1])) / 65536.0f;
  }
  return mono;
}

std::vector<double> DetectOnsets(const std::vector<float>& mono, int sampleRate, double minRiseDb) {
  // Attacks are found above 300 Hz: there every drum and note has its front, and a window
  // of a few milliseconds spans whole cycles, so the level does not ripple with the
  // waveform of a low bass or kick.
  std::vector<float> high(mono.size());
  synth::Svf filter;
  filter.Set(300.0, 0.0, sampleRate);
  for (std::size_t i = 0; i < mono.size(); ++i) high[i] = filter.High(mono[i]);
  const PowerSums power(high);
  const long long window = std::max(8LL, std::llround(0.0058 * sampleRate));
  const long long hop = std::max(1LL, window / 8);
  const long long history = std::llround(0.030 * sampleRate);
  const long long frames = static_cast<long long>(mono.size()) / hop;
  std::vector<double> level(frames), rise(frames, 0.0), before(frames, 0.0);
  for (long long k = 0; k < frames; ++k) level[k] = Db(power.Mean(k * hop, window));
  // Rise over the quietest window that ended before this one began, within the history.
  for (long long k = 0; k < frames; ++k) {
    const long long last = k - window / hop;
    const long long first = std::max(0LL, k - (history + window) / hop);
    if (last < first) continue;
    double quietest = level[first];
    for (long long j = first + 1; j <= last; ++j) quietest = std::min(quietest, level[j]);
    before[k] = quietest;
    rise[k] = level[k] - quietest;
  }
  // Peaks of the rise; each located where a 1 ms level first reaches halfway (in dB)
  // from the level before to the level at the peak.
  const long long neighbourhood = std::max(1LL, std::llround(0.012 * sampleRate) / hop);
  const long long fine = std::max(4LL, std::llround(0.001 * sampleRate));
  std::vector<double> onsets;
  for (long long k = 0; k < frames; ++k) {
    if (rise[k] < minRiseDb) continue;
    bool peak = true;
    for (long long j = std::max(0LL, k - neighbourhood); j <= std::min(frames - 1, k + neighbourhood) && peak; ++j) {
      peak = rise[j] < rise[k] || (rise[j] == rise[k] && j >= k);
    }
    if (!peak) continue;
    const double halfway = (before[k] + level[k]) * 0.5;
    long long at = k * hop;
    for (long long s = k * hop - window; s <= k * hop + window; ++s) {
      if (Db(power.Mean(s, fine)) >= halfway) {
        at = s + fine / 2;
        break;
      }
    }
    onsets.push_back(static_cast<double>(std::max(0LL, at)) / sampleRate);
  }
  return onsets;
}

double LevelDb(const std::vector<float>& mono, int sampleRate, double from, double to) {
  const long long size = static_cast<long long>(mono.size());
  const long long first = std::clamp<long long>(std::llround(from * sampleRate), 0, size);
  const long long end = std::clamp<long long>(std::llround(to * sampleRate), 0, size);
  if (end <= first) return -120.0;
  double sum = 0.0;
  for (long long i = first; i < end; ++i) sum += static_cast<double>(mono[i]) * mono[i];
  return std::max(-120.0, Db(sum / static_cast<double>(end - first)));
}

double PeakLevelDb(const std::vector<float>& mono, int sampleRate, double from, double to) {
  const long long window = std::llround(0.005 * sampleRate);
  const long long step = std::max(1LL, std::llround(0.001 * sampleRate));
  double loudest = -120.0;
  for (double t = from; t + 0.005 <= to + 1e-9; t += static_cast<double>(step) / sampleRate) {
    loudest = std::max(loudest, LevelDb(mono, sampleRate, t, t + static_cast<double>(window) / sampleRate));
  }
  return loudest;
}

bool WriteSpectrogram(const std::string& path, const std::vector<float>& mono, int sampleRate, double from, double to,
                      const std::vector<Mark>& marks, int width, int height) {
  if (width < 1 || height < 1 || to <= from) return false;
  constexpr std::size_t kFft = 4096;
  std::vector<double> hann(kFft);
  for (std::size_t i = 0; i < kFft; ++i) hann[i] = 0.5 - 0.5 * std::cos(2.0 * 3.141592653589793 * i / (kFft - 1));
  // Frequency band of each row, on a log scale.
  std::vector<std::size_t> rowBin(height + 1);
  for (int y = 0; y <= height; ++y) {
    const double hz = 30.0 * std::pow(16000.0 / 30.0, static_cast<double>(y) / height);
    rowBin[y] = std::min(kFft / 2 - 1, static_cast<std::size_t>(hz * kFft / sampleRate));
  }
  std::vector<double> levels(static_cast<std::size_t>(width) * height, -200.0);
  double loudest = -200.0;
  std::vector<std::complex<double>> buffer(kFft);
  for (int x = 0; x < width; ++x) {
    const double centre = from + (to - from) * (x + 0.5) / width;
    const long long first = std::llround(centre * sampleRate) - static_cast<long long>(kFft / 2);
    for (std::size_t i = 0; i < kFft; ++i) {
      const long long s = first + static_cast<long long>(i);
      const double sample = s >= 0 && s < static_cast<long long>(mono.size()) ? mono[s] : 0.0;
      buffer[i] = {sample * hann[i], 0.0};
    }
    Fft(buffer);
    for (int y = 0; y < height; ++y) {
      double strongest = 0.0;
      for (std::size_t b = rowBin[y]; b <= std::max(rowBin[y], rowBin[y + 1] - (rowBin[y + 1] > rowBin[y] ? 1 : 0));
           ++b) {
        strongest = std::max(strongest, std::norm(buffer[b]));
      }
      const double db = Db(strongest);
      levels[static_cast<std::size_t>(y) * width + x] = db;
      loudest = std::max(loudest, db);
    }
  }
  Image image = Image::Allocate(width, height, 24);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      HeatColour((levels[static_cast<std::size_t>(y) * width + x] - (loudest - 70.0)) / 70.0,
                 image.pixels.get() + (static_cast<std::size_t>(y) * width + x) * 3);
    }
  }
  // Seconds along the bottom edge: a short grey tick every 10 s, a longer one every minute.
  for (double t = std::ceil(from / 10.0) * 10.0; t < to; t += 10.0) {
    const int x = static_cast<int>((t - from) / (to - from) * width);
    const int length = std::fmod(t, 60.0) == 0.0 ? 14 : 6;
    for (int y = 0; y < std::min(length, height); ++y) {
      unsigned char* p = image.pixels.get() + (static_cast<std::size_t>(y) * width + x) * 3;
      p[0] = p[1] = p[2] = 200;
    }
  }
  const int tick = std::max(4, height / 30);
  for (const Mark& mark : marks) {
    if (mark.time < from || mark.time >= to) continue;
    const int x = static_cast<int>((mark.time - from) / (to - from) * width);
    for (int y = 0; y < height; ++y) {
      unsigned char* p = image.pixels.get() + (static_cast<std::size_t>(y) * width + x) * 3;
      const bool edge = y >= height - tick || (y >= 16 && y < 16 + tick);
      const double blend = edge ? 1.0 : 0.3;
      p[0] = static_cast<unsigned char>(p[0] * (1.0 - blend) + mark.red * blend);
      p[1] = static_cast<unsigned char>(p[1] * (1.0 - blend) + mark.green * blend);
      p[2] = static_cast<unsigned char>(p[2] * (1.0 - blend) + mark.blue * blend);
    }
  }
  return EncodePng(path, image);
}

}  // namespace analysis
}  // namespace datagen
