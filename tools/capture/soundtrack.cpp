#include "capture/soundtrack.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

void Put32(std::vector<unsigned char>& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}
void Put16(std::vector<unsigned char>& out, std::uint16_t value) {
  out.push_back(static_cast<unsigned char>(value));
  out.push_back(static_cast<unsigned char>(value >> 8));
}
void PutTag(std::vector<unsigned char>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

}  // namespace

SoundSection CutSoundSection(const std::vector<std::int16_t>& music, int sampleRate, double fromSeconds,
                             double toSeconds, double musicEndSeconds) {
  SoundSection section;
  section.sampleRate = sampleRate;
  const std::int64_t first = std::llround(fromSeconds * sampleRate);
  const std::int64_t end = std::max(first, static_cast<std::int64_t>(std::llround(toSeconds * sampleRate)));
  const std::int64_t musicEnd = std::llround(musicEndSeconds * sampleRate);
  const std::int64_t frames = static_cast<std::int64_t>(music.size() / 2);
  section.stereo.assign(static_cast<std::size_t>(end - first) * 2, 0);
  if (frames == 0) return section;
  for (std::int64_t n = first; n < std::min(end, musicEnd); ++n) {
    const std::size_t from = static_cast<std::size_t>(n % frames) * 2;
    const std::size_t to = static_cast<std::size_t>(n - first) * 2;
    section.stereo[to] = music[from];
    section.stereo[to + 1] = music[from + 1];
  }
  return section;
}

bool WriteWav(const std::string& path, const SoundSection& sound, std::string& error) {
  // The format counts bytes in 32 bits: about six and a half hours of sound.
  if (sound.stereo.size() * 2 > 0xffffffffu - 36u) {
    error = "the section is too long for a soundtrack file";
    return false;
  }
  const std::uint32_t dataBytes = static_cast<std::uint32_t>(sound.stereo.size() * 2);
  std::vector<unsigned char> header;
  PutTag(header, "RIFF");
  Put32(header, 36 + dataBytes);
  PutTag(header, "WAVE");
  PutTag(header, "fmt ");
  Put32(header, 16);
  Put16(header, 1);  // PCM
  Put16(header, 2);  // channels
  Put32(header, static_cast<std::uint32_t>(sound.sampleRate));
  Put32(header, static_cast<std::uint32_t>(sound.sampleRate) * 4);  // bytes per second
  Put16(header, 4);                                                  // bytes per sample frame
  Put16(header, 16);                                                 // bits per sample
  PutTag(header, "data");
  Put32(header, dataBytes);

  std::vector<unsigned char> samples;
  samples.reserve(dataBytes);
  for (std::int16_t s : sound.stereo) Put16(samples, static_cast<std::uint16_t>(s));

  std::FILE* file = std::fopen(path.c_str(), "wb");
  bool ok = file != nullptr && std::fwrite(header.data(), 1, header.size(), file) == header.size() &&
            (samples.empty() || std::fwrite(samples.data(), 1, samples.size(), file) == samples.size());
  if (file != nullptr && std::fclose(file) != 0) ok = false;
  if (!ok) {
    std::remove(path.c_str());
    error = "couldn't write the soundtrack " + path;
  }
  return ok;
}
