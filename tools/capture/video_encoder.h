#pragma once
// A video file written by Debian's ffmpeg program: raw RGB frames go down a pipe and
// are encoded as H.264, with a sound file muxed in from its start. ffmpeg runs in a
// process group of its own, so Ctrl-C at the terminal reaches only the capture, which
// then closes the pipe and lets ffmpeg finish a playable file.
#include <sys/types.h>

#include <string>

#include "assets/image.h"

struct VideoSettings {
  std::string path;       // ends in .mp4
  int width = 0;          // even
  int height = 0;         // even
  int fps = 60;
  std::string soundPath;  // a WAV file starting at the video's first frame; empty: none
};

class VideoEncoder {
 public:
  VideoEncoder() = default;
  VideoEncoder(const VideoEncoder&) = delete;
  VideoEncoder& operator=(const VideoEncoder&) = delete;
  ~VideoEncoder();

  // Starts ffmpeg; false with error set when it cannot be started (not installed).
  bool Open(const VideoSettings& settings, std::string& error);
  // One frame of the settings' size, 24 bits, rows bottom-up. False when ffmpeg has
  // stopped taking frames.
  bool Write(const Image& picture);
  // Ends the stream and waits for ffmpeg; false with error set when it failed.
  bool Close(std::string& error);

  // The command line Open runs (for messages and tests).
  static std::string CommandLine(const VideoSettings& settings);

 private:
  pid_t child_ = -1;
  int pipe_ = -1;
  bool broken_ = false;
};
