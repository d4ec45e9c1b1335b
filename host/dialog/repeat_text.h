#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The track-to-repeat box of the settings dialog: how a number is shown in
// it and how its text becomes the number that is saved.
namespace kestrune {

// A number formatted with "##": its digits without leading zeros, a minus
// sign before negative ones, and nothing at all for 0.
std::string FormatHashes(long value);

// The number a box text is saved as: numeric text (numeric_text.h) rounded to
// the nearest integer, halves to the even one ("2.5" gives 2, "3.5" gives 4),
// kept within -32768 to 32767; any other text, the empty one included, gives
// 0. Hexadecimal "&H" forms, thousands separators and currency signs are not
// numbers here: the box offers plain track numbers.
std::int16_t RepeatFromText(std::string_view text);

// `value` rounded to the nearest integer, halves to the even one.
double RoundHalfEven(double value);

} // namespace kestrune
