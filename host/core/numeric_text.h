#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kestrune {

// Reads numeric text: a decimal number with an optional sign, an optional
// fraction and an optional exponent, with blanks (spaces, tabs) around it;
// "2", " -1.5 ", "+.5", "3.", "1e3" and "2.5E-1" are numbers. Anything else
// is not: no hexadecimal ("&H10", "0x10"), no thousands separators, no blanks
// inside, no text after the number. A number too large for a double is
// still numeric and reads as an infinity. Independent of the C locale, so a
// decimal comma setting cannot change what the settings file means.
std::optional<double> ParseNumericText(std::string_view text);

// The number text the settings file keeps its numbers in: one blank before
// the digits of zero and positive numbers, a minus sign before those of
// negative ones (2 gives " 2", -3 gives "-3").
std::string NumberText(long value);

} // namespace kestrune
