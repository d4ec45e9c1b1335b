// Figures are read back from OpenGL: each body's vertices in feedback mode
// give its centre (the mean of its four vertices) and its size (the distance
// from there to its apex).

#include "renderer/Classes/CSierpinski.h"

#include "renderer/shell/gl_extensions.h"
#include "tests/renderer/Classes/gl_census.h"
#include "tests/support/offscreen_gl.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kestrune::test {
namespace {

struct Body {
    float x, y, z, size;
};

// Splits a figure's feedback into bodies of four faces. Face 1 holds V0, V1
// and V2; face 2 ends with V3.
std::vector<Body> BodiesOf(const FeedbackCapture& capture) {
    const auto v = capture.Vertices();
    std::vector<Body> bodies;
    for (std::size_t at = 0; at + 12 <= v.size(); at += 12) {
        const FeedbackVertex* corners[4] = {&v[at], &v[at + 1], &v[at + 2], &v[at + 5]};
        Body body{};
        for (const auto* c : corners) {
            body.x += c->x / 4.0f;
            body.y += c->y / 4.0f;
            body.z += c->z / 4.0f;
        }
        body.size = std::sqrt((v[at].x - body.x) * (v[at].x - body.x) +
                              (v[at].y - body.y) * (v[at].y - body.y) +
                              (v[at].z - body.z) * (v[at].z - body.z));
        // The apex is straight above the centre.
        EXPECT_NEAR(v[at].x, body.x, 2e-5);
        EXPECT_NEAR(v[at].z, body.z, 2e-5);
        bodies.push_back(body);
    }
    return bodies;
}

void ExpectBody(const Body& body, float x, float y, float z, float size) {
    EXPECT_NEAR(body.x, x, 2e-5);
    EXPECT_NEAR(body.y, y, 2e-5);
    EXPECT_NEAR(body.z, z, 2e-5);
    EXPECT_NEAR(body.size, size, 2e-5);
}

class Sierpinski : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        LoadExtensions(m_gl);
    }
    void TearDown() override { g_extensions = ExtensionTable{}; }

    // The show's configuration of figure `level`.
    static void ConfigureLikeTheShow(CSierpinski& figure, int level, GLuint textureA,
                                     GLuint textureB) {
        figure.fSize = 0.6f;
        figure.nLevel = level;
        figure.bNormals = figure.bBlend = figure.bMultitexture = figure.bSphereMap = true;
        figure.uiTexture[0] = textureA;
        figure.uiTexture[1] = textureB;
        figure.fEnvMode[0] = GL_REPLACE;
        figure.fEnvMode[1] = GL_ADD;
        figure.nBlendSrc = GL_SRC_ALPHA;
        figure.nBlendDst = GL_ONE_MINUS_SRC_ALPHA;
    }

    static FeedbackCapture Capture(CSierpinski& figure, int expectedCount) {
        return CaptureFeedback(1.0f, [&] { EXPECT_EQ(figure.Draw(), expectedCount); });
    }
};

TEST_F(Sierpinski, LevelZeroIsOneBodyOfTheFiguresSizeAtItsCentre) {
    CSierpinski figure;
    figure.fSize = 0.8f;
    figure.fCentre[0] = 0.1f;
    figure.fCentre[1] = -0.2f;
    figure.fCentre[2] = 0.05f;
    figure.Generate();
    EXPECT_EQ(figure.nBodies, 1);
    const auto bodies = BodiesOf(Capture(figure, 1));
    ASSERT_EQ(bodies.size(), 1u);
    ExpectBody(bodies[0], 0.1f, -0.2f, 0.05f, 0.8f);
}

TEST_F(Sierpinski, LevelOneHasFourHalfSizeBodiesInApexFirstOrder) {
    CSierpinski figure;
    ConfigureLikeTheShow(figure, 1, 0, 0);
    figure.Generate();
    const auto bodies = BodiesOf(Capture(figure, 4));
    ASSERT_EQ(bodies.size(), 4u);
    ExpectBody(bodies[0], 0.0f, 0.3f, 0.0f, 0.3f);
    ExpectBody(bodies[1], 0.0f, -0.1f, 0.282843f, 0.3f);
    ExpectBody(bodies[2], -0.244949f, -0.1f, -0.141421f, 0.3f);
    ExpectBody(bodies[3], 0.244949f, -0.1f, -0.141421f, 0.3f);
}

TEST_F(Sierpinski, LevelThreeHasSixtyFourEighthSizeBodiesStartingAtTheTopCorner) {
    CSierpinski figure;
    ConfigureLikeTheShow(figure, 3, 0, 0);
    figure.Generate();
    EXPECT_EQ(figure.nBodies, 64);
    EXPECT_EQ(figure.nPlaced, 64);
    const auto bodies = BodiesOf(Capture(figure, 64));
    ASSERT_EQ(bodies.size(), 64u);
    ExpectBody(bodies[0], 0.0f, 0.6f * 7.0f / 8.0f, 0.0f, 0.6f / 8.0f);
    for (const Body& body : bodies) {
        EXPECT_NEAR(body.size, 0.075f, 2e-5);
    }
    // Every body lies inside the figure's outer tetrahedron: below its apex
    // and above its base.
    for (const Body& body : bodies) {
        EXPECT_LE(body.y, 0.6f * 7.0f / 8.0f + 2e-5f);
        EXPECT_GE(body.y, -0.2f + 0.075f / 3.0f - 2e-5f);
    }
}

TEST_F(Sierpinski, DrawHandsTheFiguresColourToEveryBodyAndAlphaZeroStillDrawsAndWritesDepth) {
    GLuint textures[2] = {};
    glGenTextures(2, textures);
    CSierpinski figure;
    ConfigureLikeTheShow(figure, 2, textures[0], textures[1]);
    figure.Generate();
    for (int i = 0; i < figure.nBodies; ++i) {
        const CTetrahedron& body = figure.pcBodies[i];
        EXPECT_TRUE(body.bNormals && body.bBlend && body.bMultitexture && body.bSphereMap);
        EXPECT_EQ(body.uiTexture[0], textures[0]);
        EXPECT_EQ(body.uiTexture[1], textures[1]);
        EXPECT_EQ(body.nBlendSrc, GL_SRC_ALPHA);
        EXPECT_EQ(body.nBlendDst, GL_ONE_MINUS_SRC_ALPHA);
        EXPECT_EQ(body.fEnvMode[1], static_cast<GLfloat>(GL_ADD));
    }

    figure.fColour[3] = 0.375f;
    auto vertices = Capture(figure, 16).Vertices();
    ASSERT_EQ(vertices.size(), 16u * 12u);
    for (const auto& v : vertices) {
        EXPECT_NEAR(v.a, 0.375f, 1e-3);
    }

    figure.fColour[3] = 0.0f;
    vertices = Capture(figure, 16).Vertices();
    EXPECT_EQ(vertices.size(), 16u * 12u);
    glClear(GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    EXPECT_EQ(figure.Draw(), 16);
    std::vector<GLfloat> depth(64 * 64, 1.0f);
    glReadPixels(0, 0, 64, 64, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    EXPECT_LT(*std::min_element(depth.begin(), depth.end()), 0.9f);
}

// The figure draws its bodies under one state; the pixels must be those of
// every body drawn on its own with its own list, texturing, sphere map,
// blending and depth included, and a figure whose bodies no longer draw
// alike still draws each as it is.
TEST_F(Sierpinski, DrawGivesThePixelsOfEveryBodyDrawnOnItsOwn) {
    GLubyte texels[8 * 8 * 3];
    for (int i = 0; i < 8 * 8 * 3; ++i) {
        texels[i] = static_cast<GLubyte>(i * 53 + (i / 24) * 97);
    }
    GLuint textures[2] = {};
    glGenTextures(2, textures);
    for (const GLuint texture : textures) {
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 8, 8, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    }
    CSierpinski figure;
    ConfigureLikeTheShow(figure, 2, textures[0], textures[1]);
    figure.Generate();
    figure.fColour[3] = 0.75f;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 1.0, 0.1, 10.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0.4, 0.5, 1.1, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    glEnable(GL_TEXTURE_2D);

    const auto frame = [&](auto&& draw) {
        glClearColor(0.2f, 0.3f, 0.4f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        draw();
        return m_gl.ReadRgb();
    };
    const auto eachOnItsOwn = [&] {
        for (int i = 0; i < figure.nBodies; ++i) {
            std::copy(std::begin(figure.fColour), std::end(figure.fColour),
                      figure.pcBodies[i].fColour);
            EXPECT_TRUE(figure.pcBodies[i].Draw());
        }
    };
    const auto own = frame(eachOnItsOwn);
    EXPECT_GT(std::count(own.begin(), own.end(), GLubyte{51}), 0) << "the background shows";
    EXPECT_LT(std::count(own.begin(), own.end(), GLubyte{51}), 64 * 64) << "no figure drawn";
    EXPECT_EQ(frame([&] { EXPECT_EQ(figure.Draw(), 16); }), own);

    figure.pcBodies[5].bBlend = false;
    EXPECT_EQ(frame([&] { EXPECT_EQ(figure.Draw(), 16); }), frame(eachOnItsOwn));
}

TEST_F(Sierpinski, TheShowsFourFiguresHoldEightyFiveListsAndRegeneratingLeavesNoOldOne) {
    const auto before = LiveLists();
    CSierpinski figures[4];
    for (int level = 0; level < 4; ++level) {
        ConfigureLikeTheShow(figures[level], level, 0, 0);
        figures[level].Generate();
    }
    auto held = [&] {
        std::set<GLuint> names = before;
        for (const CSierpinski& figure : figures) {
            for (int i = 0; i < figure.nBodies; ++i) {
                names.insert(figure.pcBodies[i].uiList);
            }
        }
        return names;
    };
    EXPECT_EQ(LiveLists().size(), before.size() + 85);
    EXPECT_EQ(LiveLists(), held());

    figures[3].Generate();
    figures[1].Generate();
    EXPECT_EQ(figures[3].nBodies, 64);
    EXPECT_EQ(LiveLists().size(), before.size() + 85);
    EXPECT_EQ(LiveLists(), held());
}

TEST_F(Sierpinski, NegativeLevelIsLevelZeroAndAFigureNeverGeneratedDrawsNothing) {
    CSierpinski never;
    EXPECT_TRUE(Capture(never, 0).polygons.empty());

    CSierpinski figure;
    figure.nLevel = -3;
    figure.Generate();
    EXPECT_EQ(figure.nBodies, 1);
    const auto bodies = BodiesOf(Capture(figure, 1));
    ASSERT_EQ(bodies.size(), 1u);
    ExpectBody(bodies[0], 0.0f, 0.0f, 0.0f, 1.0f);

    // A level whose body count does not fit the counter generates nothing.
    figure.nLevel = 16;
    figure.Generate();
    EXPECT_EQ(figure.nBodies, 0);
    EXPECT_TRUE(Capture(figure, 0).polygons.empty());
}

} // namespace
} // namespace kestrune::test
