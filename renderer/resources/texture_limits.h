#pragma once

namespace kestrune {

// What the current OpenGL driver takes as texture sizes.
struct TextureLimits {
    bool nonPowerOfTwo = false; // sizes other than powers of two are taken
    int maxSize = 64;           // GL_MAX_TEXTURE_SIZE (64 is what every driver takes)
};

// Asks the current context: OpenGL 2.0 or the ARB non-power-of-two extension
// take any size; the largest size is the driver's own.
TextureLimits QueryTextureLimits();

struct TextureExtent {
    int width = 0;
    int height = 0;
};

// The size a width x height picture is uploaded at: as it is where the driver
// takes it, otherwise each side the nearest power of two (the larger one on a
// tie, so that detail is kept); never more than the driver's largest size.
TextureExtent FitTextureExtent(int width, int height, const TextureLimits& limits);

} // namespace kestrune
