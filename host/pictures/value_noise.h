#pragma once

#include <cstdint>

namespace kestrune {

// Smooth random values over the plane in integer arithmetic, for the haze of
// the star cluster. Values lie on a lattice of the given cell size and are
// blended with a smoothstep curve between lattice points.

// One layer: a 16.16 value in [0, 1) at point (x, y) given in 1/256 pixel.
std::int64_t ValueNoise(std::int64_t x, std::int64_t y, std::int64_t cellPx, std::uint32_t seed);

// Fractal noise: `octaves` layers, each with half the cell size and half the
// weight of the one before, normalised back to a 16.16 value in [0, 1).
std::int64_t FractalNoise(std::int64_t x, std::int64_t y, std::int64_t cellPx, int octaves,
                          std::uint32_t seed);

} // namespace kestrune
