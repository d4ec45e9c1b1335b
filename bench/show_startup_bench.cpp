#include "bench/show_startup_bench.h"

#include "bench/bench_sample.h"
#include "common/kestrune_names.h"
#include "renderer/resources/texture.h"
#include "renderer/shell/gl_setup.h"
#include "renderer/shell/offscreen_context.h"
#include "renderer/show/show.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace kestrune {

namespace {

struct StartupTimes {
    double context = 0.0;
    double initialise = 0.0;
    double firstFrame = 0.0;
    double textures = 0.0;
    double lists = 0.0;
};

// The texture loads of the show's initialisation, file by file and wrap by
// wrap in its order: overlay, emitters, figure A and B, then the sky box's six
// faces (four from the third file, two from the fourth).
struct TextureLoad {
    int file;
    GLint wrap;
};
constexpr TextureLoad kShowTextureLoads[] = {
    {1, GL_REPEAT}, {2, GL_CLAMP}, {3, GL_CLAMP}, {3, GL_CLAMP}, {3, GL_CLAMP},
    {3, GL_CLAMP},  {3, GL_CLAMP}, {3, GL_CLAMP}, {4, GL_CLAMP}, {4, GL_CLAMP},
};

// Every builder of the initialisation runs once per object, so its build is
// timed on fresh objects given the configuration the show gave its own.
void ConfigureLike(CParticleEmitter& fresh, const CParticleEmitter& built) {
    for (int c = 0; c < 3; ++c) {
        fresh.fPosition[c] = built.fPosition[c];
        fresh.fFixedColour[c] = built.fFixedColour[c];
    }
    fresh.fSpread = built.fSpread;
    fresh.fSpeed = built.fSpeed;
    fresh.fDrag = built.fDrag;
    fresh.cAcceleration = built.cAcceleration;
    fresh.fGrowth = built.fGrowth;
    fresh.fHalfSize = built.fHalfSize;
    fresh.fFade = built.fFade;
    fresh.bRandomFade = built.bRandomFade;
    fresh.nParticles = built.nParticles;
    fresh.uiTexture = built.uiTexture;
    fresh.bBlend = built.bBlend;
    fresh.nBlendSrc = built.nBlendSrc;
    fresh.nBlendDst = built.nBlendDst;
    fresh.bColourCycling = built.bColourCycling;
}

void ConfigureLike(CSierpinski& fresh, const CSierpinski& built) {
    for (int c = 0; c < 3; ++c) {
        fresh.fCentre[c] = built.fCentre[c];
    }
    for (int c = 0; c < 4; ++c) {
        fresh.fColour[c] = built.fColour[c];
    }
    fresh.fSize = built.fSize;
    fresh.nLevel = built.nLevel;
    fresh.bNormals = built.bNormals;
    fresh.bBlend = built.bBlend;
    fresh.bMultitexture = built.bMultitexture;
    fresh.bSphereMap = built.bSphereMap;
    for (int unit = 0; unit < 2; ++unit) {
        fresh.uiTexture[unit] = built.uiTexture[unit];
        fresh.fEnvMode[unit] = built.fEnvMode[unit];
    }
    fresh.nBlendSrc = built.nBlendSrc;
    fresh.nBlendDst = built.nBlendDst;
}

void ConfigureLike(CScreenOverlay& fresh, const CScreenOverlay& built) {
    for (int c = 0; c < 4; ++c) {
        fresh.fColor[c] = built.fColor[c];
    }
    fresh.bBlend = built.bBlend;
    fresh.eBlendSrc = built.eBlendSrc;
    fresh.eBlendDst = built.eBlendDst;
    fresh.uiTexture = built.uiTexture;
    fresh.bDepthWrite = built.bDepthWrite;
}

void ConfigureLike(CSkyBox& fresh, const CSkyBox& built) {
    fresh.SetSize(built.fSize);
    fresh.SetPosition(built.fPosition[0], built.fPosition[1], built.fPosition[2]);
    for (unsigned slot = 0; slot < CSkyBox::kFaceCount; ++slot) {
        fresh.uiFaceTexture[slot] = built.uiFaceTexture[slot];
    }
}

double TimeTextureLoads(const std::string& folder) {
    GLuint names[std::size(kShowTextureLoads)] = {};
    const double start = BenchSample::WallNow();
    for (std::size_t i = 0; i < std::size(kShowTextureLoads); ++i) {
        const TextureLoad& load = kShowTextureLoads[i];
        CreateTexture(TextureFilePath(folder, load.file).c_str(), names[i], load.wrap, load.wrap);
    }
    glFinish();
    const double seconds = BenchSample::WallNow() - start;
    for (GLuint& name : names) {
        if (name != 0) {
            glDeleteTextures(1, &name);
        }
    }
    return seconds;
}

double TimeListBuilds(const Show& show) {
    // Destroyed after the timing, while the context is still current: their
    // lists go with them.
    CScreenOverlay overlay;
    CParticleEmitter emitters[Show::kEmitterCount];
    CSierpinski figures[Show::kFigureCount];
    CSkyBox skyBox;
    ConfigureLike(overlay, show.overlay);
    for (int i = 0; i < Show::kEmitterCount; ++i) {
        ConfigureLike(emitters[i], show.emitters[i]);
    }
    for (int i = 0; i < Show::kFigureCount; ++i) {
        ConfigureLike(figures[i], show.figures[i]);
    }
    ConfigureLike(skyBox, show.skyBox);

    const double start = BenchSample::WallNow();
    overlay.Build();
    for (CParticleEmitter& emitter : emitters) {
        emitter.Build();
    }
    for (CSierpinski& figure : figures) {
        figure.Generate();
    }
    skyBox.Build();
    glFinish();
    return BenchSample::WallNow() - start;
}

bool MeasureOnce(const ShowBenchOptions& options, const std::string& folder, StartupTimes& times) {
    // As in the program, the show exists before the window and outlives the
    // context; its destructors then find no context and delete nothing.
    TickCount now = 0;
    Show show([&now] { return now; }, folder);

    double mark = BenchSample::WallNow();
    OffscreenContext context(options.width, options.height);
    if (!context.Ok()) {
        return false;
    }
    times.context = BenchSample::WallNow() - mark;

    mark = BenchSample::WallNow();
    Resize(options.width, options.height);
    InitialiseOpenGL(show, context);
    glFinish();
    times.initialise = BenchSample::WallNow() - mark;

    // The first frame compiles the driver's pipeline for each new state and
    // is part of the wait for the first picture.
    mark = BenchSample::WallNow();
    DrawFrame(show);
    glFinish();
    times.firstFrame = BenchSample::WallNow() - mark;

    times.textures = TimeTextureLoads(folder);
    times.lists = TimeListBuilds(show);
    show.ReleaseGlObjects();
    return true;
}

double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

// The rest of the initialisation is the extension table, the fixed state
// and the first clear of the new buffers.
void PrintRow(const char* label, const StartupTimes& t) {
    std::printf("  %-8s %9.2f %11.2f %12.2f %9.2f %14.2f %7.2f\n", label, t.context * 1e3,
                t.initialise * 1e3, t.firstFrame * 1e3, t.textures * 1e3, t.lists * 1e3,
                (t.initialise - t.textures - t.lists) * 1e3);
}

} // namespace

void RunStartupBench(const ShowBenchOptions& options, const std::string& textureFolder) {
    std::printf("Start-up, offscreen %dx%d, milliseconds. The first start-up loads the driver.\n"
                "Initialise is the show's whole Initialise; textures (its ten texture loads) and\n"
                "display lists (overlay, emitters, figures, sky box) are its parts, timed again\n"
                "after it in the same context; rest = initialise - textures - display lists\n"
                "(extension table, fixed state, the first clear):\n",
                options.width, options.height);
    std::printf("  %-8s %9s %11s %12s %9s %14s %7s\n", "start-up", "context", "initialise",
                "first frame", "textures", "display lists", "rest");
    std::vector<StartupTimes> all;
    for (int i = 0; i < options.startups; ++i) {
        StartupTimes times;
        if (!MeasureOnce(options, textureFolder, times)) {
            std::printf("  no offscreen OpenGL context\n");
            return;
        }
        char label[16];
        std::snprintf(label, sizeof label, "#%d", i + 1);
        PrintRow(label, times);
        all.push_back(times);
    }
    if (all.size() > 1) {
        // The median of the start-ups after the first: the driver is loaded.
        StartupTimes median;
        const auto pick = [&all](double StartupTimes::*field) {
            std::vector<double> values;
            for (std::size_t i = 1; i < all.size(); ++i) {
                values.push_back(all[i].*field);
            }
            return Median(values);
        };
        median.context = pick(&StartupTimes::context);
        median.initialise = pick(&StartupTimes::initialise);
        median.firstFrame = pick(&StartupTimes::firstFrame);
        median.textures = pick(&StartupTimes::textures);
        median.lists = pick(&StartupTimes::lists);
        PrintRow("median*", median);
        std::printf("  (* of start-ups 2 to %zu)\n", all.size());
    }
    std::printf("\n");
}

} // namespace kestrune
