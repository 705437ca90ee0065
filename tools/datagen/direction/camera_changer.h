#pragma once
// The property script's "camera_changer" track, written from the shot list that the
// cameras are built from: one key per shot, where the shot begins, stepping to the
// shot's index. The hand-written script (content/properties/props.scr) declares the
// track without keys and the data set's copy gets them here, so the cut list is written
// once (cuts.h) and the editing aids step through exactly the shots the demo shows.
#include <string>
#include <vector>

#include "datagen/direction/shot_list.h"

namespace datagen {

// The script with the keys of its camera_changer track written in, one line
// "  k <start> 0 <index>" per shot, right after the line that names the track. False,
// with error set, when the script declares no such track, declares it more than once,
// or gives it keys of its own (the cut list would then be written twice).
bool WithCameraChangerKeys(const std::string& script, const std::vector<CameraShot>& shots, std::string& out,
                           std::string& error);

// A key time as the script writes it: the shortest decimal that reads back as the same
// float, with at least one digit after the point ("0.0", "9.994", "102.81").
std::string KeyTimeText(float seconds);

}  // namespace datagen
