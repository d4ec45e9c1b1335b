#include "host/pictures/value_noise.h"

#include "host/pictures/light_canvas.h"
#include "host/pictures/picture_random.h"

namespace kestrune {

namespace {

// Floor division, since a point may lie left of or above the origin.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// 3t^2 - 2t^3 in 16.16: a blend whose slope is 0 at both lattice points, so
// the cells' seams do not show as creases.
std::int64_t Smoothstep(std::int64_t t) {
    return t * t / kUnitWeight * (3 * kUnitWeight - 2 * t) / kUnitWeight;
}

std::int64_t LatticeValue(std::int64_t ix, std::int64_t iy, std::uint32_t seed) {
    return HashLattice(static_cast<std::int32_t>(ix), static_cast<std::int32_t>(iy), seed) >> 16u;
}

std::int64_t Mix(std::int64_t a, std::int64_t b, std::int64_t t) {
    return a + (b - a) * t / kUnitWeight;
}

} // namespace

std::int64_t ValueNoise(std::int64_t x, std::int64_t y, std::int64_t cellPx, std::uint32_t seed) {
    const std::int64_t cell = cellPx * kSubpixel;
    const std::int64_t ix = FloorDiv(x, cell);
    const std::int64_t iy = FloorDiv(y, cell);
    const std::int64_t tx = Smoothstep((x - ix * cell) * kUnitWeight / cell);
    const std::int64_t ty = Smoothstep((y - iy * cell) * kUnitWeight / cell);
    const std::int64_t top = Mix(LatticeValue(ix, iy, seed), LatticeValue(ix + 1, iy, seed), tx);
    const std::int64_t bottom =
        Mix(LatticeValue(ix, iy + 1, seed), LatticeValue(ix + 1, iy + 1, seed), tx);
    return Mix(top, bottom, ty);
}

std::int64_t FractalNoise(std::int64_t x, std::int64_t y, std::int64_t cellPx, int octaves,
                          std::uint32_t seed) {
    std::int64_t sum = 0;
    std::int64_t totalWeight = 0;
    std::int64_t weight = kUnitWeight;
    for (int octave = 0; octave < octaves && cellPx > 0; ++octave) {
        sum += ValueNoise(x, y, cellPx, seed + static_cast<std::uint32_t>(octave) * 7919u) *
               weight / kUnitWeight;
        totalWeight += weight;
        weight /= 2;
        cellPx /= 2;
    }
    return totalWeight > 0 ? sum * kUnitWeight / totalWeight : 0;
}

} // namespace kestrune
