#pragma once

namespace kestrune {

// What became of a BMP file: a picture, or the reason there is none. Each
// refusal has its own user message (DibStatusMessage).
enum class DibStatus {
    Decoded,
    UnknownFormat,   // no "BM" file or packed DIB with a 12- or 40-byte header
    OutOfMemory,     // the 24-bit picture would be too large to hold
    ConversionError, // the header describes nothing the conversion can turn into rows
};

// The message shown for a refusal; null for Decoded.
const char* DibStatusMessage(DibStatus status);

} // namespace kestrune
