#include "capture/capture_run.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "app/data_folder.h"
#include "capture/capture_session.h"
#include "capture/frame_folder.h"
#include "capture/frame_grid.h"
#include "capture/frame_hashes.h"
#include "capture/progress.h"
#include "capture/quiet_loading.h"
#include "capture/soundtrack.h"
#include "capture/video_encoder.h"
#include "demo/demo_controller.h"
#include "demo/timeline.h"
#include "platform/music_stream.h"
#include "platform/signals.h"

namespace {

constexpr char kArchiveName[] = "demodat";
constexpr char kSoundFile[] = "capture_sound.wav";
constexpr char kLogFile[] = "log.txt";

void Say(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Say(const char* format, ...) {
  std::fputs("drift-capture: ", stderr);
  va_list args;
  va_start(args, format);
  std::vfprintf(stderr, format, args);
  va_end(args);
  std::fputc('\n', stderr);
}

// A picture as the capture holds them: 24 bits, bottom-up. Frames read back from an
// earlier run's PNG files are converted to that.
bool LoadFrame(const std::string& path, Image& picture) {
  Image decoded;
  if (!DecodePng(path, decoded)) return false;
  if (decoded.bitsPerPixel == 24) {
    picture = std::move(decoded);
    return true;
  }
  if (decoded.bitsPerPixel != 32) return false;
  picture = Image::Allocate(decoded.width, decoded.height, 24);
  const std::size_t pixels = static_cast<std::size_t>(decoded.width) * decoded.height;
  for (std::size_t i = 0; i < pixels; ++i) std::copy_n(decoded.pixels.get() + i * 4, 3, picture.pixels.get() + i * 3);
  return true;
}

// The demo's soundtrack, decoded as the demo plays it. A data set whose music cannot be
// read gets a line saying so, as the demo's log would: the pictures are the same (the
// demo then runs on the frame clock, which the capture's clock is), only the sound is
// missing.
bool LoadMusic(const std::string& dataFolder, OutputKind kind, std::vector<std::int16_t>& music, int& rate) {
  if (platform::DecodeMp3File(dataFolder + DemoController::kMusicFile, music, rate)) return true;
  Say("no soundtrack (%s): %s", platform::MusicError().c_str(),
      kind == OutputKind::kVideo ? "the video is silent" : "the demo would play without sound");
  return false;
}

// The soundtrack of the section into the data folder, for the video. Empty (with a
// line saying so) when it cannot be written: the video is then silent.
std::string PrepareSound(const std::string& dataFolder, const FrameGrid& grid, const std::vector<std::int16_t>& music,
                         int rate) {
  const SoundSection sound =
      CutSoundSection(music, rate, grid.Seconds(grid.first), grid.Seconds(grid.end), DemoTimeline::kMusicEnd);
  const std::string path = dataFolder + kSoundFile;
  std::string error;
  if (!WriteWav(path, sound, error)) {
    Say("%s: the video is silent", error.c_str());
    return "";
  }
  return path;
}

// Everything one capture writes, and what it has to remember between frames.
class CaptureRun {
 public:
  CaptureRun(const CaptureOptions& options, const LabelRenderer& renderLabel)
      : options_(options), renderLabel_(renderLabel), kind_(OutputKindOf(options)),
        grid_(FrameGrid::ForSection(options.fps, options.from, options.to)) {}

  int Run();

 private:
  bool PrepareOutputs();
  bool PrepareHashes();
  bool Capture(long frame);
  bool Finish(bool interrupted);
  void PlaceOnSheet(long frame, const Image& picture);

  const CaptureOptions& options_;
  const LabelRenderer& renderLabel_;
  OutputKind kind_;
  FrameGrid grid_;
  long start_ = 0;                // the first frame this run draws
  std::vector<long> toRender_;    // in ascending order
  std::vector<long> sheetFrames_;  // per cell
  std::unique_ptr<ContactSheet> sheet_;
  FrameFolder folder_;
  VideoEncoder video_;
  HashFileWriter hashes_;
  CaptureSession session_;
  Image picture_;
  bool failed_ = false;
};

bool CaptureRun::PrepareOutputs() {
  std::string error;
  start_ = grid_.first;
  if (kind_ == OutputKind::kFrameFolder) {
    if (!folder_.Open(options_.out, options_.width, options_.height, options_.fps, options_.resume, error)) {
      Say("%s", error.c_str());
      return false;
    }
    if (options_.resume) {
      start_ = folder_.FirstMissing(grid_);
      Say("resuming at frame %ld (%ld of %ld frames were there)", start_, start_ - grid_.first, grid_.Count());
    }
  }
  if (!options_.contactSheet.empty()) {
    sheetFrames_ = options_.at.empty() ? SheetFrames(grid_, options_.count) : SheetFramesAt(grid_, options_.at);
    sheet_ = std::make_unique<ContactSheet>(static_cast<int>(sheetFrames_.size()), options_.width, options_.height);
  }
  if (kind_ == OutputKind::kNone && !options_.contactSheet.empty()) {
    std::set<long> unique(sheetFrames_.begin(), sheetFrames_.end());
    toRender_.assign(unique.begin(), unique.end());
  } else {
    for (long frame = start_; frame < grid_.end; ++frame) toRender_.push_back(frame);
  }
  // A resumed capture's sheet takes the frames already written from their files.
  for (std::size_t cell = 0; cell < sheetFrames_.size(); ++cell) {
    const long frame = sheetFrames_[cell];
    if (kind_ != OutputKind::kFrameFolder || frame >= start_) continue;
    Image earlier;
    if (!LoadFrame(folder_.PathOf(frame), earlier)) {
      Say("couldn't read back %s for the contact sheet", folder_.PathOf(frame).c_str());
      return false;
    }
    sheet_->Place(static_cast<int>(cell), earlier, SheetLabel(grid_.Seconds(frame)), renderLabel_);
  }
  return PrepareHashes();
}

bool CaptureRun::PrepareHashes() {
  if (options_.hashes.empty()) return true;
  // Lines of the frames already captured: from the earlier hash file, or recomputed
  // from the frames' files where it lacks them.
  std::vector<HashLine> kept;
  if (start_ > grid_.first) {
    const std::map<long, HashLine> earlier = ReadHashFile(options_.hashes);
    for (long frame = grid_.first; frame < start_; ++frame) {
      const auto found = earlier.find(frame);
      if (found != earlier.end()) {
        kept.push_back(found->second);
        continue;
      }
      Image picture;
      if (!LoadFrame(folder_.PathOf(frame), picture)) {
        Say("couldn't read back %s for its hash", folder_.PathOf(frame).c_str());
        return false;
      }
      kept.push_back(HashLine{frame, grid_.Seconds(frame), PixelHash(picture)});
    }
  }
  std::string error;
  if (!hashes_.Create(options_.hashes, error)) {
    Say("%s", error.c_str());
    return false;
  }
  for (const HashLine& line : kept) {
    if (!hashes_.Write(line)) {
      Say("couldn't write to %s", options_.hashes.c_str());
      return false;
    }
  }
  return true;
}

void CaptureRun::PlaceOnSheet(long frame, const Image& picture) {
  for (std::size_t cell = 0; cell < sheetFrames_.size(); ++cell) {
    if (sheetFrames_[cell] == frame) {
      sheet_->Place(static_cast<int>(cell), picture, SheetLabel(grid_.Seconds(frame)), renderLabel_);
    }
  }
}

bool CaptureRun::Capture(long frame) {
  session_.UpdateTo(frame);
  if (!session_.Render(picture_)) {
    Say("couldn't draw frame %ld", frame);
    return false;
  }
  std::string error;
  if (!options_.hashes.empty() && !hashes_.Write(HashLine{frame, grid_.Seconds(frame), PixelHash(picture_)})) {
    Say("couldn't write to %s", options_.hashes.c_str());
    return false;
  }
  if (kind_ == OutputKind::kFrameFolder && !folder_.Write(frame, picture_, error)) {
    Say("%s", error.c_str());
    return false;
  }
  if (kind_ == OutputKind::kVideo && !video_.Write(picture_)) {
    Say("ffmpeg stopped taking frames");
    return false;
  }
  if (sheet_ != nullptr) PlaceOnSheet(frame, picture_);
  return true;
}

int CaptureRun::Run() {
  if (!PrepareOutputs()) return kCaptureFailed;
  const std::string archive = options_.data.empty() ? ProgramFolder() + kArchiveName : options_.data;
  Say("loading %s at %dx%d", archive.c_str(), options_.width, options_.height);
  std::string error;
  bool opened;
  {
    QuietLoading quiet;
    opened = session_.Open(archive, options_.width, options_.height, grid_, error);
  }
  if (!opened) {
    Say("%s", error.c_str());
    // The log holds the reason (the content that is missing, the effect that did not
    // compile); it is short when loading fails.
    std::ifstream log(kLogFile);
    for (std::string line; std::getline(log, line);) Say("%s: %s", kLogFile, line.c_str());
    return kCaptureFailed;
  }
  for (const std::string& note : session_.UnpackNotes()) Say("%s", note.c_str());
  // Which GL draws matters to anyone comparing runs: a driver, or the software renderer.
  Say("drawing with %s", session_.RendererName().c_str());
  std::vector<std::int16_t> music;
  int rate = 0;
  const bool haveMusic = LoadMusic(session_.DataFolder(), kind_, music, rate);
  if (kind_ == OutputKind::kVideo) {
    VideoSettings video{options_.out, options_.width, options_.height, options_.fps,
                        haveMusic ? PrepareSound(session_.DataFolder(), grid_, music, rate) : ""};
    if (!video_.Open(video, error)) {
      Say("%s", error.c_str());
      return kCaptureFailed;
    }
  }

  if (!toRender_.empty() && toRender_.front() > 0) {
    Say("running the timeline from 0 to %.3f s", grid_.Seconds(toRender_.front()));
  }
  Progress progress(static_cast<long>(toRender_.size()), "frames");
  bool interrupted = false;
  for (long frame : toRender_) {
    if (platform::StopRequested()) {
      interrupted = true;
      break;
    }
    if (!Capture(frame)) {
      failed_ = true;
      break;
    }
    progress.Step();
  }
  progress.Finish();
  return Finish(interrupted) ? (interrupted ? kCaptureInterrupted : kCaptureDone) : kCaptureFailed;
}

bool CaptureRun::Finish(bool interrupted) {
  std::string error;
  bool ok = !failed_;
  if (kind_ == OutputKind::kVideo && !video_.Close(error)) {
    Say("%s", error.c_str());
    ok = false;
  }
  if (!options_.hashes.empty() && !hashes_.Close()) {
    Say("couldn't write %s", options_.hashes.c_str());
    ok = false;
  }
  if (sheet_ != nullptr && ok && !interrupted) {
    if (EncodePng(options_.contactSheet, sheet_->Picture())) {
      Say("contact sheet of %zu frames in %s", sheetFrames_.size(), options_.contactSheet.c_str());
    } else {
      ok = false;
    }
  }
  const GlErrorCount& gl = session_.GlErrors();
  Say("GL errors: %ld in %ld checks", gl.errors, gl.checks);
  for (const std::string& line : gl.first) Say("%s", line.c_str());
  session_.Close();
  if (interrupted) {
    Say("interrupted; the frames written so far are complete%s",
        kind_ == OutputKind::kFrameFolder ? ": run again with --resume to continue" : "");
  } else if (ok && kind_ != OutputKind::kNone) {
    Say("wrote %s", options_.out.c_str());
  }
  return ok;
}

}  // namespace

int RunCapture(const CaptureOptions& options, const LabelRenderer& renderLabel) {
  platform::InstallStopSignalHandlers();
  CaptureRun run(options, renderLabel);
  return run.Run();
}
