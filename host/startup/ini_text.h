#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The text of a settings (INI) file, read and edited by the rules of the
// Windows profile calls, so that files written by either side read the same
// on both. The text is code page 932 bytes; names and values given here are
// UTF-8. Lines that are not looked up or changed are never touched.
namespace kestrune {

// What a line of the file is.
enum class ProfileLineKind {
    Blank,   // nothing but blanks
    Comment, // first non-blank character ";"
    Section, // first non-blank character "["
    Entry,   // anything else: a key, with or without "=" and a value
};

// One line of the file, as positions in the text and views into it.
struct ProfileLine {
    std::size_t begin = 0;       // first byte of the line
    std::size_t content_end = 0; // first byte of its line break (or the end)
    std::size_t end = 0;         // first byte after its line break
    ProfileLineKind kind = ProfileLineKind::Blank;
    std::string_view name;  // section name or key, blanks trimmed
    std::string_view value; // value of an entry, trimmed and unquoted
};

// Splits the text into lines and sorts them (see ini_text.cpp for the rules).
std::vector<ProfileLine> ParseProfileLines(std::string_view text);

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

} // namespace kestrune
