// The camera's view is read back from OpenGL's modelview matrix and compared
// with the matrix gluLookAt makes from the eye, centre and up it should get.

#include "renderer/Classes/CCamera.h"

#include "tests/support/offscreen_gl.h"

#include <cmath>
#include <numbers>

namespace kestrune::test {
namespace {

constexpr float kPi = std::numbers::pi_v<float>;

using Matrix = std::array<GLdouble, 16>;

Matrix Modelview() {
    Matrix m{};
    glGetDoublev(GL_MODELVIEW_MATRIX, m.data());
    return m;
}

// The view gluLookAt makes on top of a translation, as the camera is
// expected to multiply onto the current matrix.
Matrix ExpectedView(const double (&eye)[3], const double (&centre)[3], const double (&up)[3]) {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glTranslated(0.5, 0.25, -1.0);
    gluLookAt(eye[0], eye[1], eye[2], centre[0], centre[1], centre[2], up[0], up[1], up[2]);
    const Matrix m = Modelview();
    glPopMatrix();
    return m;
}

Matrix ViewOf(CCamera& camera) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslated(0.5, 0.25, -1.0);
    camera.Update();
    return Modelview();
}

void ExpectVector(const CVector& v, float x, float y, float z, float tolerance) {
    EXPECT_NEAR(v.x, x, tolerance);
    EXPECT_NEAR(v.y, y, tolerance);
    EXPECT_NEAR(v.z, z, tolerance);
}

void ExpectFiniteUnitAndPerpendicular(const CCamera& camera) {
    const CVector& d = camera.cDirection;
    const CVector& u = camera.cUp;
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(std::isfinite(camera.fEye[i]));
        EXPECT_TRUE(std::isfinite(d.Component(i)));
        EXPECT_TRUE(std::isfinite(u.Component(i)));
    }
    EXPECT_NEAR(d.Length(), 1.0, 1e-6);
    EXPECT_NEAR(u.Length(), 1.0, 1e-6);
    EXPECT_NEAR(d.x * u.x + d.y * u.y + d.z * u.z, 0.0, 1e-6);
    for (double value : Modelview()) {
        EXPECT_TRUE(std::isfinite(value));
    }
}

using Camera = GlTest;

TEST_F(Camera, AzimuthElevationAndRollZeroLookAlongMinusXWithUpMinusY) {
    CCamera camera;
    camera.fDistance = 1.5f;
    const Matrix view = ViewOf(camera);
    EXPECT_EQ(camera.fEye[0], 1.5f);
    EXPECT_EQ(camera.fEye[1], 0.0f);
    EXPECT_EQ(camera.fEye[2], 0.0f);
    ExpectVector(camera.cDirection, -1.0f, 0.0f, 0.0f, 0.0f);
    ExpectVector(camera.cUp, 0.0f, -1.0f, 0.0f, 1e-7f);

    const Matrix expected = ExpectedView({1.5, 0, 0}, {0.5, 0, 0}, {0, -1, 0});
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(view[i], expected[i], 1e-6) << "element " << i;
    }
}

TEST_F(Camera, RollTurnsUpAboutTheViewingDirection) {
    CCamera camera;
    camera.fDistance = 1.5f;
    camera.fRoll = kPi / 2.0f;
    const Matrix view = ViewOf(camera);
    ExpectVector(camera.cUp, 0.0f, 0.0f, 1.0f, 1e-6f);
    const Matrix expected = ExpectedView({1.5, 0, 0}, {0.5, 0, 0}, {0, 0, 1});
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(view[i], expected[i], 1e-6) << "element " << i;
    }
}

TEST_F(Camera, ElevationHalfPiPutsTheEyeOverheadLookingDown) {
    CCamera camera;
    camera.fDistance = 2.0f;
    camera.fElevation = kPi / 2.0f;
    camera.fAzimuth = 0.7f;
    ViewOf(camera);
    EXPECT_NEAR(camera.fEye[0], 0.0f, 1e-6);
    EXPECT_NEAR(camera.fEye[1], 2.0f, 1e-6);
    EXPECT_NEAR(camera.fEye[2], 0.0f, 1e-6);
    ExpectVector(camera.cDirection, 0.0f, -1.0f, 0.0f, 1e-6f);
    ExpectFiniteUnitAndPerpendicular(camera);
}

TEST_F(Camera, NegativeDistanceIsStoredAsItsSizeAndZeroLeavesEverything) {
    CCamera camera;
    camera.fDistance = -2.0f;
    ViewOf(camera);
    EXPECT_EQ(camera.fDistance, 2.0f);
    EXPECT_EQ(camera.fEye[0], 2.0f);

    const float eye = camera.fEye[0];
    const CVector up = camera.cUp;
    camera.fDistance = 0.0f;
    camera.fAzimuth = 1.0f;
    const Matrix view = ViewOf(camera);
    EXPECT_EQ(camera.fEye[0], eye);
    EXPECT_EQ(camera.cUp.y, up.y);
    // Only the translation the test put there.
    EXPECT_EQ(view[0], 1.0);
    EXPECT_EQ(view[12], 0.5);
    EXPECT_EQ(view[14], -1.0);
}

TEST_F(Camera, AnEyeOnTheTargetLooksAtTheOrbitsCentre) {
    CCamera camera;
    camera.fDistance = 1.5f;
    camera.fTarget[0] = 1.5f;
    ViewOf(camera);
    ExpectVector(camera.cDirection, -1.0f, 0.0f, 0.0f, 1e-7f);
    ExpectFiniteUnitAndPerpendicular(camera);
}

TEST_F(Camera, AViewAlongZGetsAFiniteUpThatStillRolls) {
    CCamera camera;
    camera.fDistance = 1.5f;
    camera.fTarget[0] = 1.5f;
    camera.fTarget[2] = 3.0f; // straight along +z from the eye
    ViewOf(camera);
    ExpectVector(camera.cDirection, 0.0f, 0.0f, 1.0f, 0.0f);
    ExpectFiniteUnitAndPerpendicular(camera);
    const CVector unrolled = camera.cUp;

    camera.fRoll = kPi / 2.0f;
    ViewOf(camera);
    ExpectFiniteUnitAndPerpendicular(camera);
    EXPECT_NEAR(unrolled.x * camera.cUp.x + unrolled.y * camera.cUp.y, 0.0, 1e-6);
}

TEST_F(Camera, NonFiniteAnglesKeepTheLastView) {
    CCamera camera;
    camera.fDistance = 1.5f;
    ViewOf(camera);
    camera.fAzimuth = NAN;
    const Matrix view = ViewOf(camera);
    EXPECT_EQ(camera.fEye[0], 1.5f);
    for (double value : view) {
        EXPECT_TRUE(std::isfinite(value));
    }
    EXPECT_EQ(view[12], 0.5);
}

} // namespace
} // namespace kestrune::test
