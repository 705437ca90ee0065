#pragma once
// A welding arm of the factory hall: four rigid models (base, upper arm, forearm, end
// effector). Only the end effector is animated, by its node animation; the other three
// follow it through a two-bone solve every frame. A keyed value stored with the end
// effector switches the arm's sparks on and off.
#include <string>
#include <vector>

#include "anim/math.h"
#include "scenes/spark_emitter.h"

class Animation;
class ISceneWorld;
class KeyedValue;
class Mesh;
class Model;

// The matrices of the three solved segments.
struct ArmPose {
  sm::Mat4 base;     // turns about the vertical at the base only
  sm::Mat4 upper;    // from the base towards the elbow
  sm::Mat4 forearm;  // from the elbow towards the end effector
  sm::Vec3 elbow;
};

constexpr float kUpperArmLength = 450.0f;
constexpr float kForearmLength = 415.0f;

// Places the elbow so that the upper arm (450) reaches from base to elbow and the
// forearm (415) from elbow to end, bent upward for a horizontal reach. Where no elbow
// can do that (an end beyond 865, or nearer than 35) the upper arm points straight at
// the end and the forearm goes on from its tip towards it: the matrices stay finite.
ArmPose SolveArm(const sm::Vec3& base, const sm::Vec3& end);

class MechanicalArm {
 public:
  // Resolves the models prefix + "base", "joint1", "joint2", "end", the end model's
  // meshes "arm_end" and "_ctrl_props", the node animation prefix + "end" and the
  // control mesh's node value sparkName; marks the four models' sub-meshes exempt from
  // culling and attaches the animation to the end model. False, with one log line
  // naming what is missing.
  bool Setup(ISceneWorld& world, const std::string& sparkName, const sm::Vec3& basePosition,
             const std::string& prefix);

  // Animates the end effector at t, solves the other segments towards it, moves the
  // emitter to the torch tip (100 units along the end effector's y axis), switches it
  // by the spark signal at t and updates it by dt. Allocates nothing.
  void Update(float t, float dt);

  const SparkEmitter& Emitter() const { return emitter_; }
  SparkEmitter& Emitter() { return emitter_; }
  // Base, upper arm, forearm, end.
  const std::vector<Model*>& Models() const { return models_; }
  const sm::Vec3& BasePosition() const { return basePosition_; }

 private:
  sm::Vec3 basePosition_;
  Model* baseModel_ = nullptr;
  Model* upperModel_ = nullptr;
  Model* forearmModel_ = nullptr;
  Model* endModel_ = nullptr;
  Mesh* endMesh_ = nullptr;
  Mesh* controlMesh_ = nullptr;
  Animation* endAnimation_ = nullptr;
  const KeyedValue* sparkSignal_ = nullptr;
  SparkEmitter emitter_;
  std::vector<Model*> models_;
};
