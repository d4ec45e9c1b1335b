#include "renderer/shell/gl_setup.h"

#include "tests/support/offscreen_gl.h"

#include <cmath>
#include <numbers>

namespace kestrune {
namespace {

using GlSetup = test::GlTest;

// The perspective matrix gluPerspective(45, aspect, 0.1, 100) must produce.
void ExpectPerspective(double aspect) {
    GLdouble m[16] = {};
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    const double f = 1.0 / std::tan(22.5 * std::numbers::pi / 180.0);
    EXPECT_NEAR(m[0], f / aspect, 1e-6);
    EXPECT_NEAR(m[5], f, 1e-6);
    EXPECT_NEAR(m[10], (100.0 + 0.1) / (0.1 - 100.0), 1e-6);
    EXPECT_NEAR(m[14], 2.0 * 100.0 * 0.1 / (0.1 - 100.0), 1e-6);
    EXPECT_NEAR(m[11], -1.0, 1e-12);
}

TEST_F(GlSetup, ResizeSetsViewportAndPerspectiveAndLeavesModelviewAtIdentity) {
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(3.0f, 2.0f, 1.0f);
    Resize(1024, 768);

    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], 1024);
    EXPECT_EQ(viewport[3], 768);
    ExpectPerspective(1024.0 / 768.0);

    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    GLdouble modelview[16] = {};
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(modelview[i], i % 5 == 0 ? 1.0 : 0.0) << i;
    }
}

TEST_F(GlSetup, HeightZeroIsTakenAsOne) {
    const Viewport v = ViewportFor(640, 0);
    EXPECT_EQ(v.width, 640);
    EXPECT_EQ(v.height, 1);
    EXPECT_DOUBLE_EQ(v.aspect, 640.0);

    Resize(640, 0);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[3], 1);
    ExpectPerspective(640.0);
}

class CountingScene final : public Scene {
public:
    int initialised = 0;
    int frames = 0;
    bool Initialise(GlPlatform&) override {
        ++initialised;
        return true;
    }
    void Frame() override {
        ++frames;
        // The frame starts from the identity modelview matrix and cleared buffers.
        GLdouble m[16] = {};
        glGetDoublev(GL_MODELVIEW_MATRIX, m);
        identityAtFrame = m[12] == 0.0 && m[0] == 1.0;
    }
    void ReleaseGlObjects() override {}
    bool identityAtFrame = false;
};

TEST_F(GlSetup, InitialiseSetsTheFixedStateAndFrameClearsFirst) {
    CountingScene scene;
    ASSERT_TRUE(InitialiseOpenGL(scene, m_gl));
    EXPECT_EQ(scene.initialised, 1);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    GLint shade = 0;
    glGetIntegerv(GL_SHADE_MODEL, &shade);
    EXPECT_EQ(shade, GL_SMOOTH);
    GLfloat clear[4] = {};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_FLOAT_EQ(clear[3], 0.5f);
    GLint hint = 0;
    glGetIntegerv(GL_PERSPECTIVE_CORRECTION_HINT, &hint);
    EXPECT_EQ(hint, GL_NICEST);

    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    glTranslatef(5.0f, 0.0f, 0.0f);
    EXPECT_TRUE(DrawFrame(scene));
    EXPECT_EQ(scene.frames, 1);
    EXPECT_TRUE(scene.identityAtFrame);
    const auto pixel = m_gl.PixelAt(10, 10);
    EXPECT_EQ(pixel.r, 0);
    EXPECT_EQ(pixel.g, 0);
    EXPECT_EQ(pixel.b, 0);
}

} // namespace
} // namespace kestrune
