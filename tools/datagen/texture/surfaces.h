#pragma once
// The procedural surfaces the world is painted with. Each makes a tiling colour
// picture and, where the surface has relief, a height field that NormalMap turns into
// a tangent-space normal map. Colours are near neutral where a material tints them
// (painted steel), and carry their own colour where they are one thing (concrete,
// hazard stripes).
#include <cstdint>

#include "datagen/texture/canvas.h"

namespace datagen {

struct Surface {
  Canvas colour;
  Canvas height;  // 0..1 in r; empty when the surface is flat
};

// A tangent-space normal map (RGB) of a tiling height field; strength scales the slopes.
Canvas NormalMap(const Canvas& height, float strength);

// Poured concrete floor: slabs (2 x 2 per repeat) with saw-cut joints, trowel marks,
// stains and oil spots.
Surface ConcreteFloor(int size, std::uint32_t seed);
// Wall cladding: vertical corrugated sheets, panel seams, grime rising from the floor
// and streaks running down. One repeat spans the wall's height (v = 0 at the floor).
Surface CladdingWall(int size, std::uint32_t seed);
// Light neutral paint over steel: roller texture, scratches, chips and rust spots.
Surface PaintedSteel(int size, std::uint32_t seed);
// Worn yellow and black diagonal stripes.
Surface HazardStripes(int size, std::uint32_t seed);
// Catwalk grating: a grid of flat bars over a dark void.
Surface Grating(int size, std::uint32_t seed);
// Steel floor plate with a raised diamond tread, dark and scuffed.
Surface TreadPlate(int size, std::uint32_t seed);
// A riveted door leaf: plates with horizontal stiffeners, worn paint.
Surface DoorPlate(int size, std::uint32_t seed);
// Corridor wall: precast panels with seams, bolts and a painted band.
Surface CorridorPanels(int size, std::uint32_t seed);
// Corrugated roof deck seen from below.
Surface RoofDeck(int size, std::uint32_t seed);
// Brushed metal (chrome parts, machine covers).
Surface BrushedMetal(int size, std::uint32_t seed);
// Glass: nearly clear with faint smudges and a frosted rim.
Surface GlassPane(int size, std::uint32_t seed);
// Soft round light pool (white, alpha falling off to the rim) for the lamp glow decals.
Canvas LightPool(int size);
// A shaft of light seen from the side (white, alpha): strongest at the lamp (top of
// the picture), fading to nothing at the floor, with faint dusty streaks across.
Canvas LightShaft(int size, std::uint32_t seed);

}  // namespace datagen
