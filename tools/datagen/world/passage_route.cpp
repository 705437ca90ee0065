#include "datagen/world/passage_route.h"

#include "datagen/world/layout.h"

namespace datagen {

const Route& PassageCentreline() {
  using namespace layout;
  // Out of the doors along -z, two diagonal runs toward +x with a straight between
  // them, down along -z again and round into the glass-wall room along +x, on the
  // glass's line.
  static const Route route({V3(kDoorCentreX, 0, kDoorWallZ - 60.0f), V3(kDoorCentreX, 0, -3600),
                            V3(4300, 0, -6800), V3(4300, 0, -10400), V3(7900, 0, -14000),
                            V3(7900, 0, kGlassCentreZ), V3(kWallRoomMinX, 0, kGlassCentreZ)},
                           2400.0f);
  return route;
}

}  // namespace datagen
