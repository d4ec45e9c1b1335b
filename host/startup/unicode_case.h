#pragma once

#include <string_view>

namespace kestrune {

// Whether two UTF-8 names are equal without regard to case, as the profile
// calls of Windows compare section and key names. Windows converts the file
// and the names to UTF-16 and compares whole characters, so case is folded
// for every letter code page 932 can hold: the ASCII letters, and the
// double-byte full-width Latin, Greek and Cyrillic letters and Roman
// numerals. The trail byte of a double-byte character is never folded on
// its own (the kana "ｱ" and the kanji "表" stay themselves), and width or
// kana kind are not ignored ("Ａ" is not "A", "ﾘ" is not "リ").
bool EqualIgnoringCase(std::string_view a, std::string_view b);

// The lower-case partner of a code point under that folding (itself when it
// has none).
char32_t FoldCase(char32_t code_point);

} // namespace kestrune
