#pragma once
// The per-frame update of the demo: the timeline time from the music (then the frame
// clock), the flash, the boards, which scene is current, which camera looks, the
// projection and the culling. It works on objects the controller owns and wires in
// while loading, so it runs (and is tested) without a window or GL.
#include "anim/math.h"
#include "anim/show_times.h"
#include "render/draw_lists.h"
#include "render/frustum.h"

class Animation;
class CameraSchedule;
class ICamera;
class IScene;
class ITimelineClock;
class KeyedValue;
struct SignalPair;

// What the update reads and moves; none of it is owned. Null members are skipped
// (a partly loaded world in tests), except the ones the comments name.
struct TimelineParts {
  ITimelineClock* clock = nullptr;  // null: the frame clock from the first frame on
  Animation* doors = nullptr;
  Animation* cameras = nullptr;
  SignalPair* signal = nullptr;
  const KeyedValue* boardIndex = nullptr;
  const KeyedValue* boardOpacity = nullptr;
  IScene* assembling = nullptr;    // A: current after loading
  IScene* breakingWall = nullptr;  // B
  CameraSchedule* schedule = nullptr;
  GlobalDrawLists* global = nullptr;  // culled only when both lists are there
  ModelSlots* slots = nullptr;
};

class DemoTimeline {
 public:
  // The music drives the timeline up to this time (seconds); the frame clock after it.
  static constexpr float kMusicEnd = show::AsFloat(show::kMusicEnd);
  // Culling reaches far beyond the projection's far plane (gl_state.h).
  static constexpr float kCullingFarPlane = 800000.0f;
  // A flash fades from 1 to 0 in half a second, unless the property script says otherwise.
  static constexpr float kFlashFadePerSecond = 2.0f;

  // The screen whose aspect the projection and the culling use, the projection made
  // for the first field of view (60 degrees), and the camera of the frames before the
  // first update.
  void Start(int width, int height, const sm::Mat4& projection, ICamera* camera);
  // The parts; the current scene becomes parts.assembling.
  void Wire(const TimelineParts& parts);
  // How much of a flash fades per second of the timeline.
  void SetFlashFadePerSecond(float perSecond) { flashFadePerSecond_ = perSecond; }
  float FlashFadePerSecond() const { return flashFadePerSecond_; }

  // One frame: timeMs is the frame loop's running time, dtMs its step.
  void Update(float timeMs, float dtMs);

  // The timeline time of the last update, in milliseconds.
  float TimeMs() const { return timeMs_; }
  float Flash() const { return flash_; }
  int BoardIndex() const { return boardIndex_; }
  float BoardOpacity() const { return boardOpacity_; }
  IScene* CurrentScene() const { return currentScene_; }
  ICamera* CurrentCamera() const { return currentCamera_; }
  const sm::Mat4& View() const { return view_; }
  const sm::Mat4& Projection() const { return projection_; }
  float FieldOfViewDegrees() const { return fieldOfView_; }
  const Frustum& ViewFrustum() const { return frustum_; }
  bool MusicStarted() const { return musicStarted_; }
  bool MusicEnded() const { return musicEnded_; }

  // A camera that looks instead of the scheduled one until released (null): the live
  // player hands the view to the manual camera. The schedule still moves on.
  void HoldCamera(ICamera* camera) { heldCamera_ = camera; }
  ICamera* HeldCamera() const { return heldCamera_; }
  // Takes the view again without moving the time (a held manual camera flown while
  // the timeline is paused): view, projection, the manual camera's move, culling.
  void RefreshView(float dtMs);

  // What one update leaves for the next, so a player can rewind to a saved moment.
  // The wiring and the held camera are not part of it.
  struct State {
    float timeMs = 0.0f;
    float flash = 0.0f;
    int boardIndex = 0;
    float boardOpacity = 0.0f;
    IScene* currentScene = nullptr;
    ICamera* currentCamera = nullptr;
    sm::Mat4 view;
    sm::Mat4 projection;
    float fieldOfView = 60.0f;
    Frustum frustum;
    bool musicStarted = false;
    bool musicEnded = false;
  };
  State SaveState() const;
  void RestoreState(const State& state);

 private:
  void ChooseScene(float t);
  void TakeView(float t, float dtMs);
  float Aspect() const;

  TimelineParts parts_;
  int width_ = 1;
  int height_ = 1;
  float timeMs_ = 0.0f;
  float flash_ = 0.0f;
  float flashFadePerSecond_ = kFlashFadePerSecond;
  int boardIndex_ = 0;
  float boardOpacity_ = 0.0f;
  IScene* currentScene_ = nullptr;
  ICamera* currentCamera_ = nullptr;
  sm::Mat4 view_;
  sm::Mat4 projection_;
  float fieldOfView_ = 60.0f;  // degrees; the projection is rebuilt only when it changes
  Frustum frustum_;
  bool musicStarted_ = false;
  bool musicEnded_ = false;
  ICamera* heldCamera_ = nullptr;
};
