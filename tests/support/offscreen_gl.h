#pragma once

#include "renderer/opengl.h"
#include "renderer/shell/offscreen_context.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace kestrune::test {

// A real OpenGL context without a window (EGL on Mesa's software
// rasteriser), current from construction to destruction, with pixel reading
// helpers for tests.
class OffscreenGl final : public GlPlatform {
public:
    OffscreenGl(int width, int height) : m_context(width, height) {}

    bool Ok() const { return m_context.Ok(); }
    int Width() const { return m_context.Width(); }
    int Height() const { return m_context.Height(); }

    void* GetProcAddress(const char* name) override { return m_context.GetProcAddress(name); }
    void SetSwapInterval(std::uint8_t) override {}

    // Pixels of the whole surface as RGB bytes, bottom row first (as
    // glReadPixels gives them).
    std::vector<std::uint8_t> ReadRgb() const { return m_context.ReadRgb(); }

    // One pixel; (0, 0) is the bottom left.
    struct Rgb {
        int r, g, b;
    };
    Rgb PixelAt(int x, int y) const;

private:
    OffscreenContext m_context;
};

// A fixture that gives each test a fresh 64 x 64 context (or the size the
// derived fixture asks for), so that no GL state leaks between tests.
class GlTest : public ::testing::Test {
protected:
    explicit GlTest(int width = 64, int height = 64) : m_gl(width, height) {}
    void SetUp() override { ASSERT_TRUE(m_gl.Ok()) << "no offscreen OpenGL context"; }

    // The first OpenGL error since the last call, GL_NO_ERROR when none.
    static GLenum TakeGlError() { return glGetError(); }

    OffscreenGl m_gl;
};

// A vertex as feedback mode returns it, mapped back into object coordinates
// under the capture's orthographic projection.
struct FeedbackVertex {
    float x, y, z;
    float r, g, b, a;
    float s, t;
};

// The primitives a draw call emits, read back from OpenGL itself in feedback
// mode with GL_3D_COLOR_TEXTURE. Polygons (quads come back as two triangles or
// one polygon, as the driver decides) are kept as lists of vertices.
struct FeedbackCapture {
    std::vector<std::vector<FeedbackVertex>> polygons;

    // All vertices of all polygons in emission order.
    std::vector<FeedbackVertex> Vertices() const;
};

// Draws `draw` in feedback mode under an orthographic projection that holds
// the cube [-extent, extent]^3, with the modelview matrix at the identity, and
// returns what OpenGL emitted. Matrices and render mode are restored after.
template <typename Draw> FeedbackCapture CaptureFeedback(float extent, Draw&& draw);

FeedbackCapture CaptureFeedbackImpl(float extent, void (*draw)(void*), void* context);

template <typename Draw> FeedbackCapture CaptureFeedback(float extent, Draw&& draw) {
    return CaptureFeedbackImpl(
        extent, [](void* c) { (*static_cast<std::remove_reference_t<Draw>*>(c))(); }, &draw);
}

} // namespace kestrune::test
