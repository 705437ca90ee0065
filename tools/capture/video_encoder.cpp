#include "capture/video_encoder.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace {

std::vector<std::string> Arguments(const VideoSettings& s) {
  const std::string size = std::to_string(s.width) + "x" + std::to_string(s.height);
  std::vector<std::string> args = {"ffmpeg", "-hide_banner", "-loglevel", "error", "-nostdin", "-y",
                                   // the frames, bottom row first as GL reads them
                                   "-f", "rawvideo", "-pixel_format", "rgb24", "-video_size", size,
                                   "-framerate", std::to_string(s.fps), "-i", "pipe:0"};
  if (!s.soundPath.empty()) args.insert(args.end(), {"-i", s.soundPath, "-map", "0:v:0", "-map", "1:a:0"});
  args.insert(args.end(), {"-vf", "vflip", "-c:v", "libx264", "-preset", "veryfast", "-crf", "18", "-pix_fmt",
                           "yuv420p", "-movflags", "+faststart"});
  if (!s.soundPath.empty()) args.insert(args.end(), {"-c:a", "aac", "-b:a", "192k", "-shortest"});
  args.push_back(s.path);
  return args;
}

// Writes everything, retrying short writes and interrupted calls.
bool WriteAll(int fd, const unsigned char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

}  // namespace

std::string VideoEncoder::CommandLine(const VideoSettings& settings) {
  std::string line;
  for (const std::string& arg : Arguments(settings)) line += (line.empty() ? "" : " ") + arg;
  return line;
}

VideoEncoder::~VideoEncoder() {
  std::string ignored;
  Close(ignored);
}

bool VideoEncoder::Open(const VideoSettings& settings, std::string& error) {
  // A dead ffmpeg must show up as a failed write, not end the capture.
  ::signal(SIGPIPE, SIG_IGN);
  const std::vector<std::string> args = Arguments(settings);
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);

  int frames[2];
  int status[2];  // reports a failed exec back to us; closes by itself on success
  if (::pipe2(frames, O_CLOEXEC) != 0) {
    error = std::string("couldn't start ffmpeg: ") + std::strerror(errno);
    return false;
  }
  if (::pipe2(status, O_CLOEXEC) != 0) {
    error = std::string("couldn't start ffmpeg: ") + std::strerror(errno);
    ::close(frames[0]);
    ::close(frames[1]);
    return false;
  }
  const pid_t child = ::fork();
  if (child == 0) {
    ::setpgid(0, 0);
    ::dup2(frames[0], STDIN_FILENO);
    ::execvp(argv[0], argv.data());
    const int code = errno;
    (void)!::write(status[1], &code, sizeof code);
    ::_exit(127);
  }
  ::close(frames[0]);
  ::close(status[1]);
  if (child < 0) {
    error = std::string("couldn't start ffmpeg: ") + std::strerror(errno);
    ::close(frames[1]);
    ::close(status[0]);
    return false;
  }
  int execError = 0;
  ssize_t got;
  do {
    got = ::read(status[0], &execError, sizeof execError);
  } while (got < 0 && errno == EINTR);
  ::close(status[0]);
  if (got == static_cast<ssize_t>(sizeof execError)) {
    ::waitpid(child, nullptr, 0);
    ::close(frames[1]);
    error = execError == ENOENT ? "ffmpeg is not installed (Debian package ffmpeg; scripts/install-deps.sh)"
                                : std::string("couldn't run ffmpeg: ") + std::strerror(execError);
    return false;
  }
  child_ = child;
  pipe_ = frames[1];
  broken_ = false;
  return true;
}

bool VideoEncoder::Write(const Image& picture) {
  if (pipe_ < 0 || broken_) return false;
  if (!WriteAll(pipe_, picture.pixels.get(), picture.Bytes())) broken_ = true;
  return !broken_;
}

bool VideoEncoder::Close(std::string& error) {
  if (child_ < 0) return true;
  if (pipe_ >= 0) ::close(pipe_);
  pipe_ = -1;
  int status = 0;
  pid_t reaped;
  do {
    reaped = ::waitpid(child_, &status, 0);
  } while (reaped < 0 && errno == EINTR);
  child_ = -1;
  if (reaped < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    error = "ffmpeg failed (" +
            (reaped >= 0 && WIFEXITED(status) ? "exit status " + std::to_string(WEXITSTATUS(status))
                                              : std::string("ended by a signal")) +
            ")";
    return false;
  }
  if (broken_) {
    error = "ffmpeg stopped taking frames";
    return false;
  }
  return true;
}
