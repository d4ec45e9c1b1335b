#pragma once

#include "renderer/resources/dib_status.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace kestrune {

// The largest 24-bit picture the loader will make. Every texture file the
// host writes is far below it; anything larger is a damaged or hostile file,
// refused before a single byte is allocated.
inline constexpr std::uint64_t kMaxImageBytes = std::uint64_t{256} << 20;

// How the stored pixels are encoded.
enum class DibEncoding {
    Indexed,  // 1, 4 or 8 bits per pixel into the colour table
    Rle8,     // run-length encoded 8-bit indices
    Rle4,     // run-length encoded 4-bit indices
    Masked,   // 16 or 32 bits per pixel, channels picked out by masks
    Direct24, // blue, green, red bytes
};

// A BMP file's description after every check: what the conversion needs and
// nothing else. All spans lie inside the file.
struct DibHeader {
    std::int32_t width = 0;  // pixels per row, positive
    std::int32_t height = 0; // rows, positive
    bool topDown = false;    // the first stored row is the top of the picture
    std::uint16_t bitCount = 0;
    DibEncoding encoding = DibEncoding::Indexed;
    // The colour table, for the indexed and run-length encodings.
    std::span<const std::uint8_t> colourTable;
    std::size_t colourEntrySize = 4; // 3 (blue, green, red) or 4 (blue, green, red, reserved)
    std::uint32_t colourCount = 0;
    // Red, green and blue masks, for the masked encoding.
    std::uint32_t masks[3] = {};
    // From the first byte of the pixel data to the end of the file.
    std::span<const std::uint8_t> pixels;
    // Bytes per stored row, padding included, for the uncompressed encodings.
    std::size_t rowBytes = 0;
};

// Reads and checks the headers of a BMP file (with its "BM" file header) or a
// packed DIB (the info header first, pixels right after the colour table).
// Refuses, in this order: a header that is neither the 12-byte core header
// nor the 40-byte info header or that the file cannot hold (UnknownFormat); a
// 24-bit picture larger than kMaxImageBytes (OutOfMemory); anything that does
// not describe complete rows (ConversionError).
DibStatus ReadDibHeader(std::span<const std::uint8_t> file, DibHeader& header);

} // namespace kestrune
