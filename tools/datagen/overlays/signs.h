#pragma once
// Pictures painted onto world surfaces: the readouts on the small monitors and the
// lettering of the lit signs. They are material maps (named in world/materials.cpp).
#include "datagen/texture/canvas.h"
#include "datagen/texture/text.h"

namespace datagen {

// A small monitor's still readout: bright lines and a bar graph on dark.
Canvas MonitorReadout(Fonts& fonts);
// A sign's lettering, light on dark, one line filling the picture.
Canvas SignLettering(Fonts& fonts, const char* text, int width, int height);

}  // namespace datagen
