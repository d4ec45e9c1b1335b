#pragma once

#include "host/saver/light_canvas.h"

namespace kestrune {

// The parts a star is painted from. Centres are in 1/256 pixel; pixel centres
// lie on half pixels, so a star at a whole-pixel position is shared equally by
// the four pixels around it.

// The star's disc as the optics blur it: a bell of `light` at its centre,
// ending at radius_subpx.
void PaintStarCore(LightCanvas& canvas, std::int64_t cx, std::int64_t cy, const Light& light,
                   std::int64_t radius_subpx);

// The long-tailed glow around a bright star, `light` at the centre, falling
// with the square of the distance past core_subpx and cut off smoothly at
// reach_px so that it does not end in a visible edge.
void PaintStarGlow(LightCanvas& canvas, std::int64_t cx, std::int64_t cy, const Light& light,
                   std::int64_t core_subpx, int reach_px);

// Four thin rays along the picture's axes, `light` at the centre, fading to
// nothing at length_px: the cross that a telescope's mirror supports draw
// through the image of a bright star.
void PaintStarRays(LightCanvas& canvas, std::int64_t cx, std::int64_t cy, const Light& light,
                   int length_px, std::int64_t half_width_subpx);

} // namespace kestrune
