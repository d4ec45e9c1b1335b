#include "host/dialog/repeat_text.h"

#include "host/core/numeric_text.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace kestrune {

std::string FormatHashes(long value) {
    if (value == 0) {
        return {};
    }
    return std::to_string(value);
}

double RoundHalfEven(double value) {
    const double lower = std::floor(value);
    const double fraction = value - lower;
    if (fraction > 0.5) {
        return lower + 1.0;
    }
    if (fraction < 0.5) {
        return lower;
    }
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

std::int16_t RepeatFromText(std::string_view text) {
    const std::optional<double> number = ParseNumericText(text);
    if (!number) {
        return 0;
    }
    // A number beyond 16 bits would not fit the setting; the nearest value
    // that fits is what the user most likely meant.
    const double rounded = std::clamp(RoundHalfEven(*number), -32768.0, 32767.0);
    return static_cast<std::int16_t>(rounded);
}

} // namespace kestrune
