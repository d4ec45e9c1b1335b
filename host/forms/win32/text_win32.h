#pragma once

#include "common/utf8_win32.h"

#include <string>
#include <string_view>

// The host keeps its text in UTF-8; every text the backend hands to Windows
// goes through the wide-character calls, so that Japanese captions show
// whatever the system's ANSI code page is. A text that cannot be converted
// (which the host's own texts never are) is shown empty rather than with
// stand-in characters.
namespace kestrune::forms::win32 {

inline std::wstring Utf16(std::string_view utf8) {
    return Widen(utf8).value_or(std::wstring());
}

inline std::string Utf8(std::wstring_view utf16) {
    return Narrow(utf16).value_or(std::string());
}

} // namespace kestrune::forms::win32
