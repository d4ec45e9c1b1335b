#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kestrune {

// A picture as a person sees it: rows from the top down, each pixel three
// bytes red, green, blue, rows packed without padding. The BMP writer turns it
// into the bottom-up, blue-green-red rows of the file.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    Picture() = default;
    Picture(int w, int h)
        : width(w), height(h), rgb(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 3) {}

    // The first of the three bytes of pixel (x, y), y counted from the top.
    std::uint8_t* PixelAt(int x, int y) {
        return rgb.data() + (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                             static_cast<std::size_t>(x)) *
                                3;
    }
    const std::uint8_t* PixelAt(int x, int y) const {
        return const_cast<Picture*>(this)->PixelAt(x, y);
    }
};

} // namespace kestrune
