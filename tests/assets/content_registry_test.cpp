// The asset managers and the content registry, with loaders that record what they
// were asked to load, and with the program's own loaders where no GL is needed.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "anim/animation_file.h"
#include "anim/node_animation.h"
#include "base/log.h"
#include "assets/assets_manager.h"
#include "assets/demo_content.h"
#include "assets/effect.h"
#include "assets/material.h"
#include "assets/material_resolution.h"
#include "assets/model.h"
#include "assets/texture.h"
#include "support/temp_dir.h"

namespace {

using testing::ElementsAre;
using testing::ElementsAreArray;
using testing::HasSubstr;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

// Every call of every observer, as text, in order; name tells two observers apart.
struct Recorder : IContentObserver {
  Recorder(std::vector<std::string>& events, std::string name) : events(events), name(std::move(name)) {}
  void OnError(const char* message) override { events.push_back(name + "error " + message); }
  void OnBegin(int total) override { events.push_back(name + "begin " + std::to_string(total)); }
  void OnStep() override { events.push_back(name + "step"); }
  void OnFinished() override { events.push_back(name + "finished"); }
  std::vector<std::string>& events;
  std::string name;
};

struct FakeAsset : IDisposable {
  FakeAsset(std::string path, int& destroyed) : path(std::move(path)), destroyed(destroyed) {}
  ~FakeAsset() override { ++destroyed; }
  std::string path;
  int& destroyed;
};

// Loads any file whose name does not contain "bad"; logs each path it is given.
// With an observer, it also reports one step per "mesh" (the file's content is the
// mesh count), as the model loader does.
struct FakeLoader : IAssetLoader {
  FakeLoader(std::vector<std::string>& calls, int& destroyed, IContentObserver* meshSteps = nullptr)
      : calls(calls), destroyed(destroyed), meshSteps(meshSteps) {}
  IDisposable* Load(const char* path, sm::IServiceProvider*) override {
    calls.push_back(path);
    if (std::string(path).find("bad") != std::string::npos) return nullptr;
    if (meshSteps != nullptr) {
      for (int i = std::stoi(ReadFile(path)); i > 0; --i) meshSteps->OnStep();
    }
    return new FakeAsset(path, destroyed);
  }
  std::vector<std::string>& calls;
  int& destroyed;
  IContentObserver* meshSteps;
};

std::string PathOf(const IDisposable* asset) {
  const auto* fake = dynamic_cast<const FakeAsset*>(asset);
  return fake == nullptr ? "(none)" : fake->path;
}

TEST(AssetName, IsTheFileNameWithoutFolderAndExtension) {
  EXPECT_EQ(AssetName("textures\\Wall_01.png"), "Wall_01");
  EXPECT_EQ(AssetName("/data/models/robot.mk2.geo"), "robot.mk2");
  EXPECT_EQ(AssetName("models/.hidden.geo"), ".hidden");
  EXPECT_EQ(AssetName("a/b\\.cfg"), ".cfg");
  EXPECT_EQ(AssetName("abc."), "abc");
  EXPECT_EQ(AssetName("noext"), "noext");
  EXPECT_EQ(AssetName("dir.v2/file"), "file");
}

TEST(ListFiles, TakesTheExtensionsFilesSortedBytewise) {
  TempDir dir;
  for (const char* name : {"b.mat", "alu.mat", "Zinc.mat", "x.MAT", "y.mat.bak", "notes.txt", ".mat"}) {
    WriteFile(dir.File(name), "");
  }
  std::filesystem::create_directory(dir.File("folder.mat"));
  EXPECT_THAT(ListFiles(dir.Path(), "mat"), ElementsAre(".mat", "Zinc.mat", "alu.mat", "b.mat"));
  EXPECT_THAT(ListFiles(dir.File("missing"), "mat"), ElementsAre());
}

class Manager : public ::testing::Test {
 protected:
  AssetsManager Make(const std::string& extension = "png") {
    return AssetsManager(extension, std::make_unique<FakeLoader>(calls_, destroyed_), dir_.Path(),
                         nullptr, observers_);
  }
  TempDir dir_;
  std::vector<std::string> calls_;
  std::vector<std::string> events_;
  int destroyed_ = 0;
  Recorder first_{events_, "1:"};
  Recorder second_{events_, "2:"};
  ContentObservers observers_{&first_, &second_};
};

TEST_F(Manager, LoadsEveryFileReportsFailuresAndStepsAndGoesOn) {
  for (const char* name : {"b.png", "a_bad.png", "c.png", "d.jpg"}) WriteFile(dir_.File(name), "");
  AssetsManager manager = Make();
  EXPECT_FALSE(manager.LoadFolder(true));
  EXPECT_THAT(calls_, ElementsAre(dir_.File("a_bad.png"), dir_.File("b.png"), dir_.File("c.png")));
  EXPECT_THAT(events_, ElementsAre("1:error couldn't load asset '" + dir_.File("a_bad.png") + "'",
                                   "2:error couldn't load asset '" + dir_.File("a_bad.png") + "'",
                                   "1:step", "2:step", "1:step", "2:step", "1:step", "2:step"));
  EXPECT_EQ(manager.Count(), 2);
  EXPECT_EQ(manager.Get("a_bad"), nullptr);
  EXPECT_EQ(PathOf(manager.Get("c")), dir_.File("c.png"));

  events_.clear();
  EXPECT_TRUE(manager.LoadFiles(false, {"b.png"}));  // no steps asked for
  EXPECT_THAT(events_, ElementsAre());
}

TEST_F(Manager, ALaterFileOfTheSameNameReplacesAndDestroysTheEarlierAsset) {
  {
    AssetsManager manager = Make();
    EXPECT_TRUE(manager.LoadFiles(false, {"a.png", "a.jpg", "b.png"}));
    EXPECT_EQ(destroyed_, 1);
    EXPECT_EQ(manager.Count(), 2);
    EXPECT_EQ(PathOf(manager.Get("a")), dir_.File("a.jpg"));
  }
  EXPECT_EQ(destroyed_, 3);  // the manager destroys what it holds
}

TEST_F(Manager, LookupsAreExactAndCollectAllIsInBytewiseOrder) {
  AssetsManager manager = Make();
  ASSERT_TRUE(manager.LoadFiles(false, {"alu.mat", "Wall.png", "Zinc.mat", "b.x"}));
  EXPECT_EQ(manager.Get("wall"), nullptr);
  EXPECT_NE(manager.Get("Wall"), nullptr);
  std::vector<IDisposable*> all;
  manager.CollectAll(all);
  std::vector<std::string> names;
  for (IDisposable* asset : all) names.push_back(AssetName(PathOf(asset)));
  EXPECT_THAT(names, ElementsAre("Wall", "Zinc", "alu", "b"));
}

TEST_F(Manager, AMissingFolderLoadsNothingAndSucceeds) {
  AssetsManager manager("png", std::make_unique<FakeLoader>(calls_, destroyed_), dir_.File("none"),
                        nullptr, observers_);
  EXPECT_TRUE(manager.LoadFolder(true));
  EXPECT_THAT(calls_, ElementsAre());
  EXPECT_THAT(events_, ElementsAre());
}

class Registry : public ::testing::Test {
 protected:
  void TearDown() override { GenericSingleton<DemoContent>::Destroy(); }

  void Write(const std::string& relative, const std::string& content = "") {
    std::filesystem::create_directories(std::filesystem::path(dir_.File(relative)).parent_path());
    WriteFile(dir_.File(relative), content);
  }
  ContentLoaders Fakes() {
    ContentLoaders loaders;
    loaders.textures = std::make_unique<FakeLoader>(calls_, destroyed_);
    loaders.animations = std::make_unique<FakeLoader>(calls_, destroyed_);
    loaders.materials = std::make_unique<FakeLoader>(calls_, destroyed_);
    loaders.effects = std::make_unique<FakeLoader>(calls_, destroyed_);
    loaders.models = std::make_unique<FakeLoader>(calls_, destroyed_, &recorder_);
    loaders.meshCount = [](const std::string& path) { return std::stoi(ReadFile(path)); };
    return loaders;
  }
  DemoContent& Content() { return *DemoContent::Instance(); }
  std::string Root() const { return dir_.Path() + "/"; }

  TempDir dir_;
  std::vector<std::string> calls_;
  std::vector<std::string> events_;
  int destroyed_ = 0;
  Recorder recorder_{events_, ""};
};

TEST_F(Registry, LoadsTheKindsInOrderAndCountsTheirSteps) {
  // Four textures, two models of 3 and 5 meshes, three animations: 4 + 2 + 8 = 14
  // steps announced, and 17 reported (animations are not counted in the total).
  for (const char* name : {"textures/b.png", "textures/a.jpg", "textures/a.png", "textures/c.jpg",
                           "animations/x.ani", "animations/y.ani", "animations/cameras.ani",
                           "materials/m.mat", "effects/e.cfx", "effects/notes.txt"}) {
    Write(name);
  }
  Write("models/robot.geo", "5");
  Write("models/arm.geo", "3");
  Content().AddObserver(&recorder_);
  ASSERT_TRUE(Content().Load(Root(), nullptr, Fakes()));

  const std::string root = Root();
  EXPECT_THAT(calls_, ElementsAre(root + "textures/a.png", root + "textures/b.png",
                                  root + "textures/a.jpg", root + "textures/c.jpg",
                                  root + "animations/cameras.ani", root + "animations/x.ani",
                                  root + "animations/y.ani", root + "materials/m.mat",
                                  root + "effects/e.cfx", root + "models/arm.geo",
                                  root + "models/robot.geo"));
  ASSERT_FALSE(events_.empty());
  EXPECT_EQ(events_.front(), "begin 14");
  EXPECT_EQ(events_.back(), "finished");
  EXPECT_EQ(std::count(events_.begin(), events_.end(), "step"), 17);
  EXPECT_EQ(events_.size(), 19u);

  // The JPEG came later and holds the name a.
  EXPECT_EQ(PathOf(Content().ManagerOf<Texture>()->Get("a")), root + "textures/a.jpg");
  EXPECT_EQ(Content().ManagerOf<Effect>()->Count(), 1);
}

TEST_F(Registry, EveryObserverHearsEveryCallInTheOrderTheyWereAdded) {
  Write("textures/a.png");
  Write("materials/bad.mat");
  Recorder second(events_, "2:");
  Content().AddObserver(&recorder_);
  Content().AddObserver(&second);
  EXPECT_FALSE(Content().Load(Root(), nullptr, Fakes()));
  const std::string error = "error couldn't load asset '" + Root() + "materials/bad.mat'";
  EXPECT_THAT(events_, ElementsAre("begin 1", "2:begin 1", "step", "2:step", error, "2:" + error,
                                   "finished", "2:finished"));
}

TEST_F(Registry, AFailedKindStopsNoOtherKind) {
  Write("textures/bad.png");
  Write("animations/a.ani");
  Write("materials/bad.mat");
  Write("materials/good.mat");
  Write("effects/e.cfx");
  Write("models/m.geo", "-4");  // a negative mesh count counts as none
  Content().AddObserver(&recorder_);
  EXPECT_FALSE(Content().Load(Root(), nullptr, Fakes()));
  EXPECT_EQ(events_.front(), "begin 2");
  EXPECT_EQ(Content().ManagerOf<Material>()->Count(), 1);
  EXPECT_EQ(Content().ManagerOf<Effect>()->Count(), 1);
  EXPECT_EQ(Content().ManagerOf<Model>()->Count(), 1);
  EXPECT_EQ(Content().ManagerOf<Animation>()->Count(), 1);
}

TEST_F(Registry, AnEmptyDataFolderLoadsNothingAndSucceeds) {
  Content().AddObserver(&recorder_);
  EXPECT_TRUE(Content().Load(Root(), nullptr, Fakes()));
  EXPECT_THAT(events_, ElementsAre("begin 0", "finished"));
}

TEST_F(Registry, ReleaseAllDestroysEveryAssetOnce) {
  EXPECT_EQ(Content().Get<Material>("m"), nullptr);  // no managers yet
  std::vector<Material*> none;
  Content().GetAll(none);
  EXPECT_TRUE(none.empty());

  Write("textures/a.png");
  Write("materials/m.mat");
  Write("models/m.geo", "0");
  ASSERT_TRUE(Content().Load(Root(), nullptr, Fakes()));
  Content().ReleaseAll();
  EXPECT_EQ(destroyed_, 3);
  EXPECT_EQ(Content().ManagerOf<Texture>(), nullptr);
  Content().ReleaseAll();
  GenericSingleton<DemoContent>::Destroy();
  EXPECT_EQ(destroyed_, 3);
}

// The program's own loaders, for the kinds that need no GL context.
TEST_F(Registry, LoadAllFilesMaterialsUnderTheirFileNames) {
  std::string error;
  Material red;
  red.name = "glowing_sign";
  red.opacity = 0.5f;
  std::filesystem::create_directories(dir_.File("materials"));
  ASSERT_TRUE(WriteMaterialFile(dir_.File("materials/red.mat"), red, error)) << error;
  Material other;
  other.name = "other";
  ASSERT_TRUE(WriteMaterialFile(dir_.File("materials/Zinc.mat"), other, error)) << error;
  ASSERT_TRUE(WriteMaterialFile(dir_.File("materials/alu.mat"), other, error)) << error;
  Write("materials/broken.mat", "<m Name=\"x\">");
  Write("effects/blur.cfx", "effect");
  Write("animations/cameras.ani", animation_file::Write(animation_file::AnimationData()));
  OpenLog(dir_.File("log.txt"));

  Content().AddObserver(&recorder_);
  testing::internal::CaptureStderr();
  EXPECT_FALSE(DemoContent::Instance()->LoadAll(Root(), nullptr));
  const std::string debugLines = testing::internal::GetCapturedStderr();
  CloseLog();
  EXPECT_THAT(debugLines, HasSubstr("loading " + Root() + "materials/red.mat\n"));
  EXPECT_THAT(events_, testing::Contains("error couldn't load asset '" + Root() + "materials/broken.mat'"));
  // The reader's reason goes to the log, naming the file.
  EXPECT_THAT(ReadFile(dir_.File("log.txt")), HasSubstr("error: " + Root() + "materials/broken.mat:"));

  const Material* found = Content().Get<Material>("red");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->name, "glowing_sign");
  EXPECT_EQ(Content().Get<Material>("glowing_sign"), nullptr);
  EXPECT_EQ(Content().Get<Effect>("red"), nullptr);  // names are per kind
  // Effects need the effect runtime's context from the provider; without one the
  // file is reported, not filed.
  EXPECT_THAT(events_, testing::Contains("error couldn't load asset '" + Root() + "effects/blur.cfx'"));
  EXPECT_EQ(Content().Get<Effect>("blur"), nullptr);
  EXPECT_NE(Content().Get<Animation>("cameras"), nullptr);
  std::vector<Material*> all;
  Content().GetAll(all);
  ASSERT_EQ(all.size(), 3u);
  EXPECT_EQ(all[0], Content().Get<Material>("Zinc"));
  EXPECT_EQ(all[1], Content().Get<Material>("alu"));
  EXPECT_EQ(all[2], found);
}

TEST(MeshMaterials, BindEachNamedSlotAndLogTheMisses) {
  TempDir dir;
  OpenLog(dir.File("log.txt"));
  Material steel;
  Material glass;
  const std::string names[] = {"steel", "", "chrome", "glass", "steel"};
  Material* bound[5] = {nullptr, &glass, &glass, nullptr, nullptr};
  std::vector<MaterialSlot> slots;
  for (int i = 0; i < 5; ++i) slots.push_back({&names[i], &bound[i]});
  BindMeshMaterials(slots, [&](const std::string& name) -> Material* {
    return name == "steel" ? &steel : name == "glass" ? &glass : nullptr;
  });
  CloseLog();
  EXPECT_THAT(bound, ElementsAreArray({&steel, &glass, static_cast<Material*>(nullptr), &glass, &steel}));
  EXPECT_EQ(ReadFile(dir.File("log.txt")), "error: material chrome wasn't fount\n");
}

}  // namespace
