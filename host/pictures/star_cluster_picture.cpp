#include "host/pictures/star_cluster_picture.h"

#include "host/pictures/picture_random.h"
#include "host/pictures/star_painter.h"
#include "host/pictures/value_noise.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

namespace kestrune {

namespace {

// The cluster's leading stars, placed by hand so that the group has the
// irregular, lopsided shape of a real cluster rather than a random spray:
// position in pixels and brightness in percent of the brightest.
struct LeadingStar {
    int x;
    int y;
    int brightness;
};
constexpr LeadingStar kLeadingStars[] = {
    {128, 116, 100}, {97, 139, 80}, {163, 97, 74},  {151, 152, 62}, {108, 84, 55},
    {181, 134, 50},  {79, 103, 42}, {133, 183, 38}, {61, 160, 30},
};

// The middle of the cluster and of its haze.
constexpr int kCentreX = 124;
constexpr int kCentreY = 126;

// Leading stars: a burnt-out core, a blue-white glow and faint rays, all
// scaled by brightness.
constexpr Light kLeadCoreLight = LightOf(255 * 4, 255 * 4, 255 * 4);
constexpr std::int64_t kLeadCoreRadius = 5 * kSubpixel;
constexpr Light kLeadGlowLight = LightOf(140, 180, 300);
constexpr std::int64_t kLeadGlowCore = 5 * kSubpixel;
constexpr int kLeadGlowReachPx = 36;
// The wide blue bloom that a bright star spreads on a long exposure.
constexpr Light kLeadBloomLight = LightOf(60, 100, 220);
constexpr std::int64_t kLeadBloomRadius = 18 * kSubpixel;
constexpr int kLeadBloomPower = 3;
constexpr Light kLeadRayLight = LightOf(110, 140, 230);
constexpr int kLeadRayShortestPx = 4;
constexpr int kLeadRayLengthPx = 18;
constexpr std::int64_t kLeadRayHalfWidth = kSubpixel;

// The reflection haze: brightest round the leading stars and the middle,
// streaked by noise stretched along one direction, and gone at the edges.
constexpr Light kHazeLight = LightOf(60, 112, 240);
constexpr std::int64_t kHazeStarRadius = 60 * kSubpixel;
constexpr std::int64_t kHazeClusterRadius = 110 * kSubpixel;
constexpr std::int64_t kHazeClusterShare = kUnitWeight / 4;
constexpr std::int64_t kHazeEdgeRadius = 150 * kSubpixel;
constexpr std::int64_t kHazeCellPx = 64;
constexpr int kHazeOctaves = 5;
// Streaks run along the direction (4, 3)/5 and are this many times longer
// than they are wide.
constexpr std::int64_t kStreakStretch = 3;
// The streaks bend: the noise is read at a point pushed aside by two further
// noise fields, up to this far.
constexpr std::int64_t kWarpPx = 28;
constexpr std::int64_t kWarpCellPx = 96;
constexpr std::int64_t kHazeFloor = kUnitWeight / 10;
// The noise of a few octaves gathers round its middle; this stretch of it
// is spread over the full range to give the wisps contrast.
constexpr std::int64_t kWispLow = kUnitWeight * 3 / 10;
constexpr std::int64_t kWispHigh = kUnitWeight * 8 / 10;

// Fainter members of the cluster, crowded towards its middle, blue-white
// with a little glow; their brightness varies by up to five times.
constexpr int kMemberCount = 45;
constexpr int kMemberSpreadPx = 56;
constexpr std::int64_t kMemberFaintest = kUnitWeight / 4;
constexpr Light kMemberCoreLight = LightOf(345, 360, 382);
constexpr std::int64_t kMemberCoreRadius = kSubpixel * 3 / 2;
constexpr Light kMemberGlowLight = LightOf(40, 50, 85);
constexpr std::int64_t kMemberGlowCore = kSubpixel;
constexpr int kMemberGlowReachPx = 6;

// Background stars of the field, scattered evenly: faint points in white,
// pale yellow and pale blue.
constexpr int kFieldStarCount = 320;
constexpr std::int64_t kFieldFaintestLevel = 24;
constexpr std::int64_t kFieldLevelRange = 200;
constexpr std::int64_t kFieldStarRadius = kSubpixel * 5 / 4;
constexpr Light kFieldColours[] = {LightOf(255, 255, 255), LightOf(255, 236, 205),
                                   LightOf(200, 220, 255)};

constexpr int kKneeLevel = 180;
constexpr std::uint64_t kSeed = 0x6B65737472756E33ULL;
constexpr std::uint32_t kHazeSeed = 0x51C3u;

std::int64_t DistanceSquared(std::int64_t x, std::int64_t y, int px, int py) {
    const std::int64_t dx = x - px * kSubpixel;
    const std::int64_t dy = y - py * kSubpixel;
    return dx * dx + dy * dy;
}

void PaintHaze(LightCanvas& canvas) {
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const std::int64_t sx = x * kSubpixel + kSubpixel / 2;
            const std::int64_t sy = y * kSubpixel + kSubpixel / 2;

            std::int64_t envelope =
                BumpWeight(DistanceSquared(sx, sy, kCentreX, kCentreY), kHazeClusterRadius, 2) *
                kHazeClusterShare / kUnitWeight;
            for (const LeadingStar& star : kLeadingStars) {
                envelope +=
                    BumpWeight(DistanceSquared(sx, sy, star.x, star.y), kHazeStarRadius, 3) *
                    star.brightness / 100;
            }
            envelope = envelope *
                       BumpWeight(DistanceSquared(sx, sy, kCentreX, kCentreY), kHazeEdgeRadius, 2) /
                       kUnitWeight;
            if (envelope <= 0) {
                continue;
            }

            // Rotate by the 3-4-5 triangle's angle (exact in integers), then
            // squeeze across the streaks.
            const std::int64_t warpU =
                (FractalNoise(sx, sy, kWarpCellPx, 2, kHazeSeed + 1) - kUnitWeight / 2) * kWarpPx *
                kSubpixel * 2 / kUnitWeight;
            const std::int64_t warpV =
                (FractalNoise(sx, sy, kWarpCellPx, 2, kHazeSeed + 2) - kUnitWeight / 2) * kWarpPx *
                kSubpixel * 2 / kUnitWeight;
            const std::int64_t u = (4 * sx + 3 * sy) / 5 + warpU;
            const std::int64_t v = ((-3 * sx + 4 * sy) / 5 + warpV) * kStreakStretch;
            const std::int64_t noise = FractalNoise(u, v, kHazeCellPx, kHazeOctaves, kHazeSeed);
            // Squaring the noise turns the even cloud into brighter wisps on
            // a thinner veil.
            const std::int64_t spread = std::clamp<std::int64_t>(
                (noise - kWispLow) * kUnitWeight / (kWispHigh - kWispLow), 0, kUnitWeight);
            const std::int64_t wisps = spread * spread / kUnitWeight;
            const std::int64_t density =
                kHazeFloor + (kUnitWeight - kHazeFloor) * wisps / kUnitWeight;
            canvas.Add(x, y, Scaled(kHazeLight, envelope * density / kUnitWeight));
        }
    }
}

// A point in 1/256 pixel drawn from a rough bell around (cx, cy): the sum of
// three uniform draws.
std::int64_t BellCoordinate(PictureRandom& random, int centre, int spreadPx) {
    std::int64_t sum = 0;
    for (int i = 0; i < 3; ++i) {
        sum += random.Between(-spreadPx * static_cast<int>(kSubpixel),
                              spreadPx * static_cast<int>(kSubpixel));
    }
    return centre * kSubpixel + sum / 3;
}

} // namespace

Picture MakeStarClusterPicture() {
    LightCanvas canvas(kStarClusterSize, kStarClusterSize);
    PaintHaze(canvas);

    PictureRandom random(kSeed);
    // The field first, behind the cluster.
    for (int i = 0; i < kFieldStarCount; ++i) {
        const std::int64_t x = random.Below(kStarClusterSize * kSubpixel);
        const std::int64_t y = random.Below(kStarClusterSize * kSubpixel);
        // Cubing a uniform draw makes faint stars common and bright ones rare.
        const std::int64_t u = random.Fraction16();
        const std::int64_t u3 = u * u / kUnitWeight * u / kUnitWeight;
        const std::int64_t level = kFieldFaintestLevel + kFieldLevelRange * u3 / kUnitWeight;
        const Light& colour = kFieldColours[random.Below(std::size(kFieldColours))];
        PaintStarCore(canvas, x, y, Scaled(colour, level * kUnitWeight / 255), kFieldStarRadius);
    }

    // The cluster's fainter members.
    for (int i = 0; i < kMemberCount; ++i) {
        const std::int64_t x = BellCoordinate(random, kCentreX, kMemberSpreadPx);
        const std::int64_t y = BellCoordinate(random, kCentreY, kMemberSpreadPx);
        const std::int64_t u = random.Fraction16();
        const std::int64_t weight = kMemberFaintest + u * u / kUnitWeight;
        PaintStarCore(canvas, x, y, Scaled(kMemberCoreLight, weight), kMemberCoreRadius);
        PaintStarGlow(canvas, x, y, Scaled(kMemberGlowLight, weight), kMemberGlowCore,
                      kMemberGlowReachPx);
    }

    // The leading stars last, over everything.
    for (const LeadingStar& star : kLeadingStars) {
        const std::int64_t x = star.x * kSubpixel;
        const std::int64_t y = star.y * kSubpixel;
        const std::int64_t weight = star.brightness * kUnitWeight / 100;
        canvas.AddRadial(x, y, static_cast<int>(kLeadBloomRadius / kSubpixel) + 1,
                         Scaled(kLeadBloomLight, weight), [](std::int64_t r2) {
                             return BumpWeight(r2, kLeadBloomRadius, kLeadBloomPower);
                         });
        PaintStarGlow(canvas, x, y, Scaled(kLeadGlowLight, weight), kLeadGlowCore,
                      kLeadGlowReachPx);
        PaintStarRays(canvas, x, y, Scaled(kLeadRayLight, weight),
                      kLeadRayShortestPx + kLeadRayLengthPx * star.brightness / 100,
                      kLeadRayHalfWidth);
        // The faintest leading star's core is a little over half as wide as
        // the brightest one's.
        PaintStarCore(canvas, x, y, Scaled(kLeadCoreLight, weight),
                      kLeadCoreRadius * (50 + star.brightness) / 150);
    }
    return canvas.Develop(kKneeLevel, LightCanvas::Dither::Ordered);
}

} // namespace kestrune
