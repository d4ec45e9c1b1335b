#include "tests/renderer/Classes/refusing_allocator.h"

#include <cstdlib>
#include <new>

namespace {

// Test code runs on one thread: plain counters suffice.
long g_allocations = 0;
long g_live = 0;
// Allocations numbered from the moment of arming; those in [first, last)
// are refused.
long g_armedAt = -1;
long g_refuseFirst = 0;
long g_refuseLast = 0;

void* Allocate(std::size_t size) {
    if (g_armedAt >= 0) {
        const long number = g_allocations - g_armedAt;
        if (number >= g_refuseFirst && number < g_refuseLast) {
            ++g_allocations;
            return nullptr;
        }
    }
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p != nullptr) {
        ++g_allocations;
        ++g_live;
    }
    return p;
}

void Release(void* p) {
    if (p != nullptr) {
        --g_live;
        std::free(p);
    }
}

} // namespace

namespace kestrune::test {

long AllocationCount() {
    return g_allocations;
}

long LiveAllocations() {
    return g_live;
}

RefuseAllocations::RefuseAllocations(long first, long last) {
    g_refuseFirst = first;
    g_refuseLast = last;
    g_armedAt = g_allocations;
}

RefuseAllocations::~RefuseAllocations() {
    g_armedAt = -1;
}

} // namespace kestrune::test

void* operator new(std::size_t size) {
    if (void* p = Allocate(size)) {
        return p;
    }
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    if (void* p = Allocate(size)) {
        return p;
    }
    throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void operator delete(void* p) noexcept {
    Release(p);
}
void operator delete[](void* p) noexcept {
    Release(p);
}
void operator delete(void* p, std::size_t) noexcept {
    Release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    Release(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    Release(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    Release(p);
}
