#pragma once

#include <optional>
#include <string>

namespace kestrune {

// Text is UTF-8 in memory on every platform. Windows' wide calls take every
// name the file system can hold, where the ANSI ones would read the bytes in
// the system's code page and miss or mangle, say, a Japanese folder name.
// Returns nothing for bytes that are not valid UTF-8.
std::optional<std::wstring> Widen(const std::string& utf8);

} // namespace kestrune
