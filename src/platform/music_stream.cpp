#include "platform/music_stream.h"

#include <SDL.h>
#include <mpg123.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

#include "platform/clock.h"
#include "platform/music_stream_clock.h"

namespace platform {
namespace {

constexpr int kBytesPerFrame = 4;        // 16-bit stereo
constexpr int kDeviceFrames = 1024;      // per audio callback, about 23 ms at 44100 Hz
constexpr int kDecodeFrames = 8192;      // per decoder call
constexpr int kConverterFrames = 1024;   // handed to the rate converter at a time
constexpr double kMaxSeconds = 3600.0;   // longer files are refused rather than held in memory

std::string g_error;

// The whole file decoded into memory by a thread of its own; what is not decoded yet
// reads as silence.
class DecodedMusic {
 public:
  ~DecodedMusic() {
    stop_.store(true);
    if (thread_.joinable()) thread_.join();
    if (handle_ != nullptr) mpg123_delete(handle_);
  }

  static std::unique_ptr<DecodedMusic> Open(const std::string& path, std::string& error) {
    static const bool libraryReady = mpg123_init() == MPG123_OK;
    if (!libraryReady) {
      error = "the MP3 decoder could not be set up";
      return nullptr;
    }
    std::unique_ptr<DecodedMusic> music(new DecodedMusic);
    int result = MPG123_OK;
    music->handle_ = mpg123_new(nullptr, &result);
    if (music->handle_ == nullptr) {
      error = "the MP3 decoder could not be set up";
      return nullptr;
    }
    mpg123_handle* handle = music->handle_;
    // Gapless decoding (encoder delay and padding removed) is what makes the length exact.
    mpg123_param(handle, MPG123_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0.0);
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_open_fixed(handle, path.c_str(), MPG123_STEREO, MPG123_ENC_SIGNED_16) != MPG123_OK ||
        mpg123_getformat(handle, &rate, &channels, &encoding) != MPG123_OK || rate <= 0) {
      error = path + ": " + mpg123_strerror(handle);
      return nullptr;
    }
    // The encoder's information frame declares the length; the scan counts what is
    // really there. A file cut short (a broken download or copy) would otherwise play
    // its first part and loop back to the start, taking the timeline with it.
    const off_t declared = mpg123_length(handle);
    if (mpg123_scan(handle) != MPG123_OK) {
      error = path + ": " + mpg123_strerror(handle);
      return nullptr;
    }
    const off_t length = mpg123_length(handle);
    if (length <= 0) {
      error = path + ": no audio";
      return nullptr;
    }
    if (declared > length + rate / 10) {
      char seconds[96];
      std::snprintf(seconds, sizeof seconds, "%.1f s of the %.1f s its header declares",
                    static_cast<double>(length) / rate, static_cast<double>(declared) / rate);
      error = path + ": cut short (it holds " + seconds + ")";
      return nullptr;
    }
    if (static_cast<double>(length) > kMaxSeconds * static_cast<double>(rate)) {
      error = path + ": longer than " + std::to_string(static_cast<int>(kMaxSeconds)) + " s";
      return nullptr;
    }
    if (mpg123_seek(handle, 0, SEEK_SET) < 0) {
      error = path + ": " + mpg123_strerror(handle);
      return nullptr;
    }
    music->rate_ = static_cast<int>(rate);
    music->length_ = static_cast<std::uint64_t>(length);
    music->pcm_.reset(new (std::nothrow) std::int16_t[music->length_ * 2]);
    if (!music->pcm_) {
      error = path + ": not enough memory to decode";
      return nullptr;
    }
    music->thread_ = std::thread([raw = music.get()] { raw->Decode(); });
    return music;
  }

  int Rate() const { return rate_; }
  std::uint64_t Length() const { return length_; }
  // Waits until the decoder has finished; the frames it delivered.
  std::uint64_t Finish() {
    if (thread_.joinable()) thread_.join();
    return decoded_.load();
  }

  // Interleaved frames [first, first + count), count not reaching past the end.
  void Copy(std::uint64_t first, std::uint64_t count, std::int16_t* out) const {
    const std::uint64_t decoded = decoded_.load(std::memory_order_acquire);
    const std::uint64_t ready = first < decoded ? std::min(count, decoded - first) : 0;
    std::memcpy(out, pcm_.get() + first * 2, ready * kBytesPerFrame);
    std::memset(out + ready * 2, 0, (count - ready) * kBytesPerFrame);
  }

 private:
  DecodedMusic() = default;

  void Decode() {
    std::uint64_t frame = 0;
    while (!stop_.load(std::memory_order_relaxed) && frame < length_) {
      const std::uint64_t wanted = std::min<std::uint64_t>(kDecodeFrames, length_ - frame);
      std::size_t done = 0;
      const int result = mpg123_read(handle_, reinterpret_cast<unsigned char*>(pcm_.get() + frame * 2),
                                     wanted * kBytesPerFrame, &done);
      frame += done / kBytesPerFrame;
      decoded_.store(frame, std::memory_order_release);
      // The first read only announces the output format.
      if (result != MPG123_OK && result != MPG123_NEW_FORMAT) break;
    }
  }

  mpg123_handle* handle_ = nullptr;
  int rate_ = 0;
  std::uint64_t length_ = 0;
  std::unique_ptr<std::int16_t[]> pcm_;
  std::atomic<std::uint64_t> decoded_{0};
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

struct Stream {
  Stream(std::unique_ptr<DecodedMusic> decoded, double countsPerSecond)
      : music(std::move(decoded)), clock(music->Rate(), countsPerSecond) {}
  ~Stream() {
    if (converter != nullptr) SDL_FreeAudioStream(converter);
  }

  std::unique_ptr<DecodedMusic> music;
  SDL_AudioStream* converter = nullptr;  // file rate -> device rate; null without a device
  MusicStreamClock clock;
  std::uint64_t startFrame = 0;  // where playing starts (or started)
  bool playing = false;
  // Kept by the audio callback while playing.
  std::uint64_t readFrame = 0;  // next frame for the converter
  double pushedFrames = 0.0;    // handed to the converter since playing started
};

struct Output {
  bool open = false;
  bool subsystem = false;     // SDL's audio subsystem counted as started
  SDL_AudioDeviceID device = 0;
  bool followDevice = false;  // a real device's pace steers the positions
  int rate = 44100;
  std::string driver;
  std::mutex mutex;           // the streams, also against the audio callback
  std::map<MusicHandle, std::unique_ptr<Stream>> streams;
  MusicHandle next = 1;
  std::vector<std::int32_t> mix;
  std::vector<std::int16_t> chunk;
  std::vector<std::int16_t> source;
};

Output g_output;

void Begin(Stream& stream) {
  stream.playing = true;
  stream.readFrame = stream.startFrame;
  stream.pushedFrames = 0.0;
  if (stream.converter != nullptr) SDL_AudioStreamClear(stream.converter);
  stream.clock.Start(PerformanceCounter());
}

// Hands file frames to the converter until it holds `bytes` of device audio.
void FillConverter(Stream& stream, int bytes) {
  DecodedMusic& music = *stream.music;
  std::vector<std::int16_t>& source = g_output.source;
  source.resize(static_cast<std::size_t>(kConverterFrames) * 2);
  while (SDL_AudioStreamAvailable(stream.converter) < bytes) {
    const std::uint64_t count = std::min<std::uint64_t>(kConverterFrames, music.Length() - stream.readFrame);
    music.Copy(stream.readFrame, count, source.data());
    if (SDL_AudioStreamPut(stream.converter, source.data(), static_cast<int>(count * kBytesPerFrame)) != 0) return;
    stream.pushedFrames += static_cast<double>(count);
    stream.readFrame += count;
    if (stream.readFrame >= music.Length()) stream.readFrame = 0;  // loop
  }
}

void SDLCALL MixStreams(void*, Uint8* out, int bytes) {
  std::lock_guard<std::mutex> lock(g_output.mutex);
  const int frames = bytes / kBytesPerFrame;
  std::vector<std::int32_t>& mix = g_output.mix;
  std::vector<std::int16_t>& chunk = g_output.chunk;
  mix.assign(static_cast<std::size_t>(frames) * 2, 0);
  chunk.resize(static_cast<std::size_t>(frames) * 2);
  const std::int64_t now = PerformanceCounter();
  for (auto& entry : g_output.streams) {
    Stream& stream = *entry.second;
    if (!stream.playing || stream.converter == nullptr) continue;
    const double ratio = static_cast<double>(stream.music->Rate()) / g_output.rate;
    // What the converter still holds has not been played yet.
    const double buffered = SDL_AudioStreamAvailable(stream.converter) / kBytesPerFrame * ratio;
    if (g_output.followDevice) {
      stream.clock.OnDeviceChunk(stream.pushedFrames - buffered, frames * ratio, now);
    }
    FillConverter(stream, bytes);
    const int got = SDL_AudioStreamGet(stream.converter, chunk.data(), bytes);
    for (int i = 0; i < got / 2; ++i) mix[i] += chunk[i];
  }
  std::int16_t* samples = reinterpret_cast<std::int16_t*>(out);
  for (std::size_t i = 0; i < mix.size(); ++i) {
    samples[i] = static_cast<std::int16_t>(std::clamp<std::int32_t>(mix[i], -32768, 32767));
  }
}

SDL_AudioDeviceID OpenDevice(int sampleRate) {
  SDL_AudioSpec wanted{};
  wanted.freq = sampleRate;
  wanted.format = AUDIO_S16SYS;
  wanted.channels = 2;
  wanted.samples = kDeviceFrames;
  wanted.callback = MixStreams;
  SDL_AudioSpec obtained{};
  // No changes allowed: SDL converts to whatever the hardware takes.
  return SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
}

Stream* Find(MusicHandle handle) {
  auto found = g_output.streams.find(handle);
  return found == g_output.streams.end() ? nullptr : found->second.get();
}

}  // namespace

bool InitMusicOutput(int sampleRate) {
  if (g_output.open) return true;
  if (sampleRate <= 0) {
    g_error = "bad output rate " + std::to_string(sampleRate);
    return false;
  }
  g_output.rate = sampleRate;
  // Our own SIGINT/SIGTERM handlers end the run through the teardown.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  g_output.subsystem = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
  std::string reason = g_output.subsystem ? std::string() : SDL_GetError();
  if (g_output.subsystem) {
    g_output.device = OpenDevice(sampleRate);
    if (g_output.device == 0) reason = SDL_GetError();
  }
  if (g_output.device == 0) {
    // SDL never falls back to another driver by itself.
    SDL_AudioQuit();
    if (SDL_AudioInit("dummy") == 0) g_output.device = OpenDevice(sampleRate);
  }
  if (g_output.device != 0) {
    g_output.driver = SDL_GetCurrentAudioDriver();
    g_output.followDevice = g_output.driver != "dummy" && g_output.driver != "disk";
    SDL_PauseAudioDevice(g_output.device, 0);
  } else {
    g_output.driver = "clock";
    g_output.followDevice = false;
  }
  g_error = reason.empty() ? std::string() : "no audio device (" + reason + "), playing through " + g_output.driver;
  g_output.open = true;
  return true;
}

void FreeMusicOutput() {
  if (!g_output.open) return;
  if (g_output.device != 0) SDL_CloseAudioDevice(g_output.device);  // waits for the callback
  g_output.device = 0;
  std::map<MusicHandle, std::unique_ptr<Stream>> streams;
  {
    std::lock_guard<std::mutex> lock(g_output.mutex);
    streams.swap(g_output.streams);
  }
  streams.clear();
  if (g_output.subsystem) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  } else {
    SDL_AudioQuit();
  }
  g_output.subsystem = false;
  g_output.open = false;
  g_output.driver.clear();
}

std::string MusicOutputDriver() { return g_output.driver; }

MusicHandle CreateLoopingMusicStream(const std::string& path) {
  if (!g_output.open) {
    g_error = "the audio output is not open";
    return 0;
  }
  std::unique_ptr<DecodedMusic> music = DecodedMusic::Open(path, g_error);
  if (!music) return 0;
  auto stream = std::make_unique<Stream>(std::move(music), static_cast<double>(PerformanceFrequency()));
  if (g_output.device != 0) {
    stream->converter =
        SDL_NewAudioStream(AUDIO_S16SYS, 2, stream->music->Rate(), AUDIO_S16SYS, 2, g_output.rate);
    if (stream->converter == nullptr) {
      g_error = path + ": " + SDL_GetError();
      return 0;
    }
  }
  std::lock_guard<std::mutex> lock(g_output.mutex);
  const MusicHandle handle = g_output.next++;
  g_output.streams[handle] = std::move(stream);
  return handle;
}

bool FreeMusicStream(MusicHandle handle) {
  std::unique_ptr<Stream> stream;
  {
    std::lock_guard<std::mutex> lock(g_output.mutex);
    auto found = g_output.streams.find(handle);
    if (found == g_output.streams.end()) return false;
    stream = std::move(found->second);
    g_output.streams.erase(found);
  }
  return true;  // the decoder stops as the stream goes
}

std::int64_t MusicLengthBytes(MusicHandle handle) {
  std::lock_guard<std::mutex> lock(g_output.mutex);
  const Stream* stream = Find(handle);
  return stream == nullptr ? -1 : static_cast<std::int64_t>(stream->music->Length()) * kBytesPerFrame;
}

std::int64_t MusicSecondsToBytes(MusicHandle handle, double seconds) {
  std::lock_guard<std::mutex> lock(g_output.mutex);
  const Stream* stream = Find(handle);
  if (stream == nullptr) return -1;
  if (!(seconds > 0.0)) return 0;
  return static_cast<std::int64_t>(std::floor(seconds * stream->music->Rate())) * kBytesPerFrame;
}

double MusicBytesToSeconds(MusicHandle handle, std::int64_t bytes) {
  std::lock_guard<std::mutex> lock(g_output.mutex);
  const Stream* stream = Find(handle);
  if (stream == nullptr || bytes < 0) return -1.0;
  return static_cast<double>(bytes) / (static_cast<double>(stream->music->Rate()) * kBytesPerFrame);
}

bool SetMusicPosition(MusicHandle handle, std::int64_t bytes) {
  std::lock_guard<std::mutex> lock(g_output.mutex);
  Stream* stream = Find(handle);
  if (stream == nullptr || bytes < 0) return false;
  const std::uint64_t frame = static_cast<std::uint64_t>(bytes) / kBytesPerFrame;
  if (frame >= stream->music->Length()) return false;
  stream->startFrame = frame;
  if (stream->playing) Begin(*stream);
  return true;
}

bool PlayMusic(MusicHandle handle) {
  std::lock_guard<std::mutex> lock(g_output.mutex);
  Stream* stream = Find(handle);
  if (stream == nullptr) return false;
  if (!stream->playing) Begin(*stream);
  return true;
}

namespace {

std::uint64_t PlayingFrame(Stream& stream) {
  std::uint64_t frame = stream.startFrame;
  if (stream.playing) {
    const double played = stream.clock.Position(PerformanceCounter());
    frame = (frame + static_cast<std::uint64_t>(played)) % stream.music->Length();
  }
  return frame;
}

}  // namespace

bool PauseMusic(MusicHandle handle) {
  std::lock_guard<std::mutex> lock(g_output.mutex);
  Stream* stream = Find(handle);
  if (stream == nullptr) return false;
  if (!stream->playing) return true;
  stream->startFrame = PlayingFrame(*stream);
  stream->playing = false;
  if (stream->converter != nullptr) SDL_AudioStreamClear(stream->converter);
  return true;
}

std::int64_t MusicPosition(MusicHandle handle) {
  std::lock_guard<std::mutex> lock(g_output.mutex);
  Stream* stream = Find(handle);
  if (stream == nullptr) return -1;
  return static_cast<std::int64_t>(PlayingFrame(*stream)) * kBytesPerFrame;
}

bool DecodeMp3File(const std::string& path, std::vector<std::int16_t>& interleavedStereo, int& sampleRate) {
  interleavedStereo.clear();
  sampleRate = 0;
  std::unique_ptr<DecodedMusic> music = DecodedMusic::Open(path, g_error);
  if (!music) return false;
  music->Finish();
  interleavedStereo.resize(music->Length() * 2);
  music->Copy(0, music->Length(), interleavedStereo.data());
  sampleRate = music->Rate();
  return true;
}

std::string MusicError() { return g_error; }

}  // namespace platform
