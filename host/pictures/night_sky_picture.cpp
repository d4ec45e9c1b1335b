#include "host/pictures/night_sky_picture.h"

#include "host/pictures/picture_random.h"
#include "host/pictures/star_painter.h"

#include <iterator>

namespace kestrune {

namespace {

// About one star in 400 pixels: sparse, as a dark sky away from the Milky Way
// looks to the eye.
constexpr int kStarCount = 650;
// Peak levels of the stars, from the faintest to the brightest (which burn
// out to white at their centres).
constexpr std::int64_t kFaintestLevel = 70;
constexpr std::int64_t kLevelRange = 230;
// A star's spot ends this far from its centre.
constexpr std::int64_t kStarRadius = kSubpixel * 3 / 2;
// The brightest few also get a small glow, a fifth as bright as the star at
// its centre.
constexpr int kGlowLevel = 200;
constexpr std::int64_t kGlowDivisor = 5;
constexpr std::int64_t kGlowCore = kSubpixel;
constexpr int kGlowReachPx = 5;

// The colours of the stars: white, and two shades of blue.
constexpr Light kStarColours[] = {LightOf(255, 255, 255), LightOf(255, 255, 255),
                                  LightOf(205, 222, 255), LightOf(170, 195, 255)};

// The night itself is not quite black: a trace of deep blue.
constexpr Light kSkyLight = {0, kLightStep / 2, kLightStep * 2};

constexpr int kKneeLevel = 200;
constexpr std::uint64_t kSeed = 0x6B65737472756E34ULL;

} // namespace

Picture MakeNightSkyPicture() {
    LightCanvas canvas(kNightSkySize, kNightSkySize);
    for (int y = 0; y < kNightSkySize; ++y) {
        for (int x = 0; x < kNightSkySize; ++x) {
            canvas.Add(x, y, kSkyLight);
        }
    }

    PictureRandom random(kSeed);
    for (int i = 0; i < kStarCount; ++i) {
        const std::int64_t x = random.Below(kNightSkySize * kSubpixel);
        const std::int64_t y = random.Below(kNightSkySize * kSubpixel);
        // A power of a uniform draw: most stars are faint, a few stand out.
        const std::int64_t u = random.Fraction16();
        const std::int64_t u3 = u * u / kUnitWeight * u / kUnitWeight;
        const std::int64_t level = kFaintestLevel + kLevelRange * u3 / kUnitWeight;
        const Light& colour = kStarColours[random.Below(std::size(kStarColours))];
        const std::int64_t weight = level * kUnitWeight / 255;
        PaintStarCore(canvas, x, y, Scaled(colour, weight), kStarRadius);
        if (level >= kGlowLevel) {
            PaintStarGlow(canvas, x, y, Scaled(colour, weight / kGlowDivisor), kGlowCore,
                          kGlowReachPx);
        }
    }
    return canvas.Develop(kKneeLevel, LightCanvas::Dither::Ordered);
}

} // namespace kestrune
