#pragma once

// The allocation test program replaces the global allocation functions to
// count every allocation and to refuse chosen ones. The replacement lives in
// refusing_allocator.cpp, apart from its callers, so that no compiler sees a
// replaced new and delete inlined side by side.

namespace kestrune::test {

// Allocations made so far, and those not yet released.
long AllocationCount();
long LiveAllocations();

// Refuses allocations number first ... last - 1 made while it lives, counting
// from 0 at its construction: operator new throws, the nothrow forms give
// null.
class RefuseAllocations {
public:
    RefuseAllocations(long first, long last);
    ~RefuseAllocations();
    RefuseAllocations(const RefuseAllocations&) = delete;
    RefuseAllocations& operator=(const RefuseAllocations&) = delete;
};

} // namespace kestrune::test
