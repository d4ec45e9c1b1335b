#pragma once

namespace kestrune {

// Calls of the C allocation functions (malloc, calloc, realloc and the
// aligned forms) made in this program so far, the driver's included: the
// OpenGL driver is C and allocates through them, out of sight of a counter
// of operator new. Counted in every thread, and apart for the thread that
// called MarkThisThreadAsMain (llvmpipe rasterises in threads of its own).
struct MallocCounts {
    long allThreads = 0;
    long mainThread = 0;
};

MallocCounts MallocCount();

// Counts this thread's allocations under mainThread from now on.
void MarkThisThreadAsMain();

} // namespace kestrune
