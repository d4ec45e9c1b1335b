// libFuzzer target: the BMP decoder on arbitrary bytes. Any crash, read
// outside the input, undefined behaviour or oversized allocation is a
// finding; refusals are the expected outcome for most inputs.

#include "renderer/resources/dib_decoder.h"
#include "renderer/resources/dib_header.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// Pictures up to the decoder's own limit are legal, but a run-length file of
// a few bytes can ask for hundreds of megabytes of black, and filling them
// would slow the fuzzer to a crawl. Larger pictures go through the header
// checks only, which is where their size matters.
constexpr std::uint64_t kLargestDecodedBytes = std::uint64_t{16} << 20;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    kestrune::DibHeader header;
    if (kestrune::ReadDibHeader(file, header) == kestrune::DibStatus::Decoded &&
        std::uint64_t(header.width) * std::uint64_t(header.height) * 3 > kLargestDecodedBytes) {
        return 0;
    }

    kestrune::RgbImage image;
    const kestrune::DibStatus status = kestrune::DecodeDib(file, image);
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
