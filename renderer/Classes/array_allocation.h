#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

namespace kestrune {

// Allocates `count` default-constructed elements, or gives null when the count
// is negative or the memory is not there. The scene's objects treat a null
// array as "nothing to generate or draw" instead of ending the program, and
// no exception leaves the renderer's classes. A count of 0 gives a valid,
// empty, non-null array.
template <typename T> std::unique_ptr<T[]> AllocateArray(long long count) {
    if (count < 0 || static_cast<unsigned long long>(count) > PTRDIFF_MAX / sizeof(T)) {
        return nullptr;
    }
    return std::unique_ptr<T[]>(new (std::nothrow) T[static_cast<std::size_t>(count)]);
}

} // namespace kestrune
