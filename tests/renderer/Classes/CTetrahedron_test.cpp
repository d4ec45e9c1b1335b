// Bodies are checked against what OpenGL itself emits from their display
// lists: vertices and texture coordinates through feedback mode, normals
// through lighting and the current normal, texture set-up through state
// queries after replaying the list.

#include "renderer/Classes/CTetrahedron.h"

#include "renderer/shell/gl_extensions.h"
#include "tests/renderer/Classes/gl_census.h"
#include "tests/support/offscreen_gl.h"

#include <array>

namespace kestrune::test {
namespace {

constexpr float kApexT = 0.8660254f;

struct Expected {
    float x, y, z, s, t;
};

// The four vertices of a body of size 1 around the origin.
constexpr float kV0[3] = {0.0f, 1.0f, 0.0f};
constexpr float kV1[3] = {0.0f, -0.333333f, 0.942809f};
constexpr float kV2[3] = {-0.816497f, -0.333333f, -0.471405f};
constexpr float kV3[3] = {0.816497f, -0.333333f, -0.471405f};

constexpr Expected At(const float (&v)[3], float s, float t) {
    return {v[0], v[1], v[2], s, t};
}

// Faces in emission order, each vertex with its texture coordinate.
const std::array<Expected, 12> kUnitBody = {
    At(kV0, 0.5f, kApexT), At(kV1, 0.0f, 0.0f),   At(kV2, 1.0f, 0.0f),   At(kV0, 0.5f, kApexT),
    At(kV1, 1.0f, 0.0f),   At(kV3, 0.0f, 0.0f),   At(kV0, 0.5f, kApexT), At(kV3, 1.0f, 0.0f),
    At(kV2, 0.0f, 0.0f),   At(kV1, 0.5f, kApexT), At(kV2, 0.0f, 0.0f),   At(kV3, 1.0f, 0.0f),
};

class Tetrahedron : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        LoadExtensions(m_gl);
    }
    void TearDown() override { g_extensions = ExtensionTable{}; }

    // Everything a drawn body emits.
    static FeedbackCapture Capture(CTetrahedron& body) {
        return CaptureFeedback(2.0f, [&] { EXPECT_TRUE(body.Draw()); });
    }

    static void ExpectUnitBody(const FeedbackCapture& capture, bool checkTexture) {
        ASSERT_EQ(capture.polygons.size(), 4u);
        const auto vertices = capture.Vertices();
        ASSERT_EQ(vertices.size(), kUnitBody.size());
        for (std::size_t i = 0; i < vertices.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "face " << i / 3 + 1 << " vertex " << i % 3);
            EXPECT_NEAR(vertices[i].x, kUnitBody[i].x, 2e-5);
            EXPECT_NEAR(vertices[i].y, kUnitBody[i].y, 2e-5);
            EXPECT_NEAR(vertices[i].z, kUnitBody[i].z, 2e-5);
            if (checkTexture) {
                EXPECT_NEAR(vertices[i].s, kUnitBody[i].s, 1e-6);
                EXPECT_NEAR(vertices[i].t, kUnitBody[i].t, 1e-6);
            }
        }
    }

    static GLint Integer(GLenum what) {
        GLint value = 0;
        glGetIntegerv(what, &value);
        return value;
    }
    static GLint EnvMode() {
        GLint mode = 0;
        glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
        return mode;
    }
    static GLint GenMode(GLenum coordinate) {
        GLint mode = 0;
        glGetTexGeniv(coordinate, GL_TEXTURE_GEN_MODE, &mode);
        return mode;
    }
};

TEST_F(Tetrahedron, UnitBodyEmitsTheFourFacesWithTheirTextureCoordinates) {
    CTetrahedron body;
    body.Build();
    ASSERT_TRUE(body.bBuilt);
    ExpectUnitBody(Capture(body), true);

    // Face 4 is the base: V1, V2, V3, all at y = -1/3.
    const auto vertices = Capture(body).Vertices();
    for (std::size_t i = 9; i < 12; ++i) {
        EXPECT_NEAR(vertices[i].y, -1.0f / 3.0f, 2e-5);
    }
}

TEST_F(Tetrahedron, SizePositionAndRotationPlaceTheBody) {
    CTetrahedron body;
    body.fSize = 0.5f;
    body.fPosition[0] = 0.25f;
    body.fPosition[1] = -0.5f;
    body.fPosition[2] = 0.125f;
    body.Build();
    auto vertices = Capture(body).Vertices();
    ASSERT_EQ(vertices.size(), 12u);
    EXPECT_NEAR(vertices[0].x, 0.25f, 2e-5);
    EXPECT_NEAR(vertices[0].y, 0.0f, 2e-5); // -0.5 + 0.5
    EXPECT_NEAR(vertices[1].z, 0.125f + 0.5f * 0.942809f, 2e-5);

    // A quarter turn about y carries V1 (towards +z) onto +x.
    body.fRotationAngle = 90.0f;
    body.fRotationAxis[1] = 1.0f;
    vertices = Capture(body).Vertices();
    EXPECT_NEAR(vertices[1].x, 0.25f + 0.5f * 0.942809f, 2e-5);
    EXPECT_NEAR(vertices[1].z, 0.125f, 2e-5);

    // A rotation without an axis is no rotation.
    body.fRotationAxis[1] = 0.0f;
    vertices = Capture(body).Vertices();
    EXPECT_NEAR(vertices[1].z, 0.125f + 0.5f * 0.942809f, 2e-5);
}

TEST_F(Tetrahedron, FaceNormalsPointOutwardAndAreAsLongAsTheSize) {
    // Lighting turns each face's normal into a brightness: with a white
    // directional light along axis k and nothing else lit, a vertex shows
    // max(0, N . e_k). The light along +k and along -k give N's component k.
    CTetrahedron body;
    body.bNormals = true;
    body.Build();

    const GLfloat black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    const GLfloat white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, black);
    glLightfv(GL_LIGHT0, GL_AMBIENT, black);
    glLightfv(GL_LIGHT0, GL_SPECULAR, black);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, black);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, black);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, white);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);

    float normals[4][3] = {};
    for (int axis = 0; axis < 3; ++axis) {
        for (float sign : {1.0f, -1.0f}) {
            GLfloat direction[4] = {0.0f, 0.0f, 0.0f, 0.0f};
            direction[axis] = sign;
            glMatrixMode(GL_MODELVIEW);
            glLoadIdentity();
            glLightfv(GL_LIGHT0, GL_POSITION, direction);
            const auto vertices = Capture(body).Vertices();
            ASSERT_EQ(vertices.size(), 12u);
            for (int face = 0; face < 4; ++face) {
                // The whole face is lit alike: one normal per face.
                EXPECT_NEAR(vertices[face * 3].r, vertices[face * 3 + 2].r, 1e-3);
                normals[face][axis] += sign * vertices[face * 3].r;
            }
        }
    }
    // N0..N3 are the negated vertices V3, V2, V1, V0.
    const float* opposite[4] = {kV3, kV2, kV1, kV0};
    for (int face = 0; face < 4; ++face) {
        for (int axis = 0; axis < 3; ++axis) {
            EXPECT_NEAR(normals[face][axis], -opposite[face][axis], 2e-3)
                << "face " << face + 1 << " axis " << axis;
        }
    }

    // Not normalised: a body of size 2 leaves (0, -2, 0), face 4's normal,
    // as the current normal.
    glDisable(GL_LIGHTING);
    CTetrahedron big;
    big.bNormals = true;
    big.fSize = 2.0f;
    big.Build();
    glCallList(big.uiList);
    GLfloat normal[3] = {};
    glGetFloatv(GL_CURRENT_NORMAL, normal);
    EXPECT_NEAR(normal[0], 0.0f, 1e-6);
    EXPECT_NEAR(normal[1], -2.0f, 1e-6);
    EXPECT_NEAR(normal[2], 0.0f, 1e-6);

    // Without the flag no normal is issued.
    CTetrahedron plain;
    plain.Build();
    glNormal3f(0.25f, 0.5f, 0.75f);
    glCallList(plain.uiList);
    glGetFloatv(GL_CURRENT_NORMAL, normal);
    EXPECT_EQ(normal[0], 0.25f);
    EXPECT_EQ(normal[2], 0.75f);
}

TEST_F(Tetrahedron, TwoUnitsWithSphereMapSetUpBothUnitsAsTheShowDraws) {
    ASSERT_TRUE(g_extensions.HasMultitexture());
    GLuint textures[2] = {};
    glGenTextures(2, textures);
    CTetrahedron body;
    body.bMultitexture = true;
    body.bSphereMap = true;
    body.bNormals = true;
    body.uiTexture[0] = textures[0];
    body.uiTexture[1] = textures[1];
    body.Build();

    // Unit 0 takes the face's coordinates as they are; only unit 1 generates.
    ExpectUnitBody(Capture(body), true);

    glCallList(body.uiList);
    EXPECT_EQ(Integer(GL_ACTIVE_TEXTURE_ARB), GL_TEXTURE1_ARB);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(EnvMode(), GL_ADD);
    EXPECT_EQ(GenMode(GL_S), GL_SPHERE_MAP);
    EXPECT_EQ(GenMode(GL_T), GL_SPHERE_MAP);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S)); // switched off again at the end
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_T));
    EXPECT_EQ(Integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(textures[1]));
    // The last vertex, V3 of face 4, sent (1, 0) to unit 1 as well.
    GLfloat coordinate[4] = {};
    glGetFloatv(GL_CURRENT_TEXTURE_COORDS, coordinate);
    EXPECT_EQ(coordinate[0], 1.0f);
    EXPECT_EQ(coordinate[1], 0.0f);

    g_extensions.glActiveTextureARB(GL_TEXTURE0_ARB);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(EnvMode(), GL_REPLACE);
    EXPECT_EQ(Integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(textures[0]));
    EXPECT_EQ(GenMode(GL_S), GL_EYE_LINEAR); // unit 0 never generates
    EXPECT_EQ(TakeGlError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Tetrahedron, SphereMapOnOneUnitGeneratesTheCoordinates) {
    // Feedback reports the coordinates as given, before generation, so the
    // generation shows in the picture: a texture that changes along s looks
    // different under the faces' own coordinates and under sphere mapping.
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    GLubyte ramp[8][3] = {};
    for (int i = 0; i < 8; ++i) {
        ramp[i][0] = static_cast<GLubyte>(i * 32);
        ramp[i][1] = static_cast<GLubyte>(255 - i * 32);
    }
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 8, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, ramp);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);

    auto picture = [&](bool sphereMap) {
        CTetrahedron body;
        body.bSphereMap = sphereMap;
        body.bNormals = true;
        body.fSize = 0.9f;
        body.uiTexture[0] = texture;
        body.Build();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        EXPECT_TRUE(body.Draw());
        const auto pixels = m_gl.ReadRgb();
        if (sphereMap) {
            glCallList(body.uiList);
            EXPECT_EQ(GenMode(GL_S), GL_SPHERE_MAP);
            EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S)); // switched off again at the end
        }
        return pixels;
    };
    const auto faceCoordinates = picture(false);
    const auto generated = picture(true);
    std::size_t differing = 0;
    for (std::size_t i = 0; i < generated.size(); ++i) {
        differing += generated[i] != faceCoordinates[i];
    }
    EXPECT_GT(differing, generated.size() / 20);
}

TEST_F(Tetrahedron, DriverWithoutMultitextureGetsTheSingleUnitBody) {
    g_extensions = ExtensionTable{};
    GLuint textures[2] = {};
    glGenTextures(2, textures);
    CTetrahedron body;
    body.bMultitexture = true;
    body.uiTexture[0] = textures[0];
    body.uiTexture[1] = textures[1];
    body.Build();
    ASSERT_TRUE(body.bBuilt);
    ExpectUnitBody(Capture(body), true);
    glCallList(body.uiList);
    EXPECT_EQ(Integer(GL_ACTIVE_TEXTURE_ARB), GL_TEXTURE0_ARB);
    EXPECT_EQ(Integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(textures[0]));
}

TEST_F(Tetrahedron, DrawBracketsItsStateAndWritesDepthWhileBlending) {
    CTetrahedron body;
    EXPECT_FALSE(body.Draw());
    EXPECT_TRUE(CaptureFeedback(2.0f, [&] { EXPECT_FALSE(body.Draw()); }).polygons.empty());

    body.bBlend = true;
    body.bMultitexture = true;
    body.nBlendSrc = GL_SRC_ALPHA;
    body.nBlendDst = GL_ONE_MINUS_SRC_ALPHA;
    body.fColour[3] = 0.25f;
    body.Build();

    const auto vertices = Capture(body).Vertices();
    ASSERT_EQ(vertices.size(), 12u);
    EXPECT_NEAR(vertices[0].a, 0.25f, 1e-3);

    // Depth is written under blending: an invisible body still hides what
    // lies behind it.
    glClearDepth(1.0);
    glClear(GL_DEPTH_BUFFER_BIT);
    glDepthMask(GL_FALSE);
    glDisable(GL_DEPTH_TEST);
    const GLint matrices = StackDepth(GL_MODELVIEW_STACK_DEPTH);
    body.fColour[3] = 0.0f;
    EXPECT_TRUE(body.Draw());
    GLfloat depth = 1.0f;
    glReadPixels(32, 32, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    EXPECT_LT(depth, 1.0f);

    // And everything comes back as it was.
    GLboolean mask = GL_TRUE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
    EXPECT_EQ(mask, GL_FALSE);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(Integer(GL_ACTIVE_TEXTURE_ARB), GL_TEXTURE0_ARB);
    EXPECT_EQ(StackDepth(GL_MODELVIEW_STACK_DEPTH), matrices);
    EXPECT_EQ(StackDepth(GL_ATTRIB_STACK_DEPTH), 0);
    EXPECT_EQ(TakeGlError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Tetrahedron, BuildingAgainReplacesTheListAndDestructionDeletesIt) {
    const auto before = LiveLists();
    {
        CTetrahedron body;
        body.Build();
        body.fSize = 0.5f;
        body.Build();
        const auto during = LiveLists();
        EXPECT_EQ(during.size(), before.size() + 1);
        EXPECT_TRUE(during.count(body.uiList));
        EXPECT_NEAR(Capture(body).Vertices()[0].y, 0.5f, 2e-5);
    }
    EXPECT_EQ(LiveLists(), before);
}

} // namespace
} // namespace kestrune::test
