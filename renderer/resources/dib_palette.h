#pragma once

#include "renderer/resources/dib_header.h"

#include <cstdint>

namespace kestrune {

// The colour table as red, green, blue triples for every index an 8-bit pixel
// can hold. Indices beyond the file's table are black.
struct RgbPalette {
    std::uint8_t rgb[256][3] = {};
};

void BuildPalette(const DibHeader& header, RgbPalette& palette);

} // namespace kestrune
