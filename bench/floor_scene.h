#pragma once

#include "renderer/opengl.h"
#include "renderer/shell/scene.h"

#include <string>

namespace kestrune {

// The least a frame of the renderer can do: the shell's clear, one textured
// quad over the whole screen, and the shell's swap. It is the yardstick the
// show's frame rate is held against, so it runs on the same shell (window,
// pixel format, loop, swap) and samples a real texture file at the show's
// screen size; everything it does beyond that would hide the show's own cost.
class FloorScene final : public Scene {
public:
    // The texture is read from `texturePath` when the scene is initialised. A
    // file that gives no picture leaves the quad untextured.
    explicit FloorScene(std::string texturePath);

    bool Initialise(GlPlatform& platform) override;
    void Frame() override;
    void ReleaseGlObjects() override;

    GLuint Texture() const { return m_texture; }

private:
    std::string m_texturePath;
    GLuint m_texture = 0;
};

} // namespace kestrune
