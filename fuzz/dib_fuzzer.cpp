// libFuzzer target: the BMP decoder on arbitrary bytes. Any crash, read
// outside the input, undefined behaviour or oversized allocation is a
// finding; refusals are the expected outcome for most inputs.

#include "renderer/resources/dib_decoder.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kestrune::RgbImage image;
    const kestrune::DibStatus status = kestrune::DecodeDib({data, size}, image);
    if (status == kestrune::DibStatus::Decoded) {
        // A picture must be exactly as large as its sizes say.
        const std::size_t expected =
            std::size_t(image.width) * std::size_t(image.height) * std::size_t{3};
        if (image.width <= 0 || image.height <= 0 || image.pixels.size() != expected) {
            std::abort();
        }
    } else if (!image.pixels.empty() || image.width != 0 || image.height != 0) {
        // A refusal leaves the image alone.
        std::abort();
    }
    return 0;
}
