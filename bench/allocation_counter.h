#pragma once

namespace kestrune {

// How many allocations the global operator new has made in this program so
// far. The counting replacement lives in allocation_counter.cpp, apart from
// its callers, so that no compiler sees a replaced new and delete inlined side
// by side.
long AllocationCount();

} // namespace kestrune
