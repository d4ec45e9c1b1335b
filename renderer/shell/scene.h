#pragma once

#include <cstdint>

namespace kestrune {

// What the shell's platform gives the scene once a context is current.
class GlPlatform {
public:
    // An OpenGL entry point by name, or null when the driver lacks it.
    virtual void* GetProcAddress(const char* name) = 0;

    // Asks the driver for this swap interval where it offers one; a driver
    // without the choice keeps its default, and nothing is reported.
    virtual void SetSwapInterval(std::uint8_t interval) = 0;

protected:
    ~GlPlatform() = default;
};

// The one thing the shell draws. The shell owns the window, the context and
// the loop; the scene owns everything it makes inside the context.
class Scene {
public:
    // Called once with the context current, after the window is shown.
    virtual bool Initialise(GlPlatform& platform) = 0;

    // Draws one frame; the buffers are cleared (the colour buffer only
    // where the scene needs it, see PaintsEveryPixel) and the modelview matrix is
    // the identity when this is called.
    virtual void Frame() = 0;

    // True when every frame paints every pixel of the window opaquely before
    // anything blends with it: the shell then clears only the depth buffer,
    // since clearing the colour would cost a pass over the whole screen that
    // the frame paints over anyway.
    virtual bool PaintsEveryPixel() const { return false; }

    // Called by the tear-down while the context is still current: frees
    // every OpenGL object the scene made, textures and display lists alike.
    // The scene may outlive the context, and nothing of OpenGL may be left
    // for its destructors to free once the context is gone.
    virtual void ReleaseGlObjects() = 0;

protected:
    ~Scene() = default;
};

} // namespace kestrune
