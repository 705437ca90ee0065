#include "platform/tools/mp3_encoder.h"

#include <lame/lame.h>

#include <cstdio>
#include <algorithm>
#include <memory>

namespace platform {
namespace {

struct LameCloser {
  void operator()(lame_global_flags* flags) const { lame_close(flags); }
};

// Encoder input per call, in frames; the output buffer size follows the encoder's own
// worst-case rule (1.25 x samples + 7200).
constexpr int kFramesPerCall = 8192;
constexpr int kOutputBytes = kFramesPerCall * 5 / 4 + 7200;

bool Encode(std::FILE* file, lame_global_flags* lame, const std::vector<std::int16_t>& interleaved,
            int channels, std::string& error) {
  std::vector<unsigned char> out(kOutputBytes);
  const std::size_t frames = interleaved.size() / static_cast<std::size_t>(channels);
  std::vector<short> mono;
  for (std::size_t first = 0; first < frames; first += kFramesPerCall) {
    const int count = static_cast<int>(std::min<std::size_t>(kFramesPerCall, frames - first));
    const short* pcm = interleaved.data() + first * static_cast<std::size_t>(channels);
    int written;
    if (channels == 2) {
      written = lame_encode_buffer_interleaved(lame, const_cast<short*>(pcm), count, out.data(), kOutputBytes);
    } else {
      written = lame_encode_buffer(lame, pcm, nullptr, count, out.data(), kOutputBytes);
    }
    if (written < 0) {
      error = "the encoder failed (" + std::to_string(written) + ")";
      return false;
    }
    if (std::fwrite(out.data(), 1, static_cast<std::size_t>(written), file) != static_cast<std::size_t>(written)) {
      error = "write error";
      return false;
    }
  }
  const int flushed = lame_encode_flush(lame, out.data(), kOutputBytes);
  if (flushed < 0 || std::fwrite(out.data(), 1, static_cast<std::size_t>(flushed), file) !=
                         static_cast<std::size_t>(flushed)) {
    error = "write error";
    return false;
  }
  // Rewrites the information frame at the start of the file with the final counts,
  // encoder delay and padding.
  lame_mp3_tags_fid(lame, file);
  return true;
}

}  // namespace

bool EncodeMp3(const std::string& path, const std::vector<std::int16_t>& interleaved, const Mp3Settings& settings,
               std::string& error) {
  error.clear();
  if (settings.channels != 1 && settings.channels != 2) {
    error = "unsupported channel count " + std::to_string(settings.channels);
    return false;
  }
  std::unique_ptr<lame_global_flags, LameCloser> lame(lame_init());
  if (!lame) {
    error = "the encoder could not be created";
    return false;
  }
  lame_set_in_samplerate(lame.get(), settings.sampleRate);
  lame_set_out_samplerate(lame.get(), settings.sampleRate);
  lame_set_num_channels(lame.get(), settings.channels);
  lame_set_mode(lame.get(), settings.channels == 1 ? MONO : JOINT_STEREO);
  lame_set_VBR(lame.get(), vbr_off);
  lame_set_brate(lame.get(), settings.bitrateKbps);
  lame_set_quality(lame.get(), settings.quality);
  lame_set_bWriteVbrTag(lame.get(), 1);
  if (lame_init_params(lame.get()) < 0) {
    error = "the encoder refused the settings";
    return false;
  }
  // Read back by the tag writer, hence update mode.
  std::FILE* file = std::fopen(path.c_str(), "w+b");
  if (file == nullptr) {
    error = "cannot create " + path;
    return false;
  }
  bool ok = Encode(file, lame.get(), interleaved, settings.channels, error);
  if (std::fclose(file) != 0 && ok) {
    error = "write error";
    ok = false;
  }
  if (!ok) {
    std::remove(path.c_str());
    error = path + ": " + error;
  }
  return ok;
}

}  // namespace platform
