#pragma once

#include "renderer/shell/scene.h"

namespace kestrune {

// The fixed window size and colour depth the renderer asks for.
inline constexpr int kWindowWidth = 1024;
inline constexpr int kWindowHeight = 768;
inline constexpr int kColourBits = 32;

// The projection every frame is drawn with.
inline constexpr double kFieldOfViewDegrees = 45.0;
inline constexpr double kNearPlane = 0.1;
inline constexpr double kFarPlane = 100.0;

struct Viewport {
    int width = 0;
    int height = 0;
    double aspect = 1.0;
};

// The viewport and aspect for a client area; a height of 0 is taken as 1 so
// that a collapsed window never divides by zero.
Viewport ViewportFor(int width, int height);

// Sets viewport and perspective projection, then leaves the modelview matrix
// selected and reset to the identity.
void Resize(int width, int height);

// The renderer's fixed OpenGL state, then the scene's own initialisation.
bool InitialiseOpenGL(Scene& scene, GlPlatform& platform);

// Clears (the colour only where the scene does not paint every pixel itself),
// resets the modelview matrix and draws the scene's frame.
bool DrawFrame(Scene& scene);

} // namespace kestrune
