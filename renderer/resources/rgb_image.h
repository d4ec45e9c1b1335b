#pragma once

#include <cstdint>
#include <vector>

namespace kestrune {

// A picture as the textures take it: 24-bit pixels, three bytes each in the
// order red, green, blue, rows packed without padding, and the first row the
// bottom row of the picture (OpenGL's t = 0).
struct RgbImage {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> pixels; // width * height * 3 bytes
};

} // namespace kestrune
