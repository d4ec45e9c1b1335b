// Per-frame cost of the show's objects: the CPU time of updating them and
// issuing their OpenGL commands, and the heap allocations a frame makes.
// The objects are configured as the show configures them (four emitters of
// 100 particles, the 64-body figure that stands from 80 s on, the sky box,
// the camera) and drawn into a real offscreen context on Mesa's llvmpipe.
//
// Allocations are counted by replacing the global operator new: every
// allocation of the program, the driver's C++ included, passes through it.
// The frames before measuring let the driver compile its programs, so the
// count is the objects' own.

#include "bench/allocation_counter.h"
#include "renderer/Classes/CCamera.h"
#include "renderer/Classes/CParticleEmitter.h"
#include "renderer/Classes/CSierpinski.h"
#include "renderer/Classes/CSkyBox.h"
#include "renderer/shell/gl_extensions.h"
#include "tests/support/offscreen_gl.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

namespace kestrune {
namespace {

// The show's size of its screen and of its figure, wander and camera.
constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kWarmUpFrames = 10;
constexpr float kShowTime = 0.8f;
constexpr float kFrameStep = 0.0002f;

// A texture of some size, as the show's files give, so that drawing
// samples real texels.
GLuint MakeTexture(GLint wrap) {
    constexpr int kSide = 128;
    static GLubyte pixels[kSide * kSide * 3];
    for (int i = 0; i < kSide * kSide * 3; ++i) {
        pixels[i] = static_cast<GLubyte>((i * 37) & 255);
    }
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, kSide, kSide, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return texture;
}

struct Scene {
    test::OffscreenGl gl{kWidth, kHeight};
    CParticleEmitter emitters[4];
    CSkyBox box;
    CCamera camera;
    CSierpinski figure;
    float t = kShowTime;

    Scene() {
        LoadExtensions(gl);
        glViewport(0, 0, kWidth, kHeight);
        glMatrixMode(GL_PROJECTION);
        gluPerspective(45.0, double(kWidth) / kHeight, 0.1, 100.0);
        glMatrixMode(GL_MODELVIEW);
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_DEPTH_TEST);

        const GLuint emitterTexture = MakeTexture(GL_CLAMP);
        const float colours[4][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 0}};
        for (int i = 0; i < 4; ++i) {
            CParticleEmitter& e = emitters[i];
            e.nParticles = 100;
            e.fSpread = 0.01f;
            e.fSpeed = 0.005f;
            e.fDrag = 0.8f;
            e.fGrowth = 1.03f;
            e.fHalfSize = 0.01f;
            e.fFade = 0.005f;
            e.bRandomFade = false;
            e.uiTexture = emitterTexture;
            e.nBlendSrc = GL_SRC_ALPHA;
            e.nBlendDst = GL_ONE;
            e.bColourCycling = false;
            for (int k = 0; k < 3; ++k) {
                e.fFixedColour[k] = colours[i][k];
            }
            e.Build();
        }

        figure.fSize = 0.6f;
        figure.nLevel = 3;
        figure.bNormals = figure.bBlend = figure.bMultitexture = figure.bSphereMap = true;
        figure.uiTexture[0] = MakeTexture(GL_CLAMP);
        figure.uiTexture[1] = MakeTexture(GL_CLAMP);
        figure.nBlendSrc = GL_SRC_ALPHA;
        figure.nBlendDst = GL_ONE_MINUS_SRC_ALPHA;
        figure.Generate();

        box.SetSize(2.0f);
        for (unsigned slot = 0; slot < CSkyBox::kFaceCount; ++slot) {
            box.uiFaceTexture[slot] = MakeTexture(GL_CLAMP);
        }
        box.Build();
        camera.fDistance = 1.5f;
    }

    void UpdateCamera() {
        camera.fAzimuth = t * 15.7f;
        camera.fElevation = t * 26.0f;
        camera.fRoll = t * 9.0f;
        camera.Update();
    }
    void DrawSkyBox() {
        box.CopyPosition(camera.fEye);
        box.Draw();
    }
    void DrawEmitters() {
        const float factors[4][3] = {{50.4f, 88.5f, 95.8f},
                                     {87.5f, 33.1f, 67.3f},
                                     {52.7f, 11.3f, 45.1f},
                                     {35.5f, 32.9f, 45.8f}};
        for (int i = 0; i < 4; ++i) {
            CParticleEmitter& e = emitters[i];
            for (int k = 0; k < 3; ++k) {
                e.fPosition[k] = 0.5f * std::sin(t * factors[i][k]);
                e.fEye[k] = camera.fEye[k];
                e.fTarget[k] = camera.fTarget[k];
            }
            e.Draw(static_cast<std::uint32_t>(t * 100000.0f));
        }
    }
    void DrawFigure() {
        figure.fColour[3] = 1.0f;
        figure.Draw();
    }

    // One frame in the show's order, as its main scene runs it.
    void Frame() {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        glPushMatrix();
        UpdateCamera();
        glDisable(GL_LIGHTING);
        glColor3f(1.0f, 1.0f, 1.0f);
        DrawSkyBox();
        DrawEmitters();
        DrawFigure();
        glPopMatrix();
        glPopAttrib();
        t += kFrameStep;
    }
};

Scene& TheScene() {
    static std::unique_ptr<Scene> scene;
    if (!scene) {
        scene = std::make_unique<Scene>();
        for (int i = 0; i < kWarmUpFrames; ++i) {
            scene->Frame();
            glFinish();
        }
    }
    return *scene;
}

template <typename Work> void Measure(benchmark::State& state, Work&& work) {
    Scene& scene = TheScene();
    if (!scene.gl.Ok()) {
        state.SkipWithError("no offscreen OpenGL context");
        return;
    }
    const long before = AllocationCount();
    for (auto _ : state) {
        work(scene);
    }
    state.counters["allocs_per_frame"] = benchmark::Counter(
        static_cast<double>(AllocationCount() - before), benchmark::Counter::kAvgIterations);
}

// A whole frame, finished as a buffer swap would finish it: the driver's
// rasterising threads are in the wall time, the main thread's work in the
// CPU time.
void BM_ShowFrame(benchmark::State& state) {
    Measure(state, [](Scene& s) {
        s.Frame();
        glFinish();
    });
}
BENCHMARK(BM_ShowFrame)->Unit(benchmark::kMicrosecond);

// The parts of a frame, each issued without waiting for the rasteriser.
void BM_Camera(benchmark::State& state) {
    Measure(state, [](Scene& s) {
        glLoadIdentity();
        s.UpdateCamera();
        s.t += kFrameStep;
    });
}
BENCHMARK(BM_Camera)->Unit(benchmark::kMicrosecond);

void BM_FourEmitters(benchmark::State& state) {
    Measure(state, [](Scene& s) {
        s.DrawEmitters();
        s.t += kFrameStep;
        glFlush();
    });
}
BENCHMARK(BM_FourEmitters)->Unit(benchmark::kMicrosecond);

void BM_Figure64(benchmark::State& state) {
    Measure(state, [](Scene& s) {
        s.DrawFigure();
        glFlush();
    });
}
BENCHMARK(BM_Figure64)->Unit(benchmark::kMicrosecond);

void BM_SkyBox(benchmark::State& state) {
    Measure(state, [](Scene& s) {
        s.DrawSkyBox();
        glFlush();
    });
}
BENCHMARK(BM_SkyBox)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace kestrune

BENCHMARK_MAIN();
