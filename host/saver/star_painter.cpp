#include "host/saver/star_painter.h"

#include <algorithm>
#include <cstdlib>

namespace kestrune {

namespace {

// Linear falloff along a ray, squared: 1 at the centre, 0 from `length` on.
std::int64_t RayAlong(std::int64_t distance_subpx, std::int64_t length_subpx) {
    if (distance_subpx >= length_subpx) {
        return 0;
    }
    const std::int64_t t = kUnitWeight - distance_subpx * kUnitWeight / length_subpx;
    return t * t / kUnitWeight;
}

} // namespace

void PaintStarCore(LightCanvas& canvas, std::int64_t cx, std::int64_t cy, const Light& light,
                   std::int64_t radius_subpx) {
    const int reach = static_cast<int>(radius_subpx / kSubpixel) + 2;
    canvas.AddRadial(cx, cy, reach, light,
                     [radius_subpx](std::int64_t r2) { return BumpWeight(r2, radius_subpx, 2); });
}

void PaintStarGlow(LightCanvas& canvas, std::int64_t cx, std::int64_t cy, const Light& light,
                   std::int64_t core_subpx, int reach_px) {
    const std::int64_t reach_subpx = reach_px * kSubpixel;
    canvas.AddRadial(cx, cy, reach_px + 1, light, [core_subpx, reach_subpx](std::int64_t r2) {
        return GlowWeight(r2, core_subpx) * BumpWeight(r2, reach_subpx, 2) / kUnitWeight;
    });
}

void PaintStarRays(LightCanvas& canvas, std::int64_t cx, std::int64_t cy, const Light& light,
                   int length_px, std::int64_t half_width_subpx) {
    const std::int64_t length_subpx = length_px * kSubpixel;
    const int reach = length_px + 1;
    const int px = static_cast<int>(cx / kSubpixel);
    const int py = static_cast<int>(cy / kSubpixel);
    for (int y = std::max(0, py - reach); y <= std::min(canvas.Height() - 1, py + reach); ++y) {
        const std::int64_t dy = y * kSubpixel + kSubpixel / 2 - cy;
        for (int x = std::max(0, px - reach); x <= std::min(canvas.Width() - 1, px + reach); ++x) {
            const std::int64_t dx = x * kSubpixel + kSubpixel / 2 - cx;
            // The horizontal ray is narrow across y and long along x; the
            // vertical one the other way round.
            const std::int64_t horizontal = RayAlong(std::llabs(dx), length_subpx) *
                                            BumpWeight(dy * dy, half_width_subpx, 2) / kUnitWeight;
            const std::int64_t vertical = RayAlong(std::llabs(dy), length_subpx) *
                                          BumpWeight(dx * dx, half_width_subpx, 2) / kUnitWeight;
            if (horizontal + vertical > 0) {
                canvas.Add(x, y, Scaled(light, horizontal + vertical));
            }
        }
    }
}

} // namespace kestrune
