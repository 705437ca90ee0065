#include "demo/timeline_clock.h"

std::unique_ptr<MusicClock> MusicClock::Open(const std::string& path, std::string& error) {
  if (!platform::InitMusicOutput()) {
    error = "no audio output: " + platform::MusicError();
    return nullptr;
  }
  const platform::MusicHandle stream = platform::CreateLoopingMusicStream(path);
  if (stream == 0) {
    error = platform::MusicError();
    platform::FreeMusicOutput();
    return nullptr;
  }
  return std::unique_ptr<MusicClock>(new MusicClock(stream));
}

void MusicClock::Start(double seconds) {
  if (released_) return;
  // A refused position (beyond the end) leaves the stream at its start; playing on is
  // still better than silence.
  platform::SetMusicPosition(stream_, platform::MusicSecondsToBytes(stream_, seconds));
  platform::PlayMusic(stream_);
}

double MusicClock::Seconds() {
  if (released_) return 0.0;
  const double seconds = platform::MusicBytesToSeconds(stream_, platform::MusicPosition(stream_));
  return seconds < 0.0 ? 0.0 : seconds;
}

void MusicClock::Release() {
  if (released_) return;
  released_ = true;
  platform::FreeMusicStream(stream_);
  platform::FreeMusicOutput();
}
