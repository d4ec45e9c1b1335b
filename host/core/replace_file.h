#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace kestrune {

// Replaces the file at `path` with `bytes` as a whole: the bytes go into a new
// temporary file in the same folder, which is then renamed over the old name.
// A reader (the renderer) therefore sees the old file or the new one, never a
// half-written one, and whatever stood at `path` is replaced, never written
// through: a symbolic link there is replaced by a regular file, so the saver
// cannot be tricked into overwriting the link's target. (The settings file is
// replaced the other way, through its links: ReplaceFileFollowingLinks in
// host/core/file_access.h.) On failure the temporary file is removed,
// `path` is left as it was, and `error` (when given) says why.
bool ReplaceFileNotFollowingLinks(const std::string& path, std::span<const std::uint8_t> bytes,
                                  std::string* error = nullptr);

} // namespace kestrune
