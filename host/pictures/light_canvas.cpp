#include "host/pictures/light_canvas.h"

#include <cstddef>

namespace kestrune {

namespace {

// Thresholds of a 4 x 4 Bayer matrix, in 1/256 of a level.
constexpr std::int64_t kDither[4][4] = {
    {8, 136, 40, 168},
    {200, 72, 232, 104},
    {56, 184, 24, 152},
    {248, 120, 216, 88},
};

// Maps light (1/256 levels) to an 8-bit level with a parabolic shoulder above
// the knee: the curve leaves the knee with slope 1, flattens, and reaches full
// white with slope 0 at knee + 2 (255 - knee), past which all light is white.
std::uint8_t DevelopChannel(std::int64_t light, std::int64_t knee, std::int64_t dither) {
    if (light <= 0) {
        return 0;
    }
    const std::int64_t room = 255 * kLightStep - knee;
    std::int64_t level = light;
    if (light > knee) {
        const std::int64_t over = std::min(light - knee, 2 * room);
        level = knee + over - over * over / (4 * room);
    }
    level = (level + dither) / kLightStep;
    return static_cast<std::uint8_t>(std::min<std::int64_t>(level, 255));
}

} // namespace

std::int64_t BumpWeight(std::int64_t r2, std::int64_t radiusSubpx, int power) {
    const std::int64_t radius2 = radiusSubpx * radiusSubpx;
    if (r2 >= radius2) {
        return 0;
    }
    const std::int64_t t = kUnitWeight - r2 * kUnitWeight / radius2;
    std::int64_t weight = kUnitWeight;
    for (int i = 0; i < power; ++i) {
        weight = weight * t / kUnitWeight;
    }
    return weight;
}

std::int64_t GlowWeight(std::int64_t r2, std::int64_t coreSubpx) {
    // 1 / (1 + r^2/a^2) in 16.16, then squared.
    const std::int64_t denominator = kUnitWeight + r2 * kUnitWeight / (coreSubpx * coreSubpx);
    const std::int64_t inverse = kUnitWeight * kUnitWeight / denominator;
    return inverse * inverse / kUnitWeight;
}

LightCanvas::LightCanvas(int width, int height)
    : m_width(width), m_height(height),
      m_light(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {}

void LightCanvas::Add(int x, int y, const Light& light) {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return;
    }
    Light& pixel = m_light[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) +
                           static_cast<std::size_t>(x)];
    pixel.r += light.r;
    pixel.g += light.g;
    pixel.b += light.b;
}

Picture LightCanvas::Develop(int kneeLevel, Dither dither) const {
    Picture picture(m_width, m_height);
    const std::int64_t knee = kneeLevel * kLightStep;
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            const Light& light =
                m_light[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) +
                        static_cast<std::size_t>(x)];
            const std::int64_t threshold = dither == Dither::Ordered ? kDither[y & 3][x & 3] : 0;
            std::uint8_t* out = picture.PixelAt(x, y);
            out[0] = DevelopChannel(light.r, knee, threshold);
            out[1] = DevelopChannel(light.g, knee, threshold);
            out[2] = DevelopChannel(light.b, knee, threshold);
        }
    }
    return picture;
}

} // namespace kestrune
