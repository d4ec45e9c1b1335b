#pragma once

#include "renderer/resources/dib_header.h"

#include <cstdint>

namespace kestrune {

// Decodes a run-length encoded (4- or 8-bit) bottom-up picture into `out`,
// which holds width * height * 3 zero bytes. Pixels the stream never sets stay
// black; runs past the right edge or the top row are clipped; a stream that
// ends early, with or without its end code, simply ends the picture.
void DecodeRle(const DibHeader& header, std::uint8_t* out);

} // namespace kestrune
