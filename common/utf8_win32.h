#pragma once

#include <optional>
#include <string>
#include <string_view>

// The one place where text crosses between bytes and Windows' UTF-16.
namespace kestrune {

// Strict conversions between the bytes of code page `codePage` and UTF-16:
// bytes that are not valid in the code page, or a character that it cannot
// hold exactly, give nothing. No best-fit look-alike and no default character
// ever stands in for a character, since a stand-in could name another file
// or change a setting's meaning.
std::optional<std::wstring> WideFromCodePage(std::string_view bytes, unsigned codePage);
std::optional<std::string> CodePageFromWide(std::wstring_view wide, unsigned codePage);

// Text is UTF-8 in memory on every platform. Windows' wide calls take every
// name the file system can hold, where the ANSI ones would read the bytes in
// the system's code page and miss or mangle, say, a Japanese folder name.
// Widen gives nothing for bytes that are not valid UTF-8, Narrow for UTF-16
// that is not valid (a lone surrogate).
std::optional<std::wstring> Widen(std::string_view utf8);
std::optional<std::string> Narrow(std::wstring_view wide);

} // namespace kestrune
