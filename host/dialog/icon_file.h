#pragma once

#include "host/forms/picture.h"

#include <cstdint>
#include <vector>

namespace kestrune {

// The bytes of a Windows icon file (.ico) holding `picture` as its one
// image: 32 bits per pixel, every pixel opaque. Pictures up to 256 pixels a
// side.
std::vector<std::uint8_t> IcoFileBytes(const Picture& picture);

} // namespace kestrune
