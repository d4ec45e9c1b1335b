#include "host/music/wave_sizes.h"

#include <cstring>

namespace kestrune {

namespace {

constexpr std::size_t kChunkHeaderSize = 8;
constexpr std::size_t kRiffHeaderSize = 12;

std::uint32_t ReadSize(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
           static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

// Writes `most` over the size at `at` when the size is larger.
void CutSize(std::uint8_t* at, std::size_t most) {
    if (ReadSize(at) <= most) {
        return;
    }
    for (int byte = 0; byte < 4; ++byte) {
        at[byte] = static_cast<std::uint8_t>(most >> (8 * byte));
    }
}

} // namespace

bool FitWaveSizesToFile(std::uint8_t* bytes, std::size_t size) {
    if (size < kRiffHeaderSize || std::memcmp(bytes, "RIFF", 4) != 0 ||
        std::memcmp(bytes + 8, "WAVE", 4) != 0) {
        return false;
    }
    CutSize(bytes + 4, size - kChunkHeaderSize);
    std::size_t at = kRiffHeaderSize;
    while (size - at >= kChunkHeaderSize) {
        std::uint8_t* chunk = bytes + at;
        const std::size_t room = size - at - kChunkHeaderSize;
        CutSize(chunk + 4, room);
        if (std::memcmp(chunk, "data", 4) == 0) {
            break;
        }
        // Chunks start on even offsets.
        const std::size_t length = ReadSize(chunk + 4);
        at += kChunkHeaderSize + length + (length & 1);
        if (at > size) {
            break;
        }
    }
    return true;
}

} // namespace kestrune
