// The offscreen fixture is what every OpenGL test stands on: check that it
// gives a real context and that feedback capture maps vertices back exactly.

#include "tests/support/offscreen_gl.h"

namespace kestrune::test {
namespace {

using OffscreenFixture = GlTest;

TEST_F(OffscreenFixture, ClearsAndReadsBackPixels) {
    glClearColor(1.0f, 0.5f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    const auto pixel = m_gl.PixelAt(3, 60);
    EXPECT_EQ(pixel.r, 255);
    EXPECT_NEAR(pixel.g, 128, 1);
    EXPECT_EQ(pixel.b, 0);
    EXPECT_EQ(m_gl.ReadRgb().size(), 64u * 64u * 3u);
    EXPECT_NE(m_gl.GetProcAddress("glActiveTextureARB"), nullptr);
}

TEST_F(OffscreenFixture, FeedbackReturnsObjectCoordinatesColoursAndTextureCoordinates) {
    const FeedbackCapture capture = CaptureFeedback(2.0f, [] {
        glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
        glBegin(GL_TRIANGLES);
        glTexCoord2f(0.5f, 0.866f);
        glVertex3f(0.0f, 1.0f, 0.0f);
        glTexCoord2f(0.0f, 0.0f);
        glVertex3f(-1.5f, -0.25f, 1.25f);
        glTexCoord2f(1.0f, 0.0f);
        glVertex3f(1.0f, -1.0f, -0.5f);
        glEnd();
    });
    ASSERT_EQ(capture.polygons.size(), 1u);
    const auto v = capture.Vertices();
    ASSERT_EQ(v.size(), 3u);
    EXPECT_NEAR(v[0].y, 1.0f, 1e-4);
    EXPECT_NEAR(v[1].x, -1.5f, 1e-4);
    EXPECT_NEAR(v[1].y, -0.25f, 1e-4);
    EXPECT_NEAR(v[1].z, 1.25f, 1e-4);
    EXPECT_NEAR(v[2].z, -0.5f, 1e-4);
    EXPECT_NEAR(v[0].s, 0.5f, 1e-6);
    EXPECT_NEAR(v[0].t, 0.866f, 1e-6);
    EXPECT_NEAR(v[2].s, 1.0f, 1e-6);
    EXPECT_NEAR(v[1].g, 0.5f, 1e-3);
}

} // namespace
} // namespace kestrune::test
