#pragma once

#include "host/forms/picture.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace kestrune {

// Fixed-point units shared by the picture generators. Everything is integer
// arithmetic so that the pictures are the same bytes on every platform: the
// floating-point maths libraries differ in the last bit, and one bit is enough
// to change a pinned picture.
inline constexpr std::int64_t kSubpixel = 256;     // positions: 1/256 pixel
inline constexpr std::int64_t kUnitWeight = 65536; // weights: 16.16, 1.0 = 65536
inline constexpr std::int64_t kLightStep = 256;    // light: one 8-bit level = 256

// Light of one colour: red, green, blue in 1/256 of an 8-bit level, so that
// (255, 255, 255) x kLightStep is full white and more is over-exposure.
struct Light {
    std::int64_t r = 0;
    std::int64_t g = 0;
    std::int64_t b = 0;
};

// A colour given as 8-bit levels, scaled to light.
constexpr Light LightOf(int r, int g, int b) {
    return {r * kLightStep, g * kLightStep, b * kLightStep};
}

// Light scaled by a 16.16 weight.
constexpr Light Scaled(const Light& light, std::int64_t weight) {
    return {light.r * weight / kUnitWeight, light.g * weight / kUnitWeight,
            light.b * weight / kUnitWeight};
}

// Radial profiles of a star's light. r2 is the squared distance from the
// centre in 16.16 square pixels (a distance in 1/256 pixel, squared); the
// result is a 16.16 weight, 1.0 at the centre.

// (1 - r^2 / R^2)^power inside radius R (in 1/256 pixel), exactly 0 from R
// on: a bell shape close to a Gaussian that, unlike one, ends at a known
// distance.
std::int64_t BumpWeight(std::int64_t r2, std::int64_t radiusSubpx, int power);

// 1 / (1 + r^2 / a^2)^2: the long-tailed glow of a star on a photograph
// (a Moffat profile with beta = 2), a being the core radius in 1/256 pixel.
std::int64_t GlowWeight(std::int64_t r2, std::int64_t coreSubpx);

// An accumulation buffer of light, developed into a picture at the end the way
// a film or sensor would: linear below a knee, then rolling off towards full
// white, so bright stars burn out to white while their coloured halos stay.
class LightCanvas {
public:
    LightCanvas(int width, int height);

    int Width() const { return m_width; }
    int Height() const { return m_height; }

    void Add(int x, int y, const Light& light);

    // Adds light around a centre given in 1/256 pixel (pixel centres lie at
    // half pixels), weighted by weightOf(r2) for each pixel within reachPx
    // of the centre.
    template <typename WeightOf>
    void AddRadial(std::int64_t cx, std::int64_t cy, int reachPx, const Light& light,
                   WeightOf weightOf) {
        const int x0 = std::max(0, static_cast<int>(cx / kSubpixel) - reachPx);
        const int x1 = std::min(m_width - 1, static_cast<int>(cx / kSubpixel) + reachPx);
        const int y0 = std::max(0, static_cast<int>(cy / kSubpixel) - reachPx);
        const int y1 = std::min(m_height - 1, static_cast<int>(cy / kSubpixel) + reachPx);
        for (int y = y0; y <= y1; ++y) {
            const std::int64_t dy = y * kSubpixel + kSubpixel / 2 - cy;
            for (int x = x0; x <= x1; ++x) {
                const std::int64_t dx = x * kSubpixel + kSubpixel / 2 - cx;
                const std::int64_t weight = weightOf(dx * dx + dy * dy);
                if (weight > 0) {
                    Add(x, y, Scaled(light, weight));
                }
            }
        }
    }

    // Develops the light into 8-bit levels: linear up to kneeLevel, then a
    // rational shoulder approaching 255. Where no light fell the pixel stays
    // 0. With `dither`, a 4 x 4 ordered dither breaks up the banding of faint
    // gradients (at the price of symmetry); without, levels are rounded down.
    enum class Dither { None, Ordered };
    Picture Develop(int kneeLevel, Dither dither) const;

private:
    int m_width;
    int m_height;
    std::vector<Light> m_light;
};

} // namespace kestrune
