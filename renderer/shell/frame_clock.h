#pragma once

#include <cstdint>

namespace kestrune {

// The renderer's only time source: a millisecond count that is 32 bits wide
// and wraps to 0 after 2^32 ms (about 49.7 days), exactly like the tick count
// of Windows. All show time is measured as a difference of two readings.
using TickCount = std::uint32_t;

// The current tick count of this machine (one implementation per platform).
TickCount GetTickCount32();

// Milliseconds from `start` to `now`. The subtraction is done in 32-bit
// unsigned arithmetic and only then widened, so a wrap of the tick count
// between the two readings still gives the true span (for spans below 2^32 ms).
std::int64_t ElapsedMilliseconds(TickCount start, TickCount now);

} // namespace kestrune
