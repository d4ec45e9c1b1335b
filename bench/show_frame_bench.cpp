#include "bench/show_frame_bench.h"

#include "bench/batched_particles.h"
#include "bench/bench_sample.h"
#include "bench/egl_binding.h"
#include "bench/floor_scene.h"
#include "bench/show_replica.h"
#include "common/kestrune_names.h"
#include "renderer/shell/gl_setup.h"
#include "renderer/shell/offscreen_context.h"
#include "renderer/show/show.h"
#include "renderer/show/show_timeline.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace kestrune {

namespace {

// Show time advances by one frame at 60 frames per second, whatever the
// real frame rate, so that every run draws the same frames.
constexpr double kFrameMs = 1000.0 / 60.0;
// A particle lives 1 / 0.005 = 200 frames; after 300 every particle has been
// reborn at least once and the trails are in their steady state.
constexpr int kShowWarmUpFrames = 300;
// The floor needs only its pipeline compiled.
constexpr int kFloorWarmUpFrames = 30;
// Calls of each part before it is timed.
constexpr int kPartWarmUpCalls = 3;
// glPushAttrib/glPopAttrib pairs timed for the per-pair cost.
constexpr int kAttribPairs = 20000;

// The show with an injected clock that steps one frame at a time from a
// given show time on (the warm-up frames included).
struct SteadyShow {
    SteadyShow(const std::string& folder, double startT)
        : startMs(startT * kShowPeriodMs), show([this] { return now; }, folder) {}

    // The show time the next frame is drawn at.
    double NextMs() const { return startMs + frame * kFrameMs; }

    void DrawFrame() {
        now = static_cast<TickCount>(NextMs());
        kestrune::DrawFrame(show);
        ++frame;
    }

    void DrawReplica(bool withOverlay) {
        // The same t as the show's own frame would have: whole milliseconds.
        const auto ms = static_cast<TickCount>(NextMs());
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        DrawShowReplica(show, static_cast<float>(static_cast<double>(ms) / kShowPeriodMs),
                        withOverlay);
        ++frame;
    }

    TickCount now = 0;
    long frame = 0;
    double startMs;
    Show show;
};

struct Contender {
    Contender(const char* n, const EglBinding* b, std::function<void()> f)
        : name(n), binding(b), frame(std::move(f)) {}

    const char* name;
    const EglBinding* binding;
    std::function<void()> frame;
    long frames = 0;
    BenchSample used;
};

// Draws frames of one contender for `seconds`, each finished as a swap
// would finish it.
void RunRound(Contender& contender, double seconds) {
    contender.binding->MakeCurrent();
    const BenchSample start = BenchSample::Now();
    const double end = start.wallSeconds + seconds;
    long frames = 0;
    do {
        contender.frame();
        glFinish();
        ++frames;
    } while (BenchSample::WallNow() < end);
    contender.used += BenchSample::Now() - start;
    contender.frames += frames;
}

double PerFrame(double total, long frames) {
    return frames > 0 ? total / static_cast<double>(frames) : 0.0;
}

void PrintPart(const char* name, int calls, const std::function<void()>& part) {
    // A few calls first, so that the driver compiles any new pipeline
    // outside the measurement (it may take more than one call to see them
    // all).
    for (int i = 0; i < kPartWarmUpCalls; ++i) {
        part();
        glFinish();
    }
    const BenchSample start = BenchSample::Now();
    for (int i = 0; i < calls; ++i) {
        part();
        glFinish();
    }
    const BenchSample used = BenchSample::Now() - start;
    std::printf("  %-36s %9.1f %9.1f %7.2f %7.2f %7.2f\n", name,
                PerFrame(used.wallSeconds, calls) * 1e6,
                PerFrame(used.threadCpuSeconds, calls) * 1e6,
                PerFrame(static_cast<double>(used.newCalls), calls),
                PerFrame(static_cast<double>(used.mallocCalls.mainThread), calls),
                PerFrame(static_cast<double>(used.mallocCalls.allThreads), calls));
}

long ChangedBytes(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    long changed = 0;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        changed += a[i] != b[i] ? 1 : 0;
    }
    return changed;
}

// The figure's bodies drawn with blending off or on, at the alpha the show
// last gave the figure.
void DrawFigureBlended(CSierpinski& figure, bool blend) {
    for (int i = 0; i < figure.nBodies; ++i) {
        figure.pcBodies[i].bBlend = blend;
    }
    figure.Draw();
    for (int i = 0; i < figure.nBodies; ++i) {
        figure.pcBodies[i].bBlend = figure.bBlend;
    }
}

// Work in the frame that does not change the picture. Each pair of drawings
// is compared byte for byte: the same picture means the work is not needed.
//  - The overlay, over a finished frame with the alpha the show last gave it:
//    from t = 0.05 on its alpha is 1, and with its black texel and both
//    factors GL_SRC_ALPHA it leaves every pixel as it is.
//  - The sky box, drawn first without writing depth, with the depth test on
//    (as the frame has it) and off: against a cleared depth buffer every
//    fragment passes.
//  - The figure at alpha 1 with and without blending: with GL_SRC_ALPHA and
//    GL_ONE_MINUS_SRC_ALPHA at alpha 1 the result is the source.
void PrintNeedlessWork(const OffscreenContext& context, SteadyShow& steady) {
    Show& show = steady.show;
    steady.DrawReplica(false);
    const std::vector<std::uint8_t> frame = context.ReadRgb();
    show.overlay.Draw();
    std::printf("Needless work (byte-for-byte comparison of %zu colour bytes):\n", frame.size());
    std::printf("  overlay at alpha %.3f over a finished frame changes %ld bytes\n",
                show.overlay.fColor[3], ChangedBytes(frame, context.ReadRgb()));

    // The camera's view of the last frame, for the drawings below.
    glLoadIdentity();
    show.camera.Update();
    const auto sky = [&show](bool depthTest) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        if (!depthTest) {
            glDisable(GL_DEPTH_TEST);
        }
        show.skyBox.Draw();
        glEnable(GL_DEPTH_TEST);
    };
    sky(true);
    const std::vector<std::uint8_t> skyTested = context.ReadRgb();
    sky(false);
    std::printf("  sky box with the depth test off instead of on changes %ld bytes\n",
                ChangedBytes(skyTested, context.ReadRgb()));

    CSierpinski& figure = show.figures[Show::kFigureCount - 1];
    figure.fColour[3] = 1.0f;
    sky(true);
    DrawFigureBlended(figure, true);
    const std::vector<std::uint8_t> blended = context.ReadRgb();
    sky(true);
    DrawFigureBlended(figure, false);
    std::printf("  figure 3 at alpha 1 unblended instead of blended changes %ld bytes\n\n",
                ChangedBytes(blended, context.ReadRgb()));
}

void PrintParts(const ShowBenchOptions& options, SteadyShow& steady) {
    Show& show = steady.show;
    const int calls = options.partCalls;
    std::printf("The frame's parts in the show's context, %d calls each, every call followed by\n"
                "glFinish (the view is the camera's of the last frame):\n",
                calls);
    std::printf("  %-36s %9s %9s %7s %7s %7s\n", "part", "wall us", "cpu us", "new", "malloc",
                "malloc");
    std::printf("  %-36s %9s %9s %7s %7s %7s\n", "", "", "(main)", "", "(main)", "(all)");
    glLoadIdentity();
    show.camera.Update();
    PrintPart("glFinish alone", calls, [] {});
    PrintPart("shell clear (colour and depth)", calls,
              [] { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); });
    PrintPart("camera Update (ring, gluLookAt)", calls, [&show] {
        glPushMatrix();
        show.camera.Update();
        glPopMatrix();
    });
    PrintPart("sky box Draw", calls, [&show] { show.skyBox.Draw(); });
    PrintPart("sky box Draw, depth test off", calls, [&show] {
        glDisable(GL_DEPTH_TEST);
        show.skyBox.Draw();
        glEnable(GL_DEPTH_TEST);
    });
    PrintPart("4 emitters Draw (400 particles)", calls, [&show] {
        for (CParticleEmitter& emitter : show.emitters) {
            emitter.Draw(EmitterTimeAt(std::int64_t{kShowPeriodMs}));
        }
    });
    PrintPart("4 emitters Draw, depth test off", calls, [&show] {
        glDisable(GL_DEPTH_TEST);
        for (CParticleEmitter& emitter : show.emitters) {
            emitter.Draw(EmitterTimeAt(std::int64_t{kShowPeriodMs}));
        }
        glEnable(GL_DEPTH_TEST);
    });
    PrintPart("4 emitters' squares, one draw each", calls, [&show] {
        for (const CParticleEmitter& emitter : show.emitters) {
            DrawParticlesBatched(emitter);
        }
    });
    show.figures[3].fColour[3] = 1.0f;
    PrintPart("figure 3 Draw (64 bodies)", calls, [&show] { show.figures[3].Draw(); });
    PrintPart("figure 3 Draw, bodies unblended", calls,
              [&show] { DrawFigureBlended(show.figures[3], false); });
    PrintPart("overlay Draw (the frame's alpha)", calls, [&show] { show.overlay.Draw(); });
    PrintPart("whole frame (shell clear + Frame)", calls, [&steady] { steady.DrawFrame(); });
    std::printf("\n");

    const BenchSample start = BenchSample::Now();
    for (int i = 0; i < kAttribPairs; ++i) {
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        glPopAttrib();
    }
    glFinish();
    const BenchSample used = BenchSample::Now() - start;
    std::printf("glPushAttrib(GL_ALL_ATTRIB_BITS) + glPopAttrib: %.2f us of CPU per pair "
                "(%d pairs); a frame makes %d such pairs (frame, overlay, 4 emitters, the "
                "figure)\n\n",
                PerFrame(used.threadCpuSeconds, kAttribPairs) * 1e6, kAttribPairs,
                2 + Show::kEmitterCount + 1);
}

} // namespace

void RunFrameBench(const ShowBenchOptions& options, const std::string& textureFolder) {
    // The show's context first; the show is destroyed while it is current,
    // so that its display lists go with their own context.
    auto showContext = std::make_unique<OffscreenContext>(options.width, options.height);
    if (!showContext->Ok()) {
        std::printf("no offscreen OpenGL context\n");
        return;
    }
    const EglBinding showBinding = EglBinding::Current();
    auto steady = std::make_unique<SteadyShow>(textureFolder, options.showTime);
    Resize(options.width, options.height);
    InitialiseOpenGL(steady->show, *showContext);
    // The first frame starts the show clock at 0; the next jumps to the
    // show time asked for.
    kestrune::DrawFrame(steady->show);
    // Every frame finished, as a swap would: the driver keeps the commands
    // of all unflushed frames, hundreds of MiB over a warm-up.
    for (int i = 0; i < kShowWarmUpFrames; ++i) {
        steady->DrawFrame();
        glFinish();
    }

    auto floorContext = std::make_unique<OffscreenContext>(options.width, options.height);
    const EglBinding floorBinding = EglBinding::Current();
    FloorScene floor(TextureFilePath(textureFolder, 4));
    Resize(options.width, options.height);
    InitialiseOpenGL(floor, *floorContext);
    for (int i = 0; i < kFloorWarmUpFrames; ++i) {
        DrawFrame(floor);
        glFinish();
    }

    std::vector<Contender> contenders = {
        {"show (the real Frame)", &showBinding, [&] { steady->DrawFrame(); }},
        {"floor", &floorBinding, [&] { DrawFrame(floor); }},
        {"show replica, with overlay", &showBinding, [&] { steady->DrawReplica(true); }},
        {"show replica, without overlay", &showBinding, [&] { steady->DrawReplica(false); }},
    };
    std::printf("Frames offscreen at %dx%d from t = %.3f on (t >= 0.8: 64 bodies), after %d "
                "warm-up frames, glFinish every frame; %d rounds of %.1f s per contender, "
                "interleaved:\n",
                options.width, options.height, options.showTime, kShowWarmUpFrames, options.rounds,
                options.roundSeconds);
    for (int round = 0; round < options.rounds; ++round) {
        std::printf("  round %d:", round + 1);
        for (Contender& contender : contenders) {
            const long before = contender.frames;
            const double wallBefore = contender.used.wallSeconds;
            RunRound(contender, options.roundSeconds);
            std::printf(" %s %.1f fps;", contender.name,
                        static_cast<double>(contender.frames - before) /
                            (contender.used.wallSeconds - wallBefore));
        }
        std::printf("\n");
    }

    std::printf("\n  %-30s %7s %7s %9s %9s %9s %7s %7s %7s\n", "contender", "frames", "fps",
                "cpu s/s", "others", "main cpu", "new", "malloc", "malloc");
    std::printf("  %-30s %7s %7s %9s %9s %9s %7s %7s %7s\n", "", "", "", "(process)", "cpu s/s",
                "ms/frame", "/frame", "main/fr", "all/fr");
    for (const Contender& c : contenders) {
        const double fps = static_cast<double>(c.frames) / c.used.wallSeconds;
        std::printf("  %-30s %7ld %7.1f %9.2f %9.2f %9.3f %7.2f %7.2f %7.2f\n", c.name, c.frames,
                    fps, c.used.processCpuSeconds / c.used.wallSeconds,
                    (c.used.machineBusySeconds - c.used.processCpuSeconds) / c.used.wallSeconds,
                    PerFrame(c.used.threadCpuSeconds, c.frames) * 1e3,
                    PerFrame(static_cast<double>(c.used.newCalls), c.frames),
                    PerFrame(static_cast<double>(c.used.mallocCalls.mainThread), c.frames),
                    PerFrame(static_cast<double>(c.used.mallocCalls.allThreads), c.frames));
    }
    const auto fpsOf = [](const Contender& c) {
        return static_cast<double>(c.frames) / c.used.wallSeconds;
    };
    std::printf("\n  ratio show / floor: %.3f\n", fpsOf(contenders[0]) / fpsOf(contenders[1]));
    std::printf("  ratio replica without overlay / with overlay: %.3f\n\n",
                fpsOf(contenders[3]) / fpsOf(contenders[2]));

    // Each scene goes while its own context is current.
    floorBinding.MakeCurrent();
    floor.ReleaseGlObjects();
    floorContext.reset();
    showBinding.MakeCurrent();
    PrintNeedlessWork(*showContext, *steady);
    PrintParts(options, *steady);
    steady->show.ReleaseGlObjects();
    steady.reset();
    showContext.reset();
}

} // namespace kestrune
