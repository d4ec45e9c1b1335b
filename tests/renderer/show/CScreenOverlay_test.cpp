#include "renderer/show/CScreenOverlay.h"

#include "tests/support/offscreen_gl.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace kestrune {
namespace {

using Overlay = test::GlTest;

// The OpenGL state a draw call could disturb, to compare before and after.
struct GlState {
    GLint matrixMode = 0;
    std::array<GLfloat, 16> modelview{};
    std::array<GLfloat, 16> projection{};
    GLint modelviewDepth = 0;
    GLint projectionDepth = 0;
    GLint attribDepth = 0;
    GLboolean blend = GL_FALSE;
    GLint blendSrc = 0;
    GLint blendDst = 0;
    GLboolean depthMask = GL_FALSE;
    GLboolean depthTest = GL_FALSE;
    GLboolean texture2d = GL_FALSE;
    std::array<GLfloat, 4> colour{};
    GLint boundTexture = 0;

    static GlState Now() {
        GlState s;
        glGetIntegerv(GL_MATRIX_MODE, &s.matrixMode);
        glGetFloatv(GL_MODELVIEW_MATRIX, s.modelview.data());
        glGetFloatv(GL_PROJECTION_MATRIX, s.projection.data());
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &s.modelviewDepth);
        glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &s.projectionDepth);
        glGetIntegerv(GL_ATTRIB_STACK_DEPTH, &s.attribDepth);
        s.blend = glIsEnabled(GL_BLEND);
        glGetIntegerv(GL_BLEND_SRC, &s.blendSrc);
        glGetIntegerv(GL_BLEND_DST, &s.blendDst);
        glGetBooleanv(GL_DEPTH_WRITEMASK, &s.depthMask);
        s.depthTest = glIsEnabled(GL_DEPTH_TEST);
        s.texture2d = glIsEnabled(GL_TEXTURE_2D);
        glGetFloatv(GL_CURRENT_COLOR, s.colour.data());
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &s.boundTexture);
        return s;
    }
    bool operator==(const GlState&) const = default;
};

// A texture of `width` x `height` RGB texels (bottom row first), sampled
// nearest so that each texel's colour reaches the screen unmixed.
GLuint MakeTexture(int width, int height, const std::vector<std::uint8_t>& texels) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE,
                 texels.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, 0);
    return name;
}

// Display lists among the first names OpenGL hands out.
int CountLists() {
    int count = 0;
    for (GLuint name = 1; name < 256; ++name) {
        count += glIsList(name) ? 1 : 0;
    }
    return count;
}

// Something other than the identity in both matrices, so that a draw that
// forgot to load the identity would show.
void DisturbMatrices() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-3, 5, -2, 7, -4, 4);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.3f, -0.2f, 0.1f);
    glRotatef(20.0f, 0.0f, 0.0f, 1.0f);
}

TEST(OverlayFields, StartWithTheirDefaults) {
    // No context is current here: constructing and destroying an overlay
    // that was never built needs none.
    const CScreenOverlay overlay;
    EXPECT_EQ(overlay.fColor[0], 1.0f);
    EXPECT_EQ(overlay.fColor[1], 1.0f);
    EXPECT_EQ(overlay.fColor[2], 1.0f);
    EXPECT_EQ(overlay.fColor[3], 1.0f);
    EXPECT_FALSE(overlay.bBlend);
    EXPECT_EQ(overlay.eBlendSrc, static_cast<GLenum>(GL_ONE));
    EXPECT_EQ(overlay.eBlendDst, static_cast<GLenum>(GL_ONE));
    EXPECT_EQ(overlay.uiTexture, 0u);
    EXPECT_FALSE(overlay.bDepthWrite);
    EXPECT_EQ(overlay.uiDisplayList, 0u);
    EXPECT_FALSE(overlay.bBuilt);
}

TEST_F(Overlay, DrawBeforeBuildDrawsNothingAndChangesNoState) {
    glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    DisturbMatrices();
    glColor4f(0.1f, 0.2f, 0.3f, 0.4f);
    CScreenOverlay overlay;
    overlay.bBlend = true;
    overlay.eBlendSrc = GL_SRC_ALPHA;
    overlay.eBlendDst = GL_SRC_ALPHA;
    overlay.bDepthWrite = true;
    const GlState before = GlState::Now();
    const std::vector<std::uint8_t> pixels = m_gl.ReadRgb();
    overlay.Draw();
    EXPECT_TRUE(GlState::Now() == before);
    EXPECT_EQ(m_gl.ReadRgb(), pixels);
    EXPECT_EQ(CountLists(), 0);
    EXPECT_EQ(TakeGlError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Overlay, BuildTwiceLeavesOneListAndDestructionDeletesIt) {
    GLuint list = 0;
    {
        CScreenOverlay overlay;
        overlay.Build();
        EXPECT_TRUE(overlay.bBuilt);
        overlay.Build();
        EXPECT_TRUE(glIsList(overlay.uiDisplayList));
        EXPECT_EQ(CountLists(), 1);
        list = overlay.uiDisplayList;
    }
    EXPECT_FALSE(glIsList(list));
}

TEST_F(Overlay, WithoutAListNameItStaysUnbuiltAndDrawsNothing) {
    CScreenOverlay overlay;
    // Between glBegin and glEnd the driver hands out no list name, as one
    // that has run out of them would.
    glBegin(GL_POINTS);
    overlay.Build();
    glEnd();
    while (TakeGlError() != GL_NO_ERROR) {
    }
    EXPECT_FALSE(overlay.bBuilt);
    EXPECT_EQ(overlay.uiDisplayList, 0u);
    glClear(GL_COLOR_BUFFER_BIT);
    const GlState before = GlState::Now();
    overlay.Draw();
    EXPECT_TRUE(GlState::Now() == before);
    EXPECT_EQ(m_gl.PixelAt(32, 32).r, 0);
    EXPECT_EQ(CountLists(), 0);

    // With names to be had again it builds.
    overlay.Build();
    EXPECT_TRUE(overlay.bBuilt);
    EXPECT_EQ(CountLists(), 1);
}

TEST_F(Overlay, CoversTheViewportWithTheTexturesFirstRowAtTheBottom) {
    // Bottom row red, green; top row blue, white.
    const GLuint texture = MakeTexture(2, 2, {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255});
    CScreenOverlay overlay;
    overlay.uiTexture = texture;
    overlay.Build();
    glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
    DisturbMatrices();
    const GlState before = GlState::Now();
    overlay.Draw();
    EXPECT_TRUE(GlState::Now() == before) << "Draw leaves the state as it found it";

    const auto expect = [&](int x, int y, int r, int g, int b) {
        const auto p = m_gl.PixelAt(x, y);
        EXPECT_EQ(p.r, r) << x << "," << y;
        EXPECT_EQ(p.g, g) << x << "," << y;
        EXPECT_EQ(p.b, b) << x << "," << y;
    };
    expect(0, 0, 255, 0, 0);
    expect(63, 0, 0, 255, 0);
    expect(0, 63, 0, 0, 255);
    expect(63, 63, 255, 255, 255);
    expect(20, 20, 255, 0, 0);
    expect(44, 44, 255, 255, 255);
    EXPECT_EQ(TakeGlError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Overlay, SourceAlphaForBothFactorsScalesTheSumOfTexelAndPixel) {
    const int texel = 51; // 0.2
    const GLuint texture = MakeTexture(1, 1, {texel, texel, texel});
    const GLuint bright = MakeTexture(1, 1, {204, 204, 204}); // 0.8
    glEnable(GL_TEXTURE_2D);
    const struct {
        GLuint texture;
        int texel;
        float alpha;
    } cases[] = {{texture, texel, 0.0f},  {texture, texel, 0.5f}, {texture, texel, 1.0f},
                 {texture, texel, 0.25f}, {bright, 204, 1.0f},    {bright, 204, 0.5f}};
    for (const auto& c : cases) {
        CScreenOverlay overlay;
        overlay.uiTexture = c.texture;
        overlay.bBlend = true;
        overlay.eBlendSrc = GL_SRC_ALPHA;
        overlay.eBlendDst = GL_SRC_ALPHA;
        overlay.fColor[3] = c.alpha;
        overlay.Build();
        glClearColor(0.4f, 0.4f, 0.4f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        overlay.Draw();
        const double expected = std::min(255.0, c.alpha * (c.texel + 102.0));
        const auto p = m_gl.PixelAt(32, 32);
        EXPECT_NEAR(p.r, expected, 2.0) << "texel " << c.texel << " alpha " << c.alpha;
        EXPECT_NEAR(p.g, expected, 2.0);
        EXPECT_NEAR(p.b, expected, 2.0);
        EXPECT_FALSE(glIsEnabled(GL_BLEND)) << "blending ends with the draw";
    }
}

TEST_F(Overlay, WritesDepthOnlyWhenAskedEvenWhileBlending) {
    CScreenOverlay overlay;
    overlay.Build();
    glEnable(GL_DEPTH_TEST);
    const auto depthAfterDraw = [&](bool blend, bool depthWrite) {
        overlay.bBlend = blend;
        overlay.bDepthWrite = depthWrite;
        glClearDepth(1.0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDepthMask(GL_FALSE); // the caller's choice comes back after the draw
        overlay.Draw();
        GLboolean mask = GL_TRUE;
        glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
        EXPECT_EQ(mask, GL_FALSE);
        glDepthMask(GL_TRUE);
        GLfloat depth = -1.0f;
        glReadPixels(32, 32, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
        return depth;
    };
    // The quad lies at depth 0 in device coordinates: 0.5 in the buffer.
    EXPECT_FLOAT_EQ(depthAfterDraw(false, false), 1.0f);
    EXPECT_FLOAT_EQ(depthAfterDraw(true, false), 1.0f);
    EXPECT_NEAR(depthAfterDraw(false, true), 0.5f, 1e-3);
    EXPECT_NEAR(depthAfterDraw(true, true), 0.5f, 1e-3);
}

} // namespace
} // namespace kestrune
