#pragma once

#include "renderer/resources/dib_header.h"

#include <cstdint>

namespace kestrune {

// Converts the uncompressed rows (indexed, masked and 24-bit encodings) into
// `out`, which holds width * height * 3 bytes. Rows land bottom row first,
// whatever the file's own row order.
void ConvertRows(const DibHeader& header, std::uint8_t* out);

} // namespace kestrune
