#include "renderer/resources/rgb_scale.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace kestrune {

namespace {

// Where one output sample falls in the source along one axis: the two source
// pixels around it and the weight of the second.
struct Tap {
    int first = 0;
    int second = 0;
    float weight = 0.0f;
};

std::vector<Tap> Taps(int sourceSize, int targetSize) {
    std::vector<Tap> taps(static_cast<std::size_t>(targetSize));
    const float ratio = static_cast<float>(sourceSize) / static_cast<float>(targetSize);
    for (int i = 0; i < targetSize; ++i) {
        // Pixel centres line up: the first and last samples sit on the
        // source's first and last centres at the most.
        const float at = std::clamp((static_cast<float>(i) + 0.5f) * ratio - 0.5f, 0.0f,
                                    static_cast<float>(sourceSize - 1));
        Tap& tap = taps[static_cast<std::size_t>(i)];
        tap.first = static_cast<int>(std::floor(at));
        tap.second = std::min(tap.first + 1, sourceSize - 1);
        tap.weight = at - static_cast<float>(tap.first);
    }
    return taps;
}

} // namespace

RgbImage ScaleRgbImage(const RgbImage& source, int width, int height) {
    RgbImage target;
    target.width = width;
    target.height = height;
    target.pixels.resize(std::size_t(width) * std::size_t(height) * 3);
    const std::vector<Tap> columns = Taps(source.width, width);
    const std::vector<Tap> rows = Taps(source.height, height);
    const std::size_t sourceRow = std::size_t(source.width) * 3;
    auto at = [&](int x, int y, int channel) {
        return static_cast<float>(
            source.pixels[std::size_t(y) * sourceRow + std::size_t(x) * 3 + std::size_t(channel)]);
    };
    std::uint8_t* out = target.pixels.data();
    for (const Tap& row : rows) {
        for (const Tap& column : columns) {
            for (int c = 0; c < 3; ++c) {
                const float bottom = at(column.first, row.first, c) * (1.0f - column.weight) +
                                     at(column.second, row.first, c) * column.weight;
                const float top = at(column.first, row.second, c) * (1.0f - column.weight) +
                                  at(column.second, row.second, c) * column.weight;
                const float value = bottom * (1.0f - row.weight) + top * row.weight;
                *out++ = static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0f, 255.0f)));
            }
        }
    }
    return target;
}

} // namespace kestrune
