#pragma once

#include "renderer/resources/rgb_image.h"

#include <optional>

namespace kestrune {

// Loads a BMP file from disk as a 24-bit picture (see DecodeDib for what is
// accepted). A null name gives nothing. A file that cannot even be opened for
// reading gives nothing without a word: a missing texture file is no error.
// Every other failure shows exactly one message, captioned "Error", through
// the current message sink before giving nothing.
std::optional<RgbImage> LoadDib(const char* fileName);

} // namespace kestrune
