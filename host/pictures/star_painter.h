#pragma once

#include "host/pictures/light_canvas.h"

namespace kestrune {

// The parts a star is painted from. Centres are in 1/256 pixel; pixel centres
// lie on half pixels, so a star at a whole-pixel position is shared equally by
// the four pixels around it.

// The star's disc as the optics blur it: a bell of `light` at its centre,
// ending at radiusSubpx.
void PaintStarCore(LightCanvas& canvas, std::int64_t cx, std::int64_t cy, const Light& light,
                   std::int64_t radiusSubpx);

// The long-tailed glow around a bright star, `light` at the centre, falling
// with the square of the distance past coreSubpx and cut off smoothly at
// reachPx so that it does not end in a visible edge.
void PaintStarGlow(LightCanvas& canvas, std::int64_t cx, std::int64_t cy, const Light& light,
                   std::int64_t coreSubpx, int reachPx);

// Four thin rays along the picture's axes, `light` at the centre, fading to
// nothing at lengthPx: the cross that a telescope's mirror supports draw
// through the image of a bright star.
void PaintStarRays(LightCanvas& canvas, std::int64_t cx, std::int64_t cy, const Light& light,
                   int lengthPx, std::int64_t halfWidthSubpx);

} // namespace kestrune
