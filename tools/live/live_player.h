#pragma once
// drift-live: the demo in a resizable window with pause, exact seeking, loops, live
// reload of the data tree, an overlay with a timeline strip, and a command channel on
// standard input (docs/live.md).
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "anim/show_times.h"
#include "live/live_commands.h"
#include "live/live_options.h"
#include "live/live_overlay.h"
#include "live/live_session.h"
#include "live/transport.h"
#include "platform/file_watch.h"
#include "platform/input.h"
#include "platform/music_stream.h"
#include "platform/window.h"

class LivePlayer final : public platform::IKeyboardCallback, public platform::IPointerCallback {
 public:
  LivePlayer();
  ~LivePlayer();
  LivePlayer(const LivePlayer&) = delete;
  LivePlayer& operator=(const LivePlayer&) = delete;

  // Plays until Escape, the window closing, "quit" or the end of the command input.
  // The exit status: 0, or 1 when the demo could not be started.
  int Run(const LiveOptions& options);

  // The window's input.
  void Click() override;
  void Key(int virtualKey) override;
  void PointerDown(int x, int y) override;
  void PointerMove(int x, int y, bool leftHeld) override;
  void PointerUp(int x, int y) override;
  void Resized(int width, int height) override;

 private:
  using Clock = std::chrono::steady_clock;

  bool Start(const LiveOptions& options, std::string& error);
  void Stop();
  void Tick();
  void Play();
  void Pause();
  // An exact seek to the grid frame nearest to seconds; the music follows.
  void SeekTo(double seconds);
  void StepFrames(long frames);
  void StartMusicAt(double seconds);
  void HandleAction(const KeyAction& action);
  void HandleCommandLine(const std::string& line);
  std::string RunCommand(const LiveCommand& command);
  void WatchForChanges();
  // Loads the content again after a change (or on request) and returns to the same
  // time, loop and pause state. False, with the error shown and logged, when it failed.
  bool ReloadContent(const std::vector<std::string>& changed, std::string& error);
  void ReportReload(std::size_t files, const char* how, Clock::time_point start);
  void Draw();
  std::vector<std::string> OverlayLines() const;
  double Now() const;
  void Answer(const std::string& line);
  void SetError(const std::string& error);
  void LoadEvents();

  LiveOptions options_;
  std::string dataFolder_;     // ends with '/'
  std::string privateFolder_;  // an archive's unpacked copy, removed at the end
  bool watchable_ = false;
  platform::GlWindow window_;
  LiveSession session_;
  Transport transport_{show::kMusicEnd};
  LiveOverlay overlay_;
  platform::FileWatch watch_;
  Debounce debounce_;
  std::vector<std::string> pendingChanges_;
  std::vector<std::string> brokenFiles_;  // changed files that did not load yet
  double nextBrokenCheck_ = 0.0;
  std::unique_ptr<CommandInput> commands_;
  platform::MusicHandle music_ = 0;
  bool onMusic_ = false;  // the music gives the time of this stretch of playing

  // While playing, the timeline's time is the music's (or this clock's without it).
  Clock::time_point playStartWall_;
  double playStartSeconds_ = 0.0;
  double lastPlayedSeconds_ = 0.0;

  std::vector<TimelineEvent> events_;
  std::vector<double> eventTimes_;
  bool overlayShown_ = true;
  bool needsRender_ = true;
  bool quit_ = false;
  bool scrubbing_ = false;
  bool clickTaken_ = false;
  int windowWidth_ = 0;
  int windowHeight_ = 0;
  std::string error_;
  std::string notice_;
  Clock::time_point noticeUntil_;

  // The overlay's figures: the time of each pass of the last frame drawn, its total,
  // and the frames shown in the last second.
  std::vector<std::pair<FramePass, double>> passTimes_;
  double frameMs_ = 0.0;
  std::vector<Clock::time_point> presents_;
};
