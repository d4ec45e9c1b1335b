#include "renderer/shell/frame_clock.h"

#include <ctime>

namespace kestrune {

TickCount GetTickCount32() {
    // The monotonic clock counts from boot like GetTickCount and never jumps
    // when the wall clock is set. Its milliseconds are cut to 32 bits so that
    // the count wraps as the Windows one does.
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const auto ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                    static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<TickCount>(ms);
}

} // namespace kestrune
