#include "host/core/command_line.h"

#include <charconv>
#include <cmath>
#include <string>

namespace kestrune {

namespace {

// The byte offset of code point `index` of UTF-8 text (the text's size when
// it has fewer).
std::size_t OffsetOfCharacter(std::string_view text, std::size_t index) {
    std::size_t at = 0;
    for (std::size_t n = 0; n < index && at < text.size(); ++n) {
        ++at;
        while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) {
            ++at;
        }
    }
    return at;
}

bool IsSkippedBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::string ModeLetter(std::string_view argumentText) {
    const std::size_t begin = OffsetOfCharacter(argumentText, 1);
    const std::size_t end = OffsetOfCharacter(argumentText, 2);
    std::string letter(argumentText.substr(begin, end - begin));
    for (char& c : letter) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return letter;
}

std::string ParentWindowText(std::string_view argumentText) {
    return std::string(argumentText.substr(OffsetOfCharacter(argumentText, 3)));
}

std::int32_t ParentWindowHandle(std::string_view parentWindowText) {
    // Gather the number's characters without the blanks, then let from_chars
    // read exactly the part that forms a number (independent of the C locale,
    // which the toolkit sets from the user's).
    std::string number;
    enum class Stage { Sign, Whole, Fraction, ExponentSign, Exponent } stage = Stage::Sign;
    for (const char c : parentWindowText) {
        if (IsSkippedBlank(c)) {
            continue;
        }
        if (stage == Stage::Sign && (c == '+' || c == '-')) {
            stage = Stage::Whole;
        } else if ((stage == Stage::Sign || stage == Stage::Whole) && c == '.') {
            stage = Stage::Fraction;
        } else if (stage <= Stage::Fraction && (c == 'e' || c == 'E' || c == 'd' || c == 'D')) {
            stage = Stage::ExponentSign;
            number += 'e';
            continue;
        } else if (stage == Stage::ExponentSign && (c == '+' || c == '-')) {
            stage = Stage::Exponent;
        } else if (IsDigit(c)) {
            if (stage == Stage::Sign) {
                stage = Stage::Whole;
            } else if (stage == Stage::ExponentSign) {
                stage = Stage::Exponent;
            }
        } else {
            break;
        }
        number += c;
    }
    // from_chars stops before a dangling exponent, as reading stops at the
    // first character that cannot continue the number; a lone sign or point
    // reads as no digits.
    const bool negative = !number.empty() && number.front() == '-';
    const std::size_t digits = !number.empty() && (number.front() == '-' || number.front() == '+');
    double value = 0.0;
    std::from_chars(number.data() + digits, number.data() + number.size(), value);
    if (negative) {
        value = -value;
    }
    const double rounded = std::nearbyint(value); // the default mode rounds halves to even
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) {
        return 0;
    }
    return static_cast<std::int32_t>(rounded);
}

} // namespace kestrune
