#include "host/preview/preview_still.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string_view>

namespace kestrune {

extern const unsigned char kPreviewStillPpm[];
extern const std::size_t kPreviewStillPpmSize;

namespace {

// Reads one decimal field of a PPM header after its whitespace; -1 when there
// is none.
int ReadHeaderNumber(std::string_view bytes, std::size_t& at) {
    while (at < bytes.size() &&
           (bytes[at] == ' ' || bytes[at] == '\n' || bytes[at] == '\t' || bytes[at] == '\r')) {
        ++at;
    }
    int value = -1;
    while (at < bytes.size() && bytes[at] >= '0' && bytes[at] <= '9' && value < 100000) {
        value = (value < 0 ? 0 : value * 10) + (bytes[at] - '0');
        ++at;
    }
    return value;
}

} // namespace

Picture PreviewStill() {
    // The file is the binary PPM that kestrune-tool snapshot writes: "P6",
    // width, height, 255, one whitespace byte, then the RGB rows top first.
    const std::string_view bytes(reinterpret_cast<const char*>(kPreviewStillPpm),
                                 kPreviewStillPpmSize);
    std::size_t at = 2;
    if (bytes.substr(0, 2) != "P6") {
        return Picture();
    }
    const int width = ReadHeaderNumber(bytes, at);
    const int height = ReadHeaderNumber(bytes, at);
    const int maximum = ReadHeaderNumber(bytes, at);
    ++at;
    if (width <= 0 || height <= 0 || maximum != 255 ||
        bytes.size() - std::min(at, bytes.size()) !=
            static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3) {
        return Picture();
    }
    Picture still(width, height);
    std::memcpy(still.rgb.data(), bytes.data() + at, still.rgb.size());
    return still;
}

} // namespace kestrune
