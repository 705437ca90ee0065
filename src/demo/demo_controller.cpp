#include "demo/demo_controller.h"

#include "anim/node_animation.h"
#include "base/log.h"
#include "base/path.h"
#include "render/fx/fx.h"
#include "assets/demo_content.h"
#include "assets/effect.h"
#include "assets/material_resolution.h"
#include "assets/model.h"
#include "assets/texture.h"
#include "demo/gl_state.h"
#include "platform/gl.h"
#include "platform/window.h"
#include "render/cg_context.h"
#include "render/frame.h"
#include "render/lighting.h"
#include "render/noise_texture.h"
#include "render/post_process.h"
#include "render/screen_picture.h"
#include "render/shadow_map.h"
#include "scenes/assembling_scene.h"
#include "scenes/breaking_wall_scene.h"
#include "scenes/robot.h"

namespace {

constexpr char kPropertyScript[] = "properties/props.scr";
constexpr char kEnvironmentMap[] = "images/env_";
constexpr char kCameraFile[] = "cameras/cameras.cam";
constexpr float kInitialFieldOfView = 60.0f;
constexpr int kBigMaskAbove = 1024;

const char* const kBoardTextures[4] = {"title1", "title2", "soon", "endscreen"};
const char* const kArmModels[] = {"mech_arm_01_base", "mech_arm_01_joint1", "mech_arm_01_joint2",
                                  "mech_arm_01_end",  "mech_arm_02_base",   "mech_arm_02_joint1",
                                  "mech_arm_02_joint2", "mech_arm_02_end"};

template <typename T>
T* Find(const std::string& name) {
  return DemoContent::Instance()->Get<T>(name);
}

// The asset the demo cannot play without; a miss is logged by kind and name.
template <typename T>
T* Require(const char* kind, const std::string& name) {
  T* asset = Find<T>(name);
  if (asset == nullptr) WriteLog("error: %s '%s' wasn't found", kind, name.c_str());
  return asset;
}

// A node value of the model's first mesh the demo cannot play without.
const KeyedValue* RequireValue(Model& model, const char* modelName, const char* valueName) {
  KeyedValue* value = model.meshes.empty() ? nullptr : model.meshes.front()->FindValue(valueName);
  if (value == nullptr) WriteLog("error: node value '%s' wasn't found in model '%s'", valueName, modelName);
  return value;
}

// Nothing draws with the environment cube maps through the fixed-function pipeline;
// left enabled, a cube map would take the place of every 2D texture of the screen
// overlays (loading picture, mask, boards).
void DisableCubeMapTexturing() {
  glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
  glDisable(GL_TEXTURE_CUBE_MAP);
}

// What the driver gave for vertical sync. The timeline follows the music, so sync
// changes only how smoothly frames reach the screen.
void LogVerticalSync(platform::VerticalSync sync) {
  switch (sync) {
    case platform::VerticalSync::kAdaptive: WriteLog("vertical sync: adaptive"); break;
    case platform::VerticalSync::kOn: WriteLog("vertical sync: on (the driver has no adaptive sync)"); break;
    case platform::VerticalSync::kOff: WriteLog("vertical sync: off (the driver refused it)"); break;
  }
}

}  // namespace

DemoController::DemoController() { OpenLog(); }

DemoController::~DemoController() { Shutdown(); }

const char* DemoController::MaskName(int width) { return width > kBigMaskAbove ? "mask_big" : "mask"; }

bool DemoController::Init(int width, int height, int bitsPerPixel, int refreshRate) {
  width_ = width;
  height_ = height;
  if (!options_.useCurrentContext) {
    window_ = std::make_unique<platform::GlWindow>();
    if (!window_->Create(this, width, height, bitsPerPixel, refreshRate)) {
      WriteLog("couldn't initialize opengl window");
      Shutdown();
      return false;
    }
  }
  if (!platform::FetchGlEntryPoints() || (options_.useCurrentContext && glGetString(GL_VERSION) == nullptr)) {
    WriteLog("couldn't initialize opengl extensions");
    Shutdown();
    return false;
  }
  outputFramebuffer_ = options_.outputFramebuffer;
  if (window_ != nullptr) {
    LogVerticalSync(window_->Sync());
    if (window_->Scaled() && !SetUpScaledPicture()) {
      Shutdown();
      return false;
    }
  }
  if (!CreateCgContext(cgContext_)) {
    WriteLog("couldn't initialize cg");
    Shutdown();
    return false;
  }
  if (outputFramebuffer_ != 0) BindFrameBuffer(outputFramebuffer_);
  const sm::Mat4 projection = SetInitialGlState(width_, height_, kInitialFieldOfView);
  manualCamera_ = std::make_unique<ManCam>(PlatformInputState());
  timeline_.Start(width_, height_, projection, manualCamera_.get());
  loadingScreen_.framebuffer = outputFramebuffer_;
  loadingScreen_.shown = options_.showLoadingScreen;
  loadingScreen_.present = [this] { Present(); };
  targets_ = CreateMainTargets(width_, height_);
  return true;
}

bool DemoController::LoadContent(const std::string& dataFolder) {
  if (!loadingScreen_.SetUp(dataFolder, width_, height_)) {
    WriteLog("couldn't load %sloader.jpg: the loading screen is black", dataFolder.c_str());
  }
  dataFolder_ = dataFolder;

  DemoContent* content = DemoContent::Instance();
  if (content == nullptr) return false;
  {
    CgContextService service(cgContext_.get());
    ServiceProvider provider;
    provider.Register(TypeKey<ICgContextService>(), static_cast<ICgContextService*>(&service));
    content->AddObserver(this);
    if (!content->LoadAll(dataFolder, &provider)) return false;
  }
  // Both passes run, so every missing reference is in the log.
  const bool texturesResolved = ResolveMaterialTextures(dataFolder);
  const bool materialsResolved = ResolveMeshMaterials();
  DisableCubeMapTexturing();
  if (!texturesResolved || !materialsResolved) return false;

  // Whatever the file holds, the script installs the signal track.
  LoadPropertyScript(dataFolder + kPropertyScript, PropertyScriptTarget{signal_, properties_, editableCameras_});
  if (signal_ == nullptr) {
    WriteLog("error: the property script built no signal track");
    return false;
  }
  tunables_ = ReadTunables(properties_);
  return LoadTimelineObjects();
}

bool DemoController::LoadTimelineObjects() {
  ITimelineClock* clock = options_.clock;
  if (clock == nullptr && OpenMusic()) clock = music_.get();

  doorsModel_ = Require<Model>("model", "doors");
  doors_ = Require<Animation>("animation", "doors");
  if (doorsModel_ == nullptr || doors_ == nullptr) return false;
  doors_->AttachMeshes(doorsModel_->meshes);

  for (int i = 0; i < 4; ++i) {
    boardTextures_[i] = Require<Texture>("texture", kBoardTextures[i]);
    if (boardTextures_[i] == nullptr) return false;
  }
  Model* boards = Require<Model>("model", "boards");
  if (boards == nullptr) return false;
  boardIndex_ = RequireValue(*boards, "boards", "board_index");
  if (boardIndex_ == nullptr) return false;
  boardOpacity_ = RequireValue(*boards, "boards", "board_opacity");
  if (boardOpacity_ == nullptr) return false;

  robot_ = std::make_unique<Robot::Character>();
  world_.SetRobot(robot_.get());
  if (!robot_->Setup(world_, dataFolder_)) return false;
  // Every part gets a transform before the first frame: the breaking-wall pose's last frame.
  robot_->animationIndex = Robot::kBreakingWall;
  robot_->Pose(1000.0f);
  if (!FillModelSlots() || !SetUpScenes()) return false;
  assembling_->SetCreditFadeSeconds(tunables_.creditFadeSeconds);
  breakingWall_->SetGreetingFadePerSecond(tunables_.greetingFadePerSecond);
  breakingWall_->SetFollowLightHeight(tunables_.followLightHeight);
  timeline_.SetFlashFadePerSecond(tunables_.flashFadePerSecond);

  environmentMap_ = LoadCubeMap(dataFolder_ + kEnvironmentMap);
  DisableCubeMapTexturing();
  if (!LoadCameras() || !LoadMask()) return false;
  noiseTexture_ = CreateNoiseTexture(height_);

  TimelineParts parts;
  parts.clock = clock;
  parts.doors = doors_;
  parts.cameras = cameraAnimation_;
  parts.signal = signal_.get();
  parts.boardIndex = boardIndex_;
  parts.boardOpacity = boardOpacity_;
  parts.assembling = assembling_.get();
  parts.breakingWall = breakingWall_.get();
  parts.schedule = &schedule_;
  parts.global = &global_;
  parts.slots = &slots_;
  timeline_.Wire(parts);
  return true;
}

bool DemoController::OpenMusic() {
  std::string error;
  music_ = MusicClock::Open(dataFolder_ + DemoController::kMusicFile, error);
  if (music_ == nullptr) WriteLog("no music (%s): the timeline runs on the frame clock", error.c_str());
  return music_ != nullptr;
}

bool DemoController::FillModelSlots() {
  auto add = [this](int slot, const char* name) {
    Model* model = Require<Model>("model", name);
    if (model != nullptr) slots_[static_cast<std::size_t>(slot)].AddModel(model);
    return model != nullptr;
  };
  if (!add(kSlotHall, "factory_hal") || !add(kSlotPassage, "factory_passage") || !add(kSlotPassage, "robot_path")) {
    return false;
  }
  for (const char* name : kArmModels) {
    if (!add(kSlotArms, name)) return false;
  }
  if (!add(kSlotLyingRobot, "robot_lying")) return false;
  ModelSlot& robotSlot = slots_[kSlotRobotParts];
  for (Model* part : robot_->Models()) {
    robotSlot.AddModel(part);
    for (const auto& mesh : part->meshes) {
      for (const auto& subMesh : mesh->subMeshes) subMesh->cullExempt = true;
    }
  }
  robotSlot.enabled = false;
  return true;
}

bool DemoController::SetUpScenes() {
  breakingWall_ = std::make_unique<BreakingWallScene>(world_);
  if (!breakingWall_->Setup()) return false;
  breakingWall_->SetActive(false);
  assembling_ = std::make_unique<AssemblingScene>(world_);
  if (!assembling_->Setup()) return false;
  assembling_->SetActive(true);
  return true;
}

bool DemoController::LoadCameras() {
  cameraAnimation_ = Require<Animation>("animation", "cameras");
  if (cameraAnimation_ == nullptr) return false;
  std::string error;
  if (!schedule_.Load(dataFolder_ + kCameraFile, *cameraAnimation_, error)) {
    WriteLog("error: %s", error.c_str());
    return false;
  }
  return true;
}

bool DemoController::LoadMask() {
  mask_ = Require<Texture>("texture", MaskName(width_));
  if (mask_ == nullptr) return false;
  PrepareMaskTexture(mask_->GetName());
  picture_ = MaskVisibleRows(mask_->GetName(), height_);
  return true;
}

bool DemoController::Prepare() {
  renderer_ = PrepareSceneRenderer(*DemoContent::Instance());
  if (renderer_ == nullptr) return false;
  // Without these the frame still runs (the passes skip what is missing); the log
  // says why the picture lacks them.
  Effect* blur = Require<Effect>("effect", "blur");
  Effect* shadowMapping = Require<Effect>("effect", "shadow_mapping");
  postProcess_ = Require<Effect>("effect", "post_process");

  glowBlur_ = CreateBlurTarget(blur, width_ / 8, height_ / 8);
  dofBlur_ = CreateBlurTarget(blur, width_ / 4, height_ / 4);
  std::vector<Model*> globalModels;
  if (doorsModel_ != nullptr) globalModels.push_back(doorsModel_);
  for (IScene* scene : {static_cast<IScene*>(assembling_.get()), static_cast<IScene*>(breakingWall_.get())}) {
    if (scene == nullptr) continue;
    const std::vector<Model*>& models = scene->GetModels();
    globalModels.insert(globalModels.end(), models.begin(), models.end());
  }
  BuildDrawLists(globalModels, global_, slots_);
  shadow_ = CreateShadowTarget(width_, height_, shadowMapping);
  return true;
}

bool DemoController::Update(float timeMs, float dtMs) {
  timeline_.Update(timeMs, dtMs);
  return true;
}

bool DemoController::Render(float /*timeMs*/, float dtMs) {
  if (targets_ == nullptr || renderer_ == nullptr) return true;
  FrameInputs frame;
  frame.timeMs = timeline_.TimeMs();
  frame.stepMs = dtMs;
  frame.width = width_;
  frame.height = height_;
  frame.view = timeline_.View();
  frame.projection = timeline_.Projection();
  frame.scene = timeline_.CurrentScene();
  frame.slots = &slots_;
  frame.global = &global_;
  frame.renderer = renderer_.get();
  frame.targets = targets_.get();
  frame.glowBlur = glowBlur_.get();
  frame.dofBlur = dofBlur_.get();
  frame.shadow = shadow_.get();
  frame.postProcess = postProcess_;
  frame.noiseTexture = noiseTexture_;
  frame.maskTexture = mask_ != nullptr ? mask_->GetName() : 0;
  frame.picture = picture_;
  frame.flash = timeline_.Flash();
  frame.depthOfField = tunables_.depthOfField;
  frame.boardIndex = timeline_.BoardIndex();
  for (int i = 0; i < 4; ++i) frame.boardTextures[i] = boardTextures_[i] != nullptr ? boardTextures_[i]->GetName() : 0;
  frame.boardOpacity = timeline_.BoardOpacity();
  frame.outputFramebuffer = outputFramebuffer_;
  frame.afterPass = options_.afterPass;
  frame.present = [this] { Present(); };
  RenderFrame(frame);
  return true;
}

bool DemoController::SetUpScaledPicture() {
  int screenWidth = 0;
  int screenHeight = 0;
  window_->DrawableSize(screenWidth, screenHeight);
  std::string error;
  if (!CreatePictureTarget(scaledPicture_, width_, height_, true, error)) {
    WriteLog("couldn't initialize opengl window: %s", error.c_str());
    return false;
  }
  outputFramebuffer_ = scaledPicture_.framebuffer;
  WriteLog("the display can't switch to %dx%d; the demo is drawn at %dx%d and scaled to the desktop's %dx%d",
           width_, height_, width_, height_, screenWidth, screenHeight);
  return true;
}

void DemoController::Present() {
  if (window_ == nullptr) return;
  if (scaledPicture_.framebuffer != 0) {
    int screenWidth = 0;
    int screenHeight = 0;
    window_->DrawableSize(screenWidth, screenHeight);
    DrawPictureOnScreen(scaledPicture_.colourTexture, FitPicture(screenWidth, screenHeight, width_, height_),
                        screenWidth, screenHeight);
  }
  window_->Present();
}

void DemoController::Shutdown() {
  if (music_ != nullptr) music_->Release();
  // Nothing may reach the objects released below through the timeline any more.
  timeline_.Wire(TimelineParts());

  // The scenes and the robot point into the content; they go first.
  assembling_.reset();
  breakingWall_.reset();
  world_.SetRobot(nullptr);
  robot_.reset();
  slots_ = ModelSlots();
  global_ = GlobalDrawLists();
  doorsModel_ = nullptr;
  doors_ = nullptr;
  cameraAnimation_ = nullptr;
  boardIndex_ = nullptr;
  boardOpacity_ = nullptr;
  mask_ = nullptr;
  postProcess_ = nullptr;
  for (Texture*& board : boardTextures_) board = nullptr;

  if (DemoContent::Exists()) {
    DemoContent::Instance()->ReleaseAll();
    DemoContent::Destroy();
  }
  renderer_.reset();

  targets_.reset();
  shadow_.reset();
  glowBlur_.reset();
  dofBlur_.reset();
  if (environmentMap_ != 0) glDeleteTextures(1, &environmentMap_);
  environmentMap_ = 0;
  if (noiseTexture_ != 0) glDeleteTextures(1, &noiseTexture_);
  noiseTexture_ = 0;
  loadingScreen_.Release();
  DeletePictureTarget(scaledPicture_);
  outputFramebuffer_ = options_.outputFramebuffer;

  cgContext_.reset();
  if (window_ != nullptr) {
    window_->TearDown();
    window_.reset();
  }
}

bool DemoController::ReloadEffect(const std::string& path, std::string& error) {
  Effect* effect = DemoContent::Exists() ? Find<Effect>(SplitPath(path).name) : nullptr;
  if (effect == nullptr || cgContext_ == nullptr) {
    error = "no loaded effect for " + path;
    return false;
  }
  std::unique_ptr<fx::Effect> compiled = cgContext_->CreateEffectFromFile(path, &error);
  if (compiled == nullptr) {
    if (error.find(path) == std::string::npos) error = path + ": " + error;
    return false;
  }
  return effect->Replace(std::move(compiled));
}

void DemoController::OnError(const char* message) { WriteLog("error: %s", message); }
void DemoController::OnBegin(int total) { loadingScreen_.Begin(total); }
void DemoController::OnStep() { loadingScreen_.Step(); }
void DemoController::OnFinished() {}

void DemoController::Click() { editingKeys_.Click(timeline_.TimeMs()); }
void DemoController::Key(int virtualKey) { editingKeys_.Key(virtualKey, timeline_.TimeMs(), timeline_.View()); }
