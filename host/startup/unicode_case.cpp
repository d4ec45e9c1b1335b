#include "host/startup/unicode_case.h"

#include <cstddef>

namespace kestrune {

namespace {

// A range of upper-case letters whose lower-case partners lie `offset` code
// points higher. These are the letters with case that code page 932 can
// represent.
struct CaseRange {
    char32_t first;
    char32_t last;
    char32_t offset;
};

constexpr CaseRange kCaseRanges[] = {
    {U'A', U'Z', 0x20},     // ASCII
    {0x0391, 0x03A1, 0x20}, // Greek Alpha to Rho
    {0x03A3, 0x03A9, 0x20}, // Greek Sigma to Omega (U+03A2 is unassigned)
    {0x0401, 0x0401, 0x50}, // Cyrillic Io
    {0x0410, 0x042F, 0x20}, // Cyrillic A to Ya
    {0x2160, 0x216F, 0x10}, // Roman numerals
    {0xFF21, 0xFF3A, 0x20}, // full-width Latin
};

constexpr char32_t kInvalid = 0xFFFFFFFF;

// Decodes the UTF-8 character at `at` and advances past it. Malformed bytes
// decode one at a time to a value no real character has, so they only ever
// equal the same malformed byte.
char32_t NextCodePoint(std::string_view text, std::size_t& at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = 0;
    char32_t value = 0;
    if (lead < 0x80) {
        ++at;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
        value = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        value = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        value = lead & 0x07;
    }
    if (length == 0 || at + length > text.size()) {
        ++at;
        return kInvalid - lead;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            ++at;
            return kInvalid - lead;
        }
        value = (value << 6) | (byte(at + i) & 0x3F);
    }
    at += length;
    return value;
}

} // namespace

char32_t FoldCase(char32_t code_point) {
    for (const CaseRange& range : kCaseRanges) {
        if (code_point >= range.first && code_point <= range.last) {
            return code_point + range.offset;
        }
    }
    return code_point;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    std::size_t at_a = 0;
    std::size_t at_b = 0;
    while (at_a < a.size() && at_b < b.size()) {
        if (FoldCase(NextCodePoint(a, at_a)) != FoldCase(NextCodePoint(b, at_b))) {
            return false;
        }
    }
    return at_a == a.size() && at_b == b.size();
}

} // namespace kestrune
