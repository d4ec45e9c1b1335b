#include "renderer/resources/texture_limits.h"

#include "renderer/opengl.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace kestrune {

namespace {

constexpr const char* kNonPowerOfTwoExtension = "GL_ARB_texture_non_power_of_two";

// Whether the space-separated extension list names `name` as a whole word.
bool HasExtension(const char* list, const char* name) {
    const std::size_t length = std::strlen(name);
    for (const char* at = list; (at = std::strstr(at, name)) != nullptr; at += length) {
        const bool starts = at == list || at[-1] == ' ';
        const bool ends = at[length] == ' ' || at[length] == '\0';
        if (starts && ends) {
            return true;
        }
    }
    return false;
}

// The power of two nearest to `size` (at least 1), the larger one on a tie.
// Sizes beyond 2^30 (far beyond any driver) stay at 2^30.
int NearestPowerOfTwo(int size) {
    constexpr int kLargest = 1 << 30;
    if (size >= kLargest) {
        return kLargest;
    }
    int lower = 1;
    while (lower <= size / 2) {
        lower *= 2;
    }
    const int upper = lower * 2;
    return (size - lower < upper - size) ? lower : upper;
}

} // namespace

TextureLimits QueryTextureLimits() {
    TextureLimits limits;
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    const auto* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    // The version string starts "major.minor"; 2.0 made every size legal.
    const bool twoOrLater = version && std::strtol(version, nullptr, 10) >= 2;
    limits.nonPowerOfTwo =
        twoOrLater || (extensions && HasExtension(extensions, kNonPowerOfTwoExtension));
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    if (maxSize > limits.maxSize) {
        limits.maxSize = maxSize;
    }
    return limits;
}

TextureExtent FitTextureExtent(int width, int height, const TextureLimits& limits) {
    TextureExtent extent{width, height};
    if (!limits.nonPowerOfTwo) {
        extent.width = NearestPowerOfTwo(width);
        extent.height = NearestPowerOfTwo(height);
    }
    extent.width = std::min(extent.width, limits.maxSize);
    extent.height = std::min(extent.height, limits.maxSize);
    return extent;
}

} // namespace kestrune
