// The classes' behaviour when memory runs out, and their promise to allocate
// nothing per frame. This program replaces the global allocation functions to
// count every allocation and to refuse chosen ones, so it is a test binary of
// its own.

#include "renderer/Classes/CCamera.h"
#include "renderer/Classes/CParticleEmitter.h"
#include "renderer/Classes/CRing.h"
#include "renderer/Classes/CSierpinski.h"
#include "renderer/Classes/CSkyBox.h"
#include "renderer/shell/gl_extensions.h"

#include "tests/renderer/Classes/gl_census.h"
#include "tests/renderer/Classes/refusing_allocator.h"
#include "tests/support/offscreen_gl.h"

#include <cmath>
#include <string>

namespace kestrune::test {
namespace {

TEST(RingAllocation, RefusedListLeavesTheRingEmptyAndSaysWhere) {
    CRing ring;
    ring.nVectors = 3;
    ring.GenerateAround(CVector(0.0f, 4.0f, 0.0f));
    const long live = LiveAllocations();
    // Generating again releases the old list before taking the new one.
    ring.GenerateIt();
    EXPECT_EQ(LiveAllocations(), live);

    ring.cAxis.Set(2.0f, 0.0f, 0.0f);
    const float row0x = ring.fBasis[0][0];
    testing::internal::CaptureStderr();
    {
        RefuseAllocations refuse(0, 1);
        ring.GenerateIt();
    }
    const std::string diagnostic = testing::internal::GetCapturedStderr();
    EXPECT_EQ(ring.pcVectorList, nullptr);
    CVector v;
    EXPECT_FALSE(ring.GetVector(0, &v));
    EXPECT_EQ(ring.cAxis.x, 2.0f);
    EXPECT_EQ(ring.fBasis[0][0], row0x);
#ifndef NDEBUG
    EXPECT_EQ(diagnostic, "Filename : Classes/CRing\nLine : 90\nMethod : CRing::GenerateIt()\n"
                          "Condition : if(pcVectorList == NULL)\n");
#else
    EXPECT_EQ(diagnostic, "");
#endif
}

TEST(RingAllocation, ReusedStorageServesEveryRingThatFitsAndOnlyALargerOneAllocates) {
    CRing ring;
    ring.ReuseStorage(true);
    ring.nVectors = 4;
    ring.GenerateAround(CVector(0.0f, 1.0f, 0.0f));
    const long allocations = AllocationCount();
    ring.nVectors = 2;
    ring.GenerateIt();
    CVector v;
    EXPECT_FALSE(ring.GetVector(2, &v)) << "the list holds two vectors, not its room for four";
    ASSERT_TRUE(ring.GetVector(1, &v));
    CRing fresh;
    fresh.nVectors = 2;
    fresh.GenerateAround(CVector(0.0f, 1.0f, 0.0f));
    CVector expected;
    ASSERT_TRUE(fresh.GetVector(1, &expected));
    EXPECT_EQ(v.x, expected.x);
    EXPECT_EQ(v.y, expected.y);
    EXPECT_EQ(v.z, expected.z);
    ring.nVectors = 0;
    ring.GenerateIt();
    ring.nVectors = 4;
    ring.GenerateIt();
    EXPECT_EQ(AllocationCount() - allocations, 1) << "only the fresh ring allocates";

    // A larger ring needs new storage, and a refused one leaves the ring empty.
    ring.nVectors = 5;
    testing::internal::CaptureStderr();
    {
        RefuseAllocations refuse(0, 1);
        ring.GenerateIt();
    }
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(ring.pcVectorList, nullptr);
    EXPECT_FALSE(ring.GetVector(0, &v));
}

using Allocation = GlTest;

TEST_F(Allocation, FigureWithoutBodiesGeneratesAndDrawsNothing) {
    const auto before = LiveLists();
    CSierpinski figure;
    figure.nLevel = 2;
    figure.Generate();
    EXPECT_EQ(LiveLists().size(), before.size() + 16);
    {
        RefuseAllocations refuse(0, 1);
        figure.Generate();
    }
    // The first generation is gone with its lists, and nothing replaced it.
    EXPECT_EQ(figure.nBodies, 0);
    EXPECT_EQ(figure.pcBodies, nullptr);
    EXPECT_EQ(LiveLists(), before);
    EXPECT_TRUE(CaptureFeedback(1.0f, [&] { EXPECT_EQ(figure.Draw(), 0); }).polygons.empty());
}

TEST_F(Allocation, EmitterWithoutParticlesStaysUnbuiltUntilMemoryReturns) {
    const auto before = LiveLists();
    CParticleEmitter emitter;
    emitter.nParticles = 10;
    {
        RefuseAllocations refuse(0, 1);
        emitter.Build();
    }
    EXPECT_FALSE(emitter.bBuilt);
    EXPECT_EQ(LiveLists(), before);
    EXPECT_TRUE(CaptureFeedback(1.0f, [&] { emitter.Draw(0); }).polygons.empty());

    emitter.Build();
    EXPECT_TRUE(emitter.bBuilt);
    EXPECT_FALSE(CaptureFeedback(1.0f, [&] { emitter.Draw(0); }).polygons.empty());
}

TEST_F(Allocation, CameraWhoseFirstRingFailsLeavesTheMatrixAndTriesAgain) {
    CCamera camera;
    camera.fDistance = 1.5f;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    {
        // The ring's second list, the one vector, is refused.
        RefuseAllocations refuse(1, 2);
        camera.Update();
    }
    GLdouble m[16] = {};
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(m[i], i % 5 == 0 ? 1.0 : 0.0) << "element " << i;
    }
    EXPECT_EQ(camera.cUp.Length(), 0.0);
    EXPECT_EQ(camera.fEye[0], 1.5f);

    camera.Update();
    EXPECT_NEAR(camera.cUp.y, -1.0f, 1e-7);
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    EXPECT_NE(m[0], 1.0);
}

TEST_F(Allocation, AFrameOfTheShowsObjectsAllocatesNothing) {
    LoadExtensions(m_gl);
    CParticleEmitter emitters[4];
    for (auto& emitter : emitters) {
        emitter.nParticles = 100;
        emitter.fSpread = 0.01f;
        emitter.fSpeed = 0.005f;
        emitter.fDrag = 0.8f;
        emitter.fGrowth = 1.03f;
        emitter.fHalfSize = 0.01f;
        emitter.fFade = 0.005f;
        emitter.bRandomFade = false;
        emitter.Build();
    }
    CSierpinski figure;
    figure.nLevel = 3;
    figure.fSize = 0.6f;
    figure.bNormals = figure.bBlend = figure.bMultitexture = figure.bSphereMap = true;
    figure.Generate();
    CSkyBox box;
    box.SetSize(2.0f);
    box.Build();
    CCamera camera;
    camera.fDistance = 1.5f;

    auto frame = [&](int n) {
        const float t = 0.8f + 0.001f * static_cast<float>(n);
        glPushMatrix();
        camera.fAzimuth = t * 15.7f;
        camera.fElevation = t * 26.0f;
        camera.fRoll = t * 9.0f;
        camera.Update();
        box.CopyPosition(camera.fEye);
        box.Draw();
        for (auto& emitter : emitters) {
            emitter.fPosition[0] = 0.5f * std::sin(t * 50.4f);
            for (int k = 0; k < 3; ++k) {
                emitter.fEye[k] = camera.fEye[k];
                emitter.fTarget[k] = camera.fTarget[k];
            }
            emitter.Draw(static_cast<std::uint32_t>(t * 100000.0f));
        }
        figure.fColour[3] = 1.0f;
        figure.Draw();
        glPopMatrix();
        glFinish();
    };
    // The driver compiles its programs on the first frames; after that a
    // frame's allocations are the program's own.
    for (int n = 0; n < 5; ++n) {
        frame(n);
    }
    const long allocations = AllocationCount();
    const long live = LiveAllocations();
    for (int n = 5; n < 105; ++n) {
        frame(n);
    }
    // The camera's ring took its storage on the first frame and keeps it.
    EXPECT_EQ(AllocationCount() - allocations, 0);
    EXPECT_EQ(LiveAllocations(), live);
}

} // namespace
} // namespace kestrune::test
