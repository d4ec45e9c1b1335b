#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The settings file holds code page 932 (Shift-JIS as Windows defines it) on
// every platform, while the program keeps its text in UTF-8. These routines
// convert at the file's edge.
namespace kestrune {

// The code page 932 form of UTF-8 text, or nothing when a character has no
// exact form there (or the UTF-8 is malformed). Characters that a converter
// would only approximate (a yen sign written as a backslash, say) count as
// having no form: writing them would silently change the text.
std::optional<std::string> EncodeCp932(std::string_view utf8);

// The UTF-8 form of code page 932 bytes. A byte or byte pair that is no
// character becomes U+FFFD, so damaged files still read as far as they can.
std::string DecodeCp932(std::string_view bytes);

// Length in bytes (1 or 2) of the character that starts at `at`. A lead byte
// takes the next byte as its trail only when that byte can be one; so a line
// break is never swallowed by a broken lead byte before it.
std::size_t Cp932CharLength(std::string_view bytes, std::size_t at);

// The longest start of `bytes` that is at most `maxBytes` long and does not
// end in the middle of a double-byte character.
std::string_view Cp932Prefix(std::string_view bytes, std::size_t maxBytes);

// The platform's converters, strict both ways: nothing when any character
// cannot be converted. One implementation per platform (iconv, Win32).
std::optional<std::string> PlatformUtf8ToCp932(std::string_view utf8);
std::optional<std::string> PlatformCp932ToUtf8(std::string_view bytes);

} // namespace kestrune
