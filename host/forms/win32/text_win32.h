#pragma once

#include <string>
#include <string_view>

// The host keeps its text in UTF-8; every text the backend hands to Windows
// goes through the wide-character calls, so that Japanese captions show
// whatever the system's ANSI code page is.
namespace kestrune::forms::win32 {

// UTF-16 of UTF-8 text; a malformed byte becomes U+FFFD.
std::wstring Utf16(std::string_view utf8);

// UTF-8 of UTF-16 text; an unpaired surrogate becomes U+FFFD.
std::string Utf8(std::wstring_view utf16);

} // namespace kestrune::forms::win32
