#include "renderer/resources/dib_palette.h"

#include <algorithm>

namespace kestrune {

void BuildPalette(const DibHeader& header, RgbPalette& palette) {
    const std::uint32_t count = std::min<std::uint32_t>(header.colourCount, 256);
    for (std::uint32_t i = 0; i < count; ++i) {
        // Both entry kinds start with blue, green, red; a 4-byte entry's
        // fourth byte is reserved and never used.
        const std::uint8_t* entry = header.colourTable.data() + i * header.colourEntrySize;
        palette.rgb[i][0] = entry[2];
        palette.rgb[i][1] = entry[1];
        palette.rgb[i][2] = entry[0];
    }
    for (std::uint32_t i = count; i < 256; ++i) {
        palette.rgb[i][0] = palette.rgb[i][1] = palette.rgb[i][2] = 0;
    }
}

} // namespace kestrune
