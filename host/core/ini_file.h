#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

// Settings (INI) files on disk: the profile rules of ini_text.h over whole
// files in code page 932 (or UTF-16, when they start with its byte-order
// mark), with UTF-8 names and values.
namespace kestrune {

// The value of `key` in `section` of the file at `path`, at most
// `maxBytes` bytes of code page 932 long (cut where a character ends), as
// UTF-8. A missing or unreadable file, section or key reads as empty.
std::string ReadIniString(const std::string& path, std::string_view section, std::string_view key,
                          std::size_t maxBytes);

enum class IniWriteResult {
    Written,
    Unrepresentable, // code page 932 cannot hold the section, key or value
    InvalidName,     // the names or value would break the file's structure
    FileError,       // the file could not be read or replaced
};

// Sets `key` in `section` of the file at `path` to `value`, creating the
// file, the section and the key as needed. Whatever the result, the file is
// either the old one or the new one, never a mix.
IniWriteResult WriteIniString(const std::string& path, std::string_view section,
                              std::string_view key, std::string_view value);

// One key and its value, for WriteIniStrings.
struct IniEntry {
    std::string_view key;
    std::string_view value;
};

// Sets several keys of `section` at once, in the given order, each by the
// same rules as WriteIniString, and replaces the file once: either every key
// is written or the file stays as it was, byte for byte. The result is that
// of the first key that cannot be written, or FileError.
IniWriteResult WriteIniStrings(const std::string& path, std::string_view section,
                               std::span<const IniEntry> entries);

// A short English description of a result, for messages.
const char* DescribeIniWriteResult(IniWriteResult result);

} // namespace kestrune
