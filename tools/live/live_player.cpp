#include "live/live_player.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <thread>

#include "app/archive.h"
#include "app/data_folder.h"
#include "base/log.h"
#include "assets/image.h"
#include "capture/sheet_labels.h"
#include "demo/demo_controller.h"
#include "live/live_reload.h"
#include "platform/gl.h"
#include "platform/signals.h"
#include "scenes/assembling_scene.h"

namespace {

constexpr char kTitle[] = "drift-live :: Drift by Halcyra";
constexpr double kNoticeSeconds = 5.0;
constexpr double kBrokenCheckSeconds = 1.0;

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

const char* ShortPassName(FramePass pass) {
  switch (pass) {
    case FramePass::kGlow: return "glow";
    case FramePass::kShadow: return "shadow";
    case FramePass::kOpaque: return "opaque";
    case FramePass::kTranslucent: return "transl";
    case FramePass::kGlowAdded: return "glow+";
    case FramePass::kBlur: return "blur";
    case FramePass::kComposite: return "comp";
    case FramePass::kOverlays: return "overlay";
  }
  return "?";
}

}  // namespace

LivePlayer::LivePlayer() = default;

LivePlayer::~LivePlayer() { Stop(); }

int LivePlayer::Run(const LiveOptions& options) {
  std::string error;
  if (!Start(options, error)) {
    std::fprintf(stderr, "drift-live: %s\n", error.c_str());
    if (commands_ != nullptr) Answer(ErrorAnswer(error));
    Stop();
    return 1;
  }
  while (!quit_) Tick();
  Stop();
  return 0;
}

bool LivePlayer::Start(const LiveOptions& options, std::string& error) {
  options_ = options;
  platform::InstallStopSignalHandlers();
  // One log for the whole run: every reload makes a new controller, which would start
  // the file afresh.
  OpenLog();
  HoldLog(true);
  SetLogEcho([this](const char* line) {
    const std::string text = line;
    if (text.rfind("error:", 0) == 0) error_ = text;
    // The editing keys' lines (and whatever else the demo logs while playing) are
    // mirrored for the author; with the command channel, standard output is its answers'.
    std::fprintf(options_.commands ? stderr : stdout, "%s\n", line);
    std::fflush(options_.commands ? stderr : stdout);
  });
  if (options.commands) commands_ = std::make_unique<CommandInput>();

  std::string data = options.data.empty() ? ProgramFolder() + "data" : options.data;
  std::error_code code;
  if (std::filesystem::is_directory(data, code)) {
    dataFolder_ = data.back() == '/' ? data : data + "/";
    watchable_ = true;
  } else if (std::filesystem::is_regular_file(data, code)) {
    privateFolder_ = CreateDataFolder();
    if (privateFolder_.empty()) {
      error = "couldn't create a data folder under $TMPDIR";
      return false;
    }
    std::vector<std::string> notes;
    UnpackArchive(data, privateFolder_, notes);
    for (const std::string& note : notes) WriteLog("%s", note.c_str());
    dataFolder_ = privateFolder_;
  } else {
    error = "no data folder or archive at " + data;
    return false;
  }

  if (!window_.CreateWindowed(this, this, options.width, options.height, kTitle)) {
    error = "couldn't open a window: " + platform::VideoError();
    return false;
  }
  window_.DrawableSize(windowWidth_, windowHeight_);
  if (!platform::FetchGlEntryPoints()) {
    error = "the GL driver lacks the entry points the demo needs";
    return false;
  }
  if (!session_.Open(dataFolder_, options.width, options.height, error)) return false;
  std::string fontError;
  if (!overlay_.Open(kLabelFont, fontError)) WriteLog("the overlay has no text: %s", fontError.c_str());
  transport_ = Transport(DemoTimeline::kMusicEnd);
  LoadEvents();

  if (platform::InitMusicOutput()) music_ = platform::CreateLoopingMusicStream(dataFolder_ + DemoController::kMusicFile);
  if (music_ == 0) WriteLog("no music (%s): the live player plays on its own clock", platform::MusicError().c_str());
  if (watchable_ && !watch_.Watch(dataFolder_, error)) {
    WriteLog("live reload is off: %s", error.c_str());
    watchable_ = false;
    error.clear();
  }

  if (options.loop) transport_.SetLoop(options.loopFrom, options.loopTo);
  transport_.playing = false;
  SeekTo(options.loop && options.at == 0.0 ? options.loopFrom : options.at);
  if (!options.paused) Play();
  return true;
}

void LivePlayer::Stop() {
  session_.Close();
  overlay_.Release();
  if (music_ != 0) platform::FreeMusicOutput();
  music_ = 0;
  window_.TearDown();
  if (!privateFolder_.empty()) RemoveDataFolder(privateFolder_);
  privateFolder_.clear();
  SetLogEcho({});
  HoldLog(false);
}

void LivePlayer::LoadEvents() {
  events_.clear();
  eventTimes_.clear();
  if (!session_.IsOpen()) return;
  events_ = session_.Controller().TimelineEvents();
  for (const TimelineEvent& event : events_) eventTimes_.push_back(event.seconds);
}

double LivePlayer::Now() const {
  if (onMusic_) {
    const double seconds = platform::MusicBytesToSeconds(music_, platform::MusicPosition(music_));
    // Past its end the music starts again; the timeline has ended there.
    if (seconds + 1.0 < playStartSeconds_) return transport_.End();
    return seconds;
  }
  return playStartSeconds_ + std::chrono::duration<double>(Clock::now() - playStartWall_).count();
}

void LivePlayer::StartMusicAt(double seconds) {
  playStartWall_ = Clock::now();
  playStartSeconds_ = seconds;
  lastPlayedSeconds_ = seconds;
  onMusic_ = false;
  if (music_ == 0) return;
  // The stream is decoded on a thread of its own: right after the start it may not
  // reach the time yet. Until the next seek the player then runs on its own clock,
  // silent, rather than on a position that is not the timeline's.
  if (platform::SetMusicPosition(music_, platform::MusicSecondsToBytes(music_, seconds))) {
    onMusic_ = platform::PlayMusic(music_);
  } else {
    platform::PauseMusic(music_);
  }
}

void LivePlayer::Play() {
  if (transport_.playing) return;
  transport_.playing = true;
  StartMusicAt(session_.Seconds());
}

void LivePlayer::Pause() {
  if (!transport_.playing) return;
  transport_.playing = false;
  if (music_ != 0) platform::PauseMusic(music_);
  // Paused, the picture is the grid frame's, exactly as drift-capture draws it.
  SeekTo(session_.Seconds());
}

void LivePlayer::SeekTo(double seconds) {
  if (!session_.IsOpen()) return;
  session_.SeekFrame(transport_.FrameAt(seconds));
  needsRender_ = true;
  if (transport_.playing) StartMusicAt(session_.Seconds());
}

void LivePlayer::StepFrames(long frames) {
  if (transport_.playing) Pause();
  const long base = session_.Frame() >= 0 ? session_.Frame() : transport_.FrameAt(session_.Seconds());
  SeekTo(Transport::SecondsOf(base + frames));
}

void LivePlayer::Tick() {
  const Clock::time_point start = Clock::now();
  if (platform::PumpEvents() == platform::PumpResult::kQuit || platform::StopRequested()) quit_ = true;
  if (commands_ != nullptr) {
    while (!quit_) {
      const std::optional<std::string> line = commands_->Poll();
      if (!line) break;
      HandleCommandLine(*line);
    }
    if (commands_->Ended()) quit_ = true;
  }
  if (quit_) return;
  WatchForChanges();

  if (transport_.playing && session_.IsOpen()) {
    const double now = Now();
    bool stop = false;
    const double next = transport_.Advance(now, stop);
    if (stop) {
      Pause();
      SeekTo(transport_.End());
    } else if (next != now) {
      SeekTo(next);  // the loop wraps
    } else if (now != lastPlayedSeconds_) {
      const float stepMs = static_cast<float>(std::max(0.0, now - lastPlayedSeconds_) * 1000.0);
      session_.PlayAt(now, stepMs);
      lastPlayedSeconds_ = now;
      needsRender_ = true;
    }
  } else if (session_.IsOpen() && session_.Controller().ManualCameraHeld()) {
    session_.RefreshView(static_cast<float>(frameMs_ > 0.0 ? frameMs_ : 16.7));
    needsRender_ = true;
  }
  const bool drew = needsRender_;
  Draw();
  // Paused with nothing to draw: the time is spent on the checkpoints later seeks will
  // start from, then the loop rests.
  if (!drew && !transport_.playing && session_.IsOpen() && !session_.Controller().ManualCameraHeld() &&
      session_.FillNextCheckpoint(transport_.FrameAt(transport_.End()))) {
    return;
  }
  if (!drew && MillisecondsSince(start) < 15.0) std::this_thread::sleep_for(std::chrono::milliseconds(15));
}

void LivePlayer::Draw() {
  window_.DrawableSize(windowWidth_, windowHeight_);
  if (needsRender_ && session_.IsOpen()) {
    const Clock::time_point start = Clock::now();
    if (overlayShown_) {
      passTimes_.clear();
      Clock::time_point last = start;
      session_.Render([this, &last](FramePass pass) {
        // Waiting for each pass to finish is what makes the figures mean anything; it
        // changes no pixel.
        glFinish();
        const Clock::time_point now = Clock::now();
        passTimes_.emplace_back(pass, std::chrono::duration<double, std::milli>(now - last).count());
        last = now;
      });
    } else {
      session_.Render();
    }
    frameMs_ = MillisecondsSince(start);
    needsRender_ = false;
  }
  DrawPictureOnScreen(session_.PictureTexture(),
                      PictureRect(windowWidth_, windowHeight_, session_.Width(), session_.Height()), windowWidth_,
                      windowHeight_);
  if (overlayShown_) {
    OverlayView view;
    view.lines = OverlayLines();
    view.error = error_;
    view.seconds = session_.Seconds();
    view.end = transport_.End();
    view.events = &events_;
    view.looping = transport_.Looping();
    view.loopFrom = transport_.LoopFrom();
    view.loopTo = transport_.LoopTo();
    overlay_.Draw(view, windowWidth_, windowHeight_);
  }
  window_.Present();
  const Clock::time_point now = Clock::now();
  presents_.push_back(now);
  while (!presents_.empty() && now - presents_.front() > std::chrono::seconds(1)) presents_.erase(presents_.begin());
}

std::vector<std::string> LivePlayer::OverlayLines() const {
  std::vector<std::string> lines;
  char text[512];
  const double seconds = session_.Seconds();
  const long frame = session_.Frame() >= 0 ? session_.Frame() : transport_.FrameAt(seconds);
  int used = std::snprintf(text, sizeof text, "%8.3f s  frame %ld  %s", seconds, frame,
                           transport_.playing ? "playing" : "paused");
  if (transport_.Looping() && used > 0 && used < static_cast<int>(sizeof text)) {
    std::snprintf(text + used, sizeof text - static_cast<std::size_t>(used), "  loop %.3f-%.3f s",
                  transport_.LoopFrom(), transport_.LoopTo());
  }
  lines.push_back(text);
  if (session_.IsOpen()) {
    const DemoController& controller = session_.Controller();
    const char* scene = AssemblingSceneClaims(static_cast<float>(seconds)) ? "assembling" : "breaking wall";
    const CameraSchedule& schedule = controller.Schedule();
    if (controller.ManualCameraHeld()) {
      std::snprintf(text, sizeof text, "scene %s  manual camera (F hands the view back)", scene);
    } else if (schedule.Size() > 0) {
      const AnimCamera& camera = schedule.At(schedule.Index());
      std::snprintf(text, sizeof text, "scene %s  camera %zu of %zu (id %d) until %.3f s", scene,
                    schedule.Index() + 1, schedule.Size(), camera.Id(), camera.endTime);
    } else {
      std::snprintf(text, sizeof text, "scene %s", scene);
    }
    lines.push_back(text);
  }
  std::string passes;
  for (const auto& entry : passTimes_) {
    std::snprintf(text, sizeof text, " %s %.1f", ShortPassName(entry.first), entry.second);
    passes += text;
  }
  std::snprintf(text, sizeof text, "frame %.1f ms  %zu fps  |%s", frameMs_, presents_.size(), passes.c_str());
  lines.push_back(text);
  if (!notice_.empty() && Clock::now() < noticeUntil_) lines.push_back(notice_);
  return lines;
}

void LivePlayer::WatchForChanges() {
  if (!watchable_) return;
  const double now = std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
  const std::vector<std::string> changed = RelevantChanges(watch_.Poll());
  for (const std::string& path : changed) {
    if (std::find(pendingChanges_.begin(), pendingChanges_.end(), path) == pendingChanges_.end()) {
      pendingChanges_.push_back(path);
    }
  }
  if (!changed.empty()) debounce_.Touch(now);
  // A file that failed to load is tried again now and then even when no change was
  // seen (a tree that was made anew), and once it loads, so does the content.
  if (!brokenFiles_.empty() && !debounce_.Pending() && now >= nextBrokenCheck_) {
    nextBrokenCheck_ = now + kBrokenCheckSeconds;
    std::string problem;
    if (CheckChangedFile(dataFolder_, brokenFiles_.front(), problem)) {
      std::string error;
      ReloadContent({}, error);
    }
    return;
  }
  if (!debounce_.Due(now) || pendingChanges_.empty()) return;
  std::vector<std::string> files;
  files.swap(pendingChanges_);
  std::string error;
  ReloadContent(files, error);
}

void LivePlayer::SetError(const std::string& error) {
  error_ = error;
  WriteLog("error: %s", error.c_str());
}

bool LivePlayer::ReloadContent(const std::vector<std::string>& changed, std::string& error) {
  const Clock::time_point start = Clock::now();
  // Files that failed before are checked again: a reload for another file must not
  // load a broken one.
  std::vector<std::string> check = brokenFiles_;
  for (const std::string& path : changed) {
    if (std::find(check.begin(), check.end(), path) == check.end()) check.push_back(path);
  }
  brokenFiles_.clear();
  for (const std::string& path : check) {
    std::string problem;
    if (!CheckChangedFile(dataFolder_, path, problem)) {
      brokenFiles_.push_back(path);
      if (error.empty()) error = problem;
    }
  }
  if (!error.empty()) {
    // The last good content stays on screen until the file loads again.
    SetError(error + " (the last good content stays)");
    return false;
  }

  // Textures, effects and materials alone go into the loaded content as they are (see
  // ReloadsInPlace): no loading, no replay.
  const bool inPlace = session_.IsOpen() && !changed.empty() &&
                       std::all_of(changed.begin(), changed.end(),
                                   [this](const std::string& path) { return ReloadsInPlace(dataFolder_, path); });
  if (inPlace) {
    for (const std::string& path : changed) {
      if (!ReloadInPlace(session_.Controller(), dataFolder_, path, error)) {
        SetError(error);
        return false;
      }
    }
    needsRender_ = true;
    error_.clear();
    ReportReload(changed.size(), "in place", start);
    return true;
  }

  const bool wasPlaying = transport_.playing;
  const bool manual = session_.IsOpen() && session_.Controller().ManualCameraHeld();
  const long frame = session_.Frame() >= 0 ? session_.Frame() : transport_.FrameAt(session_.Seconds());
  if (wasPlaying && music_ != 0) platform::PauseMusic(music_);
  error_.clear();
  if (!session_.Reload(error)) {
    if (!error_.empty()) error = error_ + " - " + error;
    SetError(error);
    return false;
  }
  if (manual) session_.Controller().HoldManualCamera(true);
  LoadEvents();
  session_.SeekFrame(frame);
  needsRender_ = true;
  if (wasPlaying) StartMusicAt(session_.Seconds());
  error_.clear();
  ReportReload(changed.size(), "all content", start);
  return true;
}

void LivePlayer::ReportReload(std::size_t files, const char* how, Clock::time_point start) {
  char text[160];
  std::snprintf(text, sizeof text, "reloaded (%zu changed file%s, %s) in %.0f ms", files, files == 1 ? "" : "s", how,
                MillisecondsSince(start));
  notice_ = text;
  noticeUntil_ = Clock::now() + std::chrono::milliseconds(static_cast<int>(kNoticeSeconds * 1000));
  WriteLog("%s", text);
}

void LivePlayer::Answer(const std::string& line) {
  std::fprintf(stdout, "%s\n", line.c_str());
  std::fflush(stdout);
}

void LivePlayer::HandleCommandLine(const std::string& line) {
  if (line.find_first_not_of(" \t\r") == std::string::npos) return;  // a blank line asks nothing
  std::string error;
  const std::optional<LiveCommand> command = ParseLiveCommand(line, error);
  Answer(command ? RunCommand(*command) : ErrorAnswer(error));
}

std::string LivePlayer::RunCommand(const LiveCommand& command) {
  const Clock::time_point start = Clock::now();
  const char* what = LiveCommandName(command.kind);
  auto ok = [&] { return OkAnswer(what, session_.Seconds(), MillisecondsSince(start)); };
  switch (command.kind) {
    case LiveCommand::kSeek:
      if (command.seconds > transport_.End()) {
        char text[96];
        std::snprintf(text, sizeof text, "seek: %.3f is after the end (%.3f)", command.seconds, transport_.End());
        return ErrorAnswer(text);
      }
      SeekTo(command.seconds);
      Draw();
      return ok();
    case LiveCommand::kPlay:
      Play();
      return ok();
    case LiveCommand::kPause:
      Pause();
      Draw();
      return ok();
    case LiveCommand::kStep:
      StepFrames(command.frames);
      Draw();
      return ok();
    case LiveCommand::kLoop:
      if (!transport_.SetLoop(command.loopFrom, command.loopTo)) return ErrorAnswer("loop: the loop lies outside the timeline");
      if (session_.Seconds() < transport_.LoopFrom() || session_.Seconds() >= transport_.LoopTo()) {
        SeekTo(transport_.LoopFrom());
        Draw();
      }
      return ok();
    case LiveCommand::kLoopOff:
      transport_.ClearLoop();
      return ok();
    case LiveCommand::kShot: {
      if (needsRender_) Draw();
      Image picture;
      if (!session_.ReadBack(picture) || !EncodePng(command.file, picture, PngCompression::kFast)) {
        return ErrorAnswer("shot: couldn't write " + command.file);
      }
      return ok();
    }
    case LiveCommand::kReload: {
      // What the watcher has seen and not yet reloaded is checked now too.
      std::vector<std::string> changed;
      if (watchable_) changed = RelevantChanges(watch_.Poll());
      for (const std::string& path : pendingChanges_) {
        if (std::find(changed.begin(), changed.end(), path) == changed.end()) changed.push_back(path);
      }
      pendingChanges_.clear();
      std::string error;
      if (!ReloadContent(changed, error)) return ErrorAnswer("reload: " + error);
      Draw();
      return ok();
    }
    case LiveCommand::kTime:
      return ok();
    case LiveCommand::kQuit:
      quit_ = true;
      return ok();
  }
  return ErrorAnswer("unknown command");
}

void LivePlayer::HandleAction(const KeyAction& action) {
  switch (action.kind) {
    case KeyAction::kNone: break;
    case KeyAction::kTogglePlay:
      if (transport_.playing) {
        Pause();
      } else {
        Play();
      }
      break;
    case KeyAction::kSeekBy: SeekTo(transport_.Clamp(session_.Seconds() + action.seconds)); break;
    case KeyAction::kPreviousEvent: SeekTo(Transport::PreviousEvent(eventTimes_, session_.Seconds())); break;
    case KeyAction::kNextEvent: SeekTo(Transport::NextEvent(eventTimes_, session_.Seconds())); break;
    case KeyAction::kStart: SeekTo(0.0); break;
    case KeyAction::kFrameBack:
      if (!transport_.playing) StepFrames(-1);
      break;
    case KeyAction::kFrameOn:
      if (!transport_.playing) StepFrames(1);
      break;
    case KeyAction::kLoopStart: transport_.SetLoopStart(session_.Seconds()); break;
    case KeyAction::kLoopEnd: transport_.SetLoopEnd(session_.Seconds()); break;
    case KeyAction::kLoopClear: transport_.ClearLoop(); break;
    case KeyAction::kToggleOverlay: overlayShown_ = !overlayShown_; break;
    case KeyAction::kToggleManualCamera:
      if (session_.IsOpen()) {
        DemoController& controller = session_.Controller();
        const bool hold = !controller.ManualCameraHeld();
        controller.HoldManualCamera(hold);
        // Back on the schedule, the frame is the timeline's own again.
        if (!hold) session_.Invalidate();
        SeekTo(session_.Seconds());
      }
      break;
    case KeyAction::kEditingKey: break;
    case KeyAction::kQuit: quit_ = true; break;
  }
}

void LivePlayer::Key(int virtualKey) {
  const KeyAction action = ActionForKey(virtualKey, platform::LastKeyHadShift());
  if (action.kind == KeyAction::kEditingKey && session_.IsOpen()) session_.Controller().Key(virtualKey);
  HandleAction(action);
}

void LivePlayer::Click() {
  if (clickTaken_) {
    clickTaken_ = false;
    return;
  }
  if (session_.IsOpen()) session_.Controller().Click();
}

void LivePlayer::PointerDown(int x, int y) {
  const LiveRect strip = StripRect(windowWidth_, windowHeight_);
  if (!overlayShown_ || !strip.Contains(x, y)) return;
  clickTaken_ = true;
  scrubbing_ = true;
  SeekTo(StripSecondsAt(strip, x, transport_.End()));
}

void LivePlayer::PointerMove(int x, int, bool leftHeld) {
  if (!scrubbing_ || !leftHeld) return;
  SeekTo(StripSecondsAt(StripRect(windowWidth_, windowHeight_), x, transport_.End()));
}

void LivePlayer::PointerUp(int, int) { scrubbing_ = false; }

void LivePlayer::Resized(int width, int height) {
  windowWidth_ = width;
  windowHeight_ = height;
}
