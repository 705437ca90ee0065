#pragma once
// The passage's centre line, from the hall's doors to the glass-wall room: straight
// stretches joined by wide bends, so no view down it runs past the far clip distance
// (into black) and a light two seconds behind the runner still sees it round a bend.
// The passage model is built along it and the robot's path follows it.
#include "datagen/animation/route.h"

namespace datagen {

const Route& PassageCentreline();

}  // namespace datagen
