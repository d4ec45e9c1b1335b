// Replaces the C allocation functions of the benchmark program with counting
// ones that forward to glibc's own. A program's definitions of malloc and
// friends take precedence over the C library's for every shared library it
// loads, the OpenGL driver included. glibc only: it exports its allocator
// under the __libc_ names used here.

#include "bench/malloc_counter.h"

#include <atomic>
#include <cerrno>
#include <cstddef>

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* pointer, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
}

namespace {

std::atomic<long> g_allThreads{0};
std::atomic<long> g_mainThread{0};
thread_local bool g_thisThreadIsMain = false;

void Count() {
    g_allThreads.fetch_add(1, std::memory_order_relaxed);
    if (g_thisThreadIsMain) {
        g_mainThread.fetch_add(1, std::memory_order_relaxed);
    }
}

} // namespace

kestrune::MallocCounts kestrune::MallocCount() {
    return {g_allThreads.load(std::memory_order_relaxed),
            g_mainThread.load(std::memory_order_relaxed)};
}

void kestrune::MarkThisThreadAsMain() {
    g_thisThreadIsMain = true;
}

extern "C" {

void* malloc(std::size_t size) noexcept {
    Count();
    return __libc_malloc(size);
}

void* calloc(std::size_t count, std::size_t size) noexcept {
    Count();
    return __libc_calloc(count, size);
}

void* realloc(void* pointer, std::size_t size) noexcept {
    Count();
    return __libc_realloc(pointer, size);
}

void* memalign(std::size_t alignment, std::size_t size) noexcept {
    Count();
    return __libc_memalign(alignment, size);
}

void* aligned_alloc(std::size_t alignment, std::size_t size) noexcept {
    Count();
    return __libc_memalign(alignment, size);
}

int posix_memalign(void** result, std::size_t alignment, std::size_t size) noexcept {
    // glibc checks the alignment the same way before it allocates.
    if (alignment % sizeof(void*) != 0 || (alignment & (alignment - 1)) != 0 || alignment == 0) {
        return EINVAL;
    }
    Count();
    void* pointer = __libc_memalign(alignment, size);
    if (pointer == nullptr) {
        return ENOMEM;
    }
    *result = pointer;
    return 0;
}

} // extern "C"
