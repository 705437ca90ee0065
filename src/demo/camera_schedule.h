#pragma once
// The order in which the animated cameras take over: each camera is shown until the
// timeline passes its end time (the last key of its node's tracks), then the next
// one; the last camera stays after its end. The schedule only moves forward.
#include <memory>
#include <string>
#include <vector>

#include "assets/camera_file.h"
#include "demo/animated_camera.h"

class Animation;

class CameraSchedule {
 public:
  // Reads the camera file and builds the schedule over the "cameras" animation.
  // False, with the reason in error, when the file cannot be read or Build fails.
  bool Load(const std::string& path, Animation& cameras, std::string& error);

  // Makes one camera per record, in file order: its end time from the node with its
  // id, attached to every node of that id; then sorts by end time, keeping the file
  // order of equal times. False, with error naming the camera, when a camera has no
  // node in the animation (its view would never be written); false for no records.
  bool Build(const std::vector<camera_file::CameraRecord>& records, Animation& cameras, std::string& error);

  // The camera for time: the index advances past every camera whose end time lies
  // before time and never moves back; past the last end time the last camera stays.
  // Null when the schedule is empty.
  AnimCamera* Current(float time);

  std::size_t Size() const { return cameras_.size(); }
  AnimCamera& At(std::size_t index) { return *cameras_[index]; }
  const AnimCamera& At(std::size_t index) const { return *cameras_[index]; }
  std::size_t Index() const { return index_; }
  // Puts the schedule back to an index it had (a player rewinding the timeline).
  void Rewind(std::size_t index) { index_ = index < cameras_.size() ? index : 0; }

 private:
  std::vector<std::unique_ptr<AnimCamera>> cameras_;
  std::size_t index_ = 0;
};

// The time of the last key of the node's position, rotation and scale tracks, the
// greatest of the three; a constant or empty track counts 0.
float LastKeyTime(const Animation& node);
