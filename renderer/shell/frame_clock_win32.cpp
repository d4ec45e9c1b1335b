#include "renderer/shell/frame_clock.h"

#include <windows.h>

namespace kestrune {

TickCount GetTickCount32() {
    return ::GetTickCount();
}

} // namespace kestrune
