#include "renderer/shell/frame_clock.h"

namespace kestrune {

std::int64_t ElapsedMilliseconds(TickCount start, TickCount now) {
    const TickCount span = now - start; // wraps modulo 2^32 by definition
    return static_cast<std::int64_t>(span);
}

} // namespace kestrune
