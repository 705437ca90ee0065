#pragma once
// The one object that owns a run of the demo: the window and GL context, the effect
// runtime, the render targets, every loaded asset (through the content registry), the
// timeline objects (scenes, robot, cameras, properties, music) and the per-frame
// update and render.
//
// The demo (drift) opens its own full-screen window and plays the music. A tool that
// renders the same demo off screen sets ControllerOptions before Init: its own GL
// context, its own framebuffer, and a clock it steps itself (docs/controller.md).
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "anim/editable_camera.h"
#include "anim/math.h"
#include "anim/properties.h"
#include "anim/property_script.h"
#include "base/singleton.h"
#include "base/interfaces.h"
#include "demo/camera_schedule.h"
#include "demo/demo_world.h"
#include "demo/editing_keys.h"
#include "demo/loading_screen.h"
#include "demo/manual_camera.h"
#include "demo/timeline.h"
#include "demo/timeline_clock.h"
#include "demo/timeline_state.h"
#include "demo/timeline_tunables.h"
#include "platform/input.h"
#include "render/draw_lists.h"
#include "render/frame.h"
#include "render/picture_target.h"

namespace platform {
class GlWindow;
}
namespace fx {
class Context;
}
namespace Robot {
class Character;
}
class AssemblingScene;
class BlurTarget;
class BreakingWallScene;
class Effect;
class KeyedValue;
class MainTargets;
class Model;
class SceneRenderer;
class ShadowTarget;
class Texture;

struct ControllerOptions {
  // Null: the soundtrack "music/osprey.mp3" drives the timeline. Otherwise this clock
  // does (borrowed; it must outlive the controller) and no audio is opened.
  ITimelineClock* clock = nullptr;
  // False: Init opens the full-screen window at the chosen mode. True: Init uses the GL
  // context current on this thread (the caller's, e.g. platform::OffscreenContext) at
  // exactly the size passed to Init, and never presents; the caller keeps the context
  // current until after Shutdown.
  bool useCurrentContext = false;
  // The framebuffer that frames and the loading screen are drawn into (0: the window's
  // back buffer). With useCurrentContext it must be at least the size given to Init.
  unsigned outputFramebuffer = 0;
  // Called after each pass of every rendered frame (a tool checks GL errors or times
  // the passes); empty for the demo.
  std::function<void(FramePass)> afterPass;
  // False: loading draws nothing (a player that reloads behind its last picture).
  bool showLoadingScreen = true;
};

class DemoController final : public IContentObserver,
                             public platform::IKeyboardCallback,
                             public GenericSingleton<DemoController> {
 public:
  // The soundtrack, relative to the data folder.
  static constexpr char kMusicFile[] = "music/osprey.mp3";

  // Reopens the log, so the file's content begins with the controller.
  DemoController();
  ~DemoController();
  DemoController(const DemoController&) = delete;
  DemoController& operator=(const DemoController&) = delete;

  // Before Init; the default is the demo's own window and music.
  void SetOptions(const ControllerOptions& options) { options_ = options; }
  // Replaces the options' afterPass for the frames from now on (a player that times
  // the passes only while it shows the figures).
  void SetAfterPass(std::function<void(FramePass)> afterPass) { options_.afterPass = std::move(afterPass); }

  // Window (or the caller's context), GL entry points, effect runtime, GL state,
  // manual camera, loading screen, main render targets. Every size used afterwards is
  // the one the window really has.
  bool Init(int width, int height, int bitsPerPixel, int refreshRate);
  // Loads the data folder (ending with '/') behind the loading screen and builds the
  // timeline objects. False, with a log line naming what failed, when anything the
  // demo needs is missing.
  bool LoadContent(const std::string& dataFolder);
  // Lighting, blur targets, draw lists, shadow target.
  bool Prepare();
  bool Update(float timeMs, float dtMs);
  bool Render(float timeMs, float dtMs);
  // Releases what exists, each piece once; safe on a partly initialised controller
  // and when called again.
  void Shutdown();

  // IContentObserver: the loading screen and the log.
  void OnError(const char* message) override;
  void OnBegin(int total) override;
  void OnStep() override;
  void OnFinished() override;

  // IKeyboardCallback: the editing keys.
  void Click() override;
  void Key(int virtualKey) override;

  // The screen the frames are drawn for (after Init: the window's real size).
  int Width() const { return width_; }
  int Height() const { return height_; }
  const std::string& DataFolder() const { return dataFolder_; }
  const DemoTimeline& Timeline() const { return timeline_; }
  const TimelineTunables& Tunables() const { return tunables_; }
  const ModelSlots& Slots() const { return slots_; }
  const GlobalDrawLists& GlobalLists() const { return global_; }
  const LoadingScreen& Loading() const { return loadingScreen_; }
  // The live player's seams (docs/live.md). Save and restore everything the updates
  // move (timeline_state.h); restoring a state saved since the content was loaded
  // puts the timeline back exactly where it was.
  void SaveTimelineState(TimelineState& out);
  void RestoreTimelineState(const TimelineState& state);
  // The cuts, flashes, greeting changes, scene switches and board changes, by time.
  std::vector<TimelineEvent> TimelineEvents() const;
  // Hands the view to the manual camera, or back to the camera schedule.
  void HoldManualCamera(bool hold);
  bool ManualCameraHeld() const;
  // Hands the view to any camera of the caller's (not owned; null: the schedule again),
  // e.g. a tool's fixed viewpoint.
  void HoldCamera(ICamera* camera) { timeline_.HoldCamera(camera); }
  // Takes the view again at the same time (the manual camera flown while paused).
  void RefreshView(float dtMs);
  const CameraSchedule& Schedule() const { return schedule_; }
  // Compiles an effect file again into the loaded effect of its name (Effect::Replace).
  // False with error set when no effect of that name is loaded or the file does not
  // compile; the loaded one is left as it was then.
  bool ReloadEffect(const std::string& path, std::string& error);

  // The mask chosen for the screen width: "mask_big" above 1024 pixels, else "mask".
  static const char* MaskName(int width);

 private:
  bool LoadTimelineObjects();
  bool OpenMusic();
  bool FillModelSlots();
  bool SetUpScenes();
  bool LoadCameras();
  bool LoadMask();
  // Where the window covers a desktop of another size: the picture the frames are
  // drawn into, scaled onto the screen at each present.
  bool SetUpScaledPicture();
  void Present();

  ControllerOptions options_;
  std::unique_ptr<platform::GlWindow> window_;
  PictureTarget scaledPicture_;       // empty unless the window is scaled
  unsigned outputFramebuffer_ = 0;    // where frames go: the caller's, the scaled picture's or 0
  std::unique_ptr<fx::Context> cgContext_;
  std::unique_ptr<MainTargets> targets_;
  std::unique_ptr<BlurTarget> glowBlur_;
  std::unique_ptr<BlurTarget> dofBlur_;
  std::unique_ptr<ShadowTarget> shadow_;
  std::unique_ptr<SceneRenderer> renderer_;
  unsigned environmentMap_ = 0;
  unsigned noiseTexture_ = 0;
  Texture* mask_ = nullptr;           // owned by the content registry
  PictureRows picture_;               // the rows the mask leaves visible
  Texture* boardTextures_[4] = {};    // "title1", "title2", "soon", "endscreen"
  Effect* postProcess_ = nullptr;     // "post_process"
  Model* doorsModel_ = nullptr;       // the global model list
  Animation* doors_ = nullptr;
  Animation* cameraAnimation_ = nullptr;
  const KeyedValue* boardIndex_ = nullptr;
  const KeyedValue* boardOpacity_ = nullptr;

  LoadingScreen loadingScreen_;
  std::unique_ptr<ManCam> manualCamera_;
  CameraSchedule schedule_;
  ModelSlots slots_;
  GlobalDrawLists global_;
  PropertyMap properties_;
  std::unique_ptr<SignalPair> signal_;
  std::vector<std::unique_ptr<EditableCamera>> editableCameras_;
  TimelineTunables tunables_;  // read from properties_ after the script loads
  std::unique_ptr<MusicClock> music_;
  std::unique_ptr<Robot::Character> robot_;
  std::unique_ptr<BreakingWallScene> breakingWall_;
  std::unique_ptr<AssemblingScene> assembling_;

  DemoTimeline timeline_;
  DemoWorld world_{slots_, timeline_};
  EditingKeys editingKeys_;
  std::string dataFolder_;
  int width_ = 0;
  int height_ = 0;
};
