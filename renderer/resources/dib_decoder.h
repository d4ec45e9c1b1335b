#pragma once

#include "renderer/resources/dib_status.h"
#include "renderer/resources/rgb_image.h"

#include <cstdint>
#include <span>

namespace kestrune {

// Decodes a BMP file (or a packed DIB) held in memory into a 24-bit picture.
//
// Accepted: the 12-byte core header and the 40-byte info header; 1, 4 and
// 8 bits per pixel through the colour table; 24 bits; 16 and 32 bits with the
// default channels or with the three masks after the info header; 4- and
// 8-bit run-length encoding; top-down files (turned so that the picture's
// first row is still its bottom row, with a positive height).
//
// Lenient where the pixels are complete: fields the conversion does not need
// (densities, file size, image size) are ignored, indices beyond the colour
// table are black, and run-length streams are clipped at the picture's edges
// and leave black what they never set.
//
// Nothing outside `file` is read. On any status but Decoded `image` is left
// as it was.
DibStatus DecodeDib(std::span<const std::uint8_t> file, RgbImage& image);

} // namespace kestrune
