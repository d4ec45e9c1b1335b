#include "host/pictures/star_painter.h"

#include <algorithm>
#include <cstdlib>

namespace kestrune {

namespace {

// Linear falloff along a ray, squared: 1 at the centre, 0 from `length` on.
std::int64_t RayAlong(std::int64_t distanceSubpx, std::int64_t lengthSubpx) {
    if (distanceSubpx >= lengthSubpx) {
        return 0;
    }
    const std::int64_t t = kUnitWeight - distanceSubpx * kUnitWeight / lengthSubpx;
    return t * t / kUnitWeight;
}

} // namespace

void PaintStarCore(LightCanvas& canvas, std::int64_t cx, std::int64_t cy, const Light& light,
                   std::int64_t radiusSubpx) {
    const int reach = static_cast<int>(radiusSubpx / kSubpixel) + 2;
    canvas.AddRadial(cx, cy, reach, light,
                     [radiusSubpx](std::int64_t r2) { return BumpWeight(r2, radiusSubpx, 2); });
}

void PaintStarGlow(LightCanvas& canvas, std::int64_t cx, std::int64_t cy, const Light& light,
                   std::int64_t coreSubpx, int reachPx) {
    const std::int64_t reachSubpx = reachPx * kSubpixel;
    canvas.AddRadial(cx, cy, reachPx + 1, light, [coreSubpx, reachSubpx](std::int64_t r2) {
        return GlowWeight(r2, coreSubpx) * BumpWeight(r2, reachSubpx, 2) / kUnitWeight;
    });
}

void PaintStarRays(LightCanvas& canvas, std::int64_t cx, std::int64_t cy, const Light& light,
                   int lengthPx, std::int64_t halfWidthSubpx) {
    const std::int64_t lengthSubpx = lengthPx * kSubpixel;
    const int reach = lengthPx + 1;
    const int px = static_cast<int>(cx / kSubpixel);
    const int py = static_cast<int>(cy / kSubpixel);
    for (int y = std::max(0, py - reach); y <= std::min(canvas.Height() - 1, py + reach); ++y) {
        const std::int64_t dy = y * kSubpixel + kSubpixel / 2 - cy;
        for (int x = std::max(0, px - reach); x <= std::min(canvas.Width() - 1, px + reach); ++x) {
            const std::int64_t dx = x * kSubpixel + kSubpixel / 2 - cx;
            // The horizontal ray is narrow across y and long along x; the
            // vertical one the other way round.
            const std::int64_t horizontal = RayAlong(std::llabs(dx), lengthSubpx) *
                                            BumpWeight(dy * dy, halfWidthSubpx, 2) / kUnitWeight;
            const std::int64_t vertical = RayAlong(std::llabs(dy), lengthSubpx) *
                                          BumpWeight(dx * dx, halfWidthSubpx, 2) / kUnitWeight;
            if (horizontal + vertical > 0) {
                canvas.Add(x, y, Scaled(light, horizontal + vertical));
            }
        }
    }
}

} // namespace kestrune
