#pragma once

#include <optional>
#include <string>
#include <string_view>

// The text of a settings (INI) file, read and edited by the rules of the
// Windows profile calls, so that files written by either side read the same
// on both. The text is code page 932 bytes (or UTF-16, see ini_text.cpp);
// names and values given here are UTF-8. Lines that are not looked up or
// changed are never touched.
namespace kestrune {

// The value (code page 932 bytes) of `key` in `section`, or nothing when the
// section or the key is missing.
std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key);

enum class ProfileEditStatus {
    Changed,         // `text` holds the new file text
    Unrepresentable, // code page 932 cannot hold the section, key or value
    InvalidName,     // the names or value would break the file's structure
};

struct ProfileEdit {
    ProfileEditStatus status = ProfileEditStatus::InvalidName;
    std::string text;
};

// The file text with `key` in `section` set to `value`, creating the section
// and the key as needed.
ProfileEdit SetProfileValue(std::string_view text, std::string_view section, std::string_view key,
                            std::string_view value);

// A settings file in UTF-16 holds little-endian code units after its
// byte-order mark; these convert such units to and from UTF-8. An unpaired
// surrogate keeps its own three-byte form, so that a round trip gives back
// every unit as it was.
std::string Utf16LeToUtf8(std::string_view bytes);
std::string Utf8ToUtf16Le(std::string_view utf8);

} // namespace kestrune
