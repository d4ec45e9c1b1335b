#pragma once

#include "host/forms/picture.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kestrune {

// The bytes of a picture as a Windows BMP file: a 14-byte file header, a
// 40-byte info header, no colour table, 24 bits per pixel uncompressed, rows
// bottom-up in blue-green-red order, each row padded with zeros to a multiple
// of 4 bytes. This is the plainest layout every BMP reader understands.
std::vector<std::uint8_t> EncodeBmp(const Picture& picture);

// Saves a picture as a BMP file at `path`, replacing whatever is there as a
// whole, a symbolic link included (see ReplaceFileNotFollowingLinks). Returns
// false, with a reason in `error` when one is given, if the file could not be
// written; the old file then stays as it was.
bool SaveBmp(const std::string& path, const Picture& picture, std::string* error = nullptr);

} // namespace kestrune
