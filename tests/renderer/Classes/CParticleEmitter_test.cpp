// Emitters are checked against the generator's own sequence: a reference copy
// of the generator, seeded alike, says which draw must land in which field.
// The squares are read back from OpenGL in feedback mode.

#include "renderer/Classes/CParticleEmitter.h"

#include "tests/renderer/Classes/gl_census.h"
#include "tests/support/offscreen_gl.h"

#include <cmath>
#include <ctime>
#include <numbers>

namespace kestrune::test {
namespace {

constexpr double kPi = std::numbers::pi;

// The generator as its definition gives it, kept apart from the code under
// test.
struct ReferenceGenerator {
    std::uint32_t state;
    double Draw() {
        state = state * 214013u + 2531011u;
        return static_cast<double>(((state >> 16) & 32767u) % 10000u) *
               static_cast<double>(0.0001f);
    }
};

struct Spawn {
    float velocity[3];
    float life;
    float fade;
    float position[3];
};

// What one spawn draws, in order: direction (z first), speed, the life at
// build only, the fade when random, then the eight position draws.
Spawn ExpectedSpawn(ReferenceGenerator& g, const CParticleEmitter& e, bool atBuild) {
    Spawn s{};
    const double a = g.Draw();
    const double b = g.Draw();
    const double c = g.Draw();
    const double d[3] = {c - 0.5, b - 0.5, a - 0.5};
    const double length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    const double speed = g.Draw();
    for (int i = 0; i < 3; ++i) {
        s.velocity[i] = static_cast<float>(d[i] / length * speed * e.fSpeed);
    }
    s.life = atBuild ? static_cast<float>(g.Draw()) : 1.0f;
    s.fade = e.bRandomFade ? static_cast<float>(g.Draw() * e.fFade) : e.fFade;
    const double r1 = g.Draw(), r2 = g.Draw(), r3 = g.Draw();
    s.position[0] = static_cast<float>(
        r3 * std::cos(r1 * kPi - kPi / 2) * std::cos(r2 * 2 * kPi) * e.fSpread + e.fPosition[0]);
    const double r4 = g.Draw(), r5 = g.Draw();
    s.position[1] =
        static_cast<float>(r5 * std::sin(r4 * kPi - kPi / 2) * e.fSpread + e.fPosition[1]);
    const double r6 = g.Draw(), r7 = g.Draw(), r8 = g.Draw();
    s.position[2] = static_cast<float>(
        r8 * std::cos(r6 * kPi - kPi / 2) * std::sin(r7 * 2 * kPi) * e.fSpread + e.fPosition[2]);
    return s;
}

void ExpectParticle(const CParticle& p, const Spawn& s) {
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(p.cVelocity.Component(i), s.velocity[i], 1e-6) << "velocity " << i;
        EXPECT_NEAR(p.fPosition[i], s.position[i], 1e-6) << "position " << i;
    }
    EXPECT_EQ(p.fLife, s.life);
    EXPECT_FLOAT_EQ(p.fFade, s.fade);
}

class ParticleEmitter : public GlTest {
protected:
    // A deliberately busy configuration, so that mixed-up draws show.
    static void Configure(CParticleEmitter& e, int count) {
        e.nParticles = count;
        e.fSpread = 0.5f;
        e.fSpeed = 2.0f;
        e.fDrag = 0.8f;
        e.cAcceleration.Set(0.01f, 0.02f, 0.03f);
        e.fPosition[0] = 1.0f;
        e.fPosition[1] = -0.5f;
        e.fPosition[2] = 0.25f;
    }
};

TEST_F(ParticleEmitter, BuildDrawsEachParticlesNumbersInOrder) {
    for (bool randomFade : {true, false}) {
        SCOPED_TRACE(randomFade ? "random fade" : "fixed fade");
        CParticleEmitter emitter;
        Configure(emitter, 3);
        emitter.bRandomFade = randomFade;
        CRandom::SeedWith(1234);
        emitter.Build();
        ASSERT_TRUE(emitter.bBuilt);

        ReferenceGenerator reference{1234};
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE(testing::Message() << "particle " << i);
            const CParticle& particle = emitter.pcParticles[i];
            ExpectParticle(particle, ExpectedSpawn(reference, emitter, true));
            EXPECT_EQ(particle.fDrag, 0.8f);
            EXPECT_EQ(particle.cAcceleration.y, 0.02f);
        }
        // Building again does nothing: no draw, no new list.
        const auto lists = LiveLists();
        emitter.nParticles = 7;
        emitter.Build();
        EXPECT_EQ(LiveLists(), lists);
        CRandom random;
        EXPECT_EQ(random.Random(), reference.Draw());
    }
}

TEST_F(ParticleEmitter, FixedFadeGivesEveryParticleTheBaseFadeAndARandomZeroDoesToo) {
    CParticleEmitter fixed;
    Configure(fixed, 50);
    fixed.bRandomFade = false;
    fixed.fFade = 0.005f;
    fixed.Build();
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(fixed.pcParticles[i].fFade, 0.005f);
    }

    // Find a seed whose sixth draw, the first particle's fade, is 0.
    std::uint32_t seed = 1;
    for (;; ++seed) {
        ReferenceGenerator probe{seed};
        for (int i = 0; i < 5; ++i) {
            probe.Draw();
        }
        if (probe.Draw() == 0.0) {
            break;
        }
    }
    CParticleEmitter emitter;
    Configure(emitter, 1);
    emitter.fFade = 0.02f;
    CRandom::SeedWith(seed);
    emitter.Build();
    EXPECT_EQ(emitter.pcParticles[0].fFade, 0.02f);
}

TEST_F(ParticleEmitter, LifeOfExactlyZeroIsRebornAtTheCurrentPositionAndDrawnAtTheOldOne) {
    CParticleEmitter emitter;
    Configure(emitter, 2);
    emitter.bColourCycling = false;
    emitter.fFixedColour[0] = 0.5f;
    emitter.fHalfSize = 0.1f;
    emitter.Build();

    CParticle& staying = emitter.pcParticles[0];
    staying.fLife = 0.5f;
    staying.fFade = 0.25f;
    CParticle& dying = emitter.pcParticles[1];
    dying.fLife = 0.25f;
    dying.fFade = 0.25f;
    dying.fPosition[0] = 0.75f;
    dying.fPosition[1] = 0.5f;
    dying.fPosition[2] = -0.25f;
    dying.cAcceleration.Set(5.0f, 5.0f, 5.0f);
    dying.fDrag = 0.1f;
    dying.fColour[0] = 0.0f;

    // The emitter has moved on since the build.
    emitter.fPosition[0] = -1.0f;
    emitter.fPosition[1] = 0.0f;
    emitter.fPosition[2] = 0.5f;
    emitter.fEye[2] = 5.0f;
    CRandom::SeedWith(99);
    const FeedbackCapture capture = CaptureFeedback(2.0f, [&] { emitter.Draw(4321); });

    EXPECT_EQ(staying.fLife, 0.25f);
    ReferenceGenerator reference{99};
    ExpectParticle(dying, ExpectedSpawn(reference, emitter, false));
    EXPECT_EQ(dying.cAcceleration.x, 0.01f);
    EXPECT_EQ(dying.fDrag, 0.8f);
    EXPECT_EQ(dying.fColour[0], 0.5f);

    // Its last square sits where it was, with the colour and zero alpha of
    // its old life, drawn second.
    const auto vertices = capture.Vertices();
    ASSERT_EQ(vertices.size() % 2, 0u);
    const std::size_t half = vertices.size() / 2;
    for (std::size_t i = half; i < vertices.size(); ++i) {
        EXPECT_NEAR(vertices[i].z, -0.25f, 1e-4);
        EXPECT_NEAR(std::abs(vertices[i].x - 0.75f), 0.1f, 1e-4);
        EXPECT_NEAR(std::abs(vertices[i].y - 0.5f), 0.1f, 1e-4);
        EXPECT_EQ(vertices[i].a, 0.0f);
        EXPECT_EQ(vertices[i].r, 0.0f);
    }
}

TEST_F(ParticleEmitter, ColourCyclingStepsPerHundredParticlesAtBuildAndPerSecondAtRebirth) {
    CParticleEmitter emitter;
    Configure(emitter, 250);
    emitter.Build();
    auto entryOf = [&](const CParticle& p) {
        for (int entry = 0; entry < 12; ++entry) {
            if (p.fColour[0] == emitter.fColourTable[entry][0] &&
                p.fColour[1] == emitter.fColourTable[entry][1] &&
                p.fColour[2] == emitter.fColourTable[entry][2]) {
                return entry;
            }
        }
        return -1;
    };
    for (int i = 0; i < 250; ++i) {
        EXPECT_EQ(entryOf(emitter.pcParticles[i]), i / 100) << "particle " << i;
    }

    auto rebirthAll = [&](std::uint32_t time) {
        for (int i = 0; i < 250; ++i) {
            emitter.pcParticles[i].fLife = emitter.pcParticles[i].fFade;
        }
        emitter.Draw(time);
    };
    rebirthAll(12999); // 12 s: 12 mod 12 = entry 0 again
    EXPECT_EQ(entryOf(emitter.pcParticles[0]), 0);
    EXPECT_EQ(entryOf(emitter.pcParticles[249]), 0);
    rebirthAll(13000);
    EXPECT_EQ(entryOf(emitter.pcParticles[7]), 1);
    rebirthAll(4294967295u); // the largest time: 4294967 s, entry 7
    EXPECT_EQ(entryOf(emitter.pcParticles[7]), 4294967 % 12);
}

TEST_F(ParticleEmitter, EachFrameMovesByDraggedVelocityAndAccelerationThenGrowsIt) {
    CParticleEmitter emitter;
    Configure(emitter, 1);
    emitter.fGrowth = 2.0f;
    emitter.fHalfSize = 0.1f;
    emitter.fEye[2] = 5.0f;
    emitter.Build();
    CParticle& p = emitter.pcParticles[0];
    p.fLife = 0.75f;
    p.fFade = 0.125f;
    p.fDrag = 0.5f;
    p.fPosition[0] = 0.25f;
    p.fPosition[1] = 0.5f;
    p.fPosition[2] = 0.75f;
    p.cVelocity.Set(0.1f, 0.2f, 0.3f);
    p.cAcceleration.Set(0.01f, 0.02f, 0.03f);
    p.fColour[1] = 0.25f;

    const auto vertices = CaptureFeedback(2.0f, [&] { emitter.Draw(0); }).Vertices();
    EXPECT_FLOAT_EQ(p.fLife, 0.625f);
    EXPECT_FLOAT_EQ(p.cVelocity.x, 0.05f);
    EXPECT_FLOAT_EQ(p.fPosition[0], 0.25f + 0.05f + 0.01f);
    EXPECT_FLOAT_EQ(p.fPosition[1], 0.5f + 0.1f + 0.02f);
    EXPECT_FLOAT_EQ(p.fPosition[2], 0.75f + 0.15f + 0.03f);
    EXPECT_FLOAT_EQ(p.cAcceleration.z, 0.06f);

    // Facing the eye on +z, the square stands in the x-y plane at the old
    // position: a half turn about (0, 1, 1) takes corner (x, 0, z) of the
    // square to (-x, z, 0). Each corner keeps its texture coordinate.
    ASSERT_GE(vertices.size(), 4u);
    for (const auto& v : vertices) {
        const float cornerX = v.s == 0.0f ? -0.1f : 0.1f; // texture (0, *) is at x = -s
        const float cornerZ = v.t == 0.0f ? -0.1f : 0.1f; // texture (*, 0) is at z = -s
        EXPECT_NEAR(v.x, 0.25f - cornerX, 1e-4);
        EXPECT_NEAR(v.y, 0.5f + cornerZ, 1e-4);
        EXPECT_NEAR(v.z, 0.75f, 1e-4);
        EXPECT_NEAR(v.a, 0.625f, 1e-3);
        EXPECT_NEAR(v.g, 0.25f, 1e-3);
    }
}

TEST_F(ParticleEmitter, ViewerStraightBelowOrOnTheTargetStillGetsFiniteSquares) {
    for (float eyeY : {-3.0f, 0.0f}) {
        SCOPED_TRACE(testing::Message() << "eye y " << eyeY);
        CParticleEmitter emitter;
        Configure(emitter, 4);
        emitter.fHalfSize = 0.1f;
        emitter.fEye[1] = eyeY;
        emitter.Build();
        float before[4][3];
        for (int i = 0; i < 4; ++i) {
            for (int k = 0; k < 3; ++k) {
                before[i][k] = emitter.pcParticles[i].fPosition[k];
            }
        }
        const auto capture = CaptureFeedback(3.0f, [&] { emitter.Draw(0); });
        const auto vertices = capture.Vertices();
        ASSERT_FALSE(vertices.empty());
        // The squares lie flat, facing down towards the viewer, each around
        // its particle's old position.
        std::size_t at = 0;
        for (std::size_t polygon = 0; polygon < capture.polygons.size(); ++polygon) {
            const std::size_t particle = polygon * 4 / capture.polygons.size();
            for (const auto& v : capture.polygons[polygon]) {
                EXPECT_TRUE(std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z));
                EXPECT_NEAR(v.y, before[particle][1], 1e-4);
                EXPECT_NEAR(std::abs(v.x - before[particle][0]), 0.1f, 1e-4);
                // Texture (*, 0) was at z = -s and is turned to +s.
                EXPECT_NEAR(v.z - before[particle][2], v.t == 0.0f ? 0.1f : -0.1f, 1e-4);
                ++at;
            }
        }
        EXPECT_EQ(at, vertices.size());
    }
}

TEST_F(ParticleEmitter, EmptyEmitterOnlyBracketsItsStateAndAnUnbuiltOneTouchesNothing) {
    glDepthMask(GL_FALSE);
    glEnable(GL_BLEND);
    const GLint matrices = StackDepth(GL_MODELVIEW_STACK_DEPTH);

    CParticleEmitter unbuilt;
    Configure(unbuilt, 10);
    EXPECT_TRUE(CaptureFeedback(2.0f, [&] { unbuilt.Draw(0); }).polygons.empty());

    CParticleEmitter empty;
    Configure(empty, 0);
    empty.Build();
    EXPECT_TRUE(empty.bBuilt);
    EXPECT_NE(empty.pcParticles, nullptr);
    EXPECT_TRUE(glIsList(empty.uiList));
    EXPECT_TRUE(CaptureFeedback(2.0f, [&] { empty.Draw(0); }).polygons.empty());

    CParticleEmitter some;
    Configure(some, 5);
    some.bBlend = false;
    some.Build();
    some.Draw(0);

    GLboolean mask = GL_TRUE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
    EXPECT_EQ(mask, GL_FALSE);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(StackDepth(GL_MODELVIEW_STACK_DEPTH), matrices);
    EXPECT_EQ(StackDepth(GL_ATTRIB_STACK_DEPTH), 0);
    EXPECT_EQ(TakeGlError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ParticleEmitter, EmittersConstructedInTheSameSecondStartFromTheSameSeed) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        const std::time_t second = std::time(nullptr);
        CParticleEmitter first;
        const int a = CRandom::Next();
        CParticleEmitter secondEmitter;
        const int b = CRandom::Next();
        if (std::time(nullptr) == second) {
            EXPECT_EQ(a, b);
            return;
        }
    }
    FAIL() << "the clock kept changing second";
}

} // namespace
} // namespace kestrune::test
