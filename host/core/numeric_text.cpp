#include "host/core/numeric_text.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace kestrune {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t SkipDigits(std::string_view text, std::size_t at) {
    while (at < text.size() && IsDigit(text[at])) {
        ++at;
    }
    return at;
}

// The power of ten of the first significant digit of a number that matched
// the grammar above (without its sign): 2 for "123", -3 for "0.00123e0",
// 2 for "1e2". Saturates instead of overflowing.
long DecimalMagnitude(std::string_view number) {
    constexpr long kSaturation = 1000000;
    long integerDigits = 0; // integer digits from the first non-zero one on
    long fractionZeros = 0; // zeros after the point before the first other digit
    bool found = false;
    bool inFraction = false;
    std::size_t at = 0;
    for (; at < number.size() && number[at] != 'e' && number[at] != 'E'; ++at) {
        if (number[at] == '.') {
            inFraction = true;
        } else if (!inFraction) {
            if (found || number[at] != '0') {
                found = true;
                integerDigits = std::min(kSaturation, integerDigits + 1);
            }
        } else if (!found) {
            if (number[at] == '0') {
                fractionZeros = std::min(kSaturation, fractionZeros + 1);
            } else {
                found = true;
            }
        }
    }
    const long magnitude = integerDigits > 0 ? integerDigits - 1 : -(fractionZeros + 1);
    if (!found) {
        return -kSaturation;
    }
    long exponent = 0;
    bool exponentNegative = false;
    if (at < number.size()) {
        ++at;
        if (at < number.size() && (number[at] == '+' || number[at] == '-')) {
            exponentNegative = number[at] == '-';
            ++at;
        }
        for (; at < number.size(); ++at) {
            exponent = std::min(kSaturation, exponent * 10 + (number[at] - '0'));
        }
    }
    return magnitude + (exponentNegative ? -exponent : exponent);
}

} // namespace

std::optional<double> ParseNumericText(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }

    // Check the whole grammar first; from_chars alone would accept forms such
    // as "inf", "nan" or hexadecimal digits after "0x".
    std::size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    const std::size_t mantissa = at;
    const std::size_t integerEnd = SkipDigits(text, at);
    bool hasDigits = integerEnd > at;
    at = integerEnd;
    if (at < text.size() && text[at] == '.') {
        const std::size_t fractionEnd = SkipDigits(text, at + 1);
        hasDigits = hasDigits || fractionEnd > at + 1;
        at = fractionEnd;
    }
    if (!hasDigits) {
        return std::nullopt;
    }
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        std::size_t exponent = at + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) {
            ++exponent;
        }
        const std::size_t exponentEnd = SkipDigits(text, exponent);
        if (exponentEnd == exponent) {
            return std::nullopt;
        }
        at = exponentEnd;
    }
    if (at != text.size()) {
        return std::nullopt;
    }

    double value = 0.0;
    const std::string_view number = text.substr(mantissa);
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value,
                                              std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        // Beyond a double's range both ways: too large is an infinity, too
        // small a zero. Both are still numbers (the caller's range check then
        // decides).
        value = DecimalMagnitude(number) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (error != std::errc() || end != number.data() + number.size()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

std::string NumberText(long value) {
    if (value < 0) {
        return std::to_string(value);
    }
    std::string text(1, ' ');
    text += std::to_string(value);
    return text;
}

} // namespace kestrune
