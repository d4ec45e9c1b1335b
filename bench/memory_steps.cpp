#include "bench/memory_steps.h"

#include "bench/floor_scene.h"
#include "common/kestrune_names.h"
#include "renderer/shell/gl_setup.h"
#include "renderer/shell/offscreen_context.h"
#include "renderer/show/show.h"
#include "renderer/show/show_timeline.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

namespace kestrune {

namespace {

// As many frames as the frame-rate benchmark warms up with: every particle
// has been reborn and the driver has met every state of the steady show.
constexpr int kSteadyFrames = 300;
constexpr double kFrameMs = 1000.0 / 60.0;
constexpr int kUnflushedFrames = 100;

// A field of /proc/self/status in KiB, 0 when it cannot be read.
long StatusKib(const char* field) {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (status == nullptr) {
        return 0;
    }
    char line[256];
    long kib = 0;
    const std::size_t length = std::strlen(field);
    while (std::fgets(line, sizeof line, status) != nullptr) {
        if (std::strncmp(line, field, length) == 0) {
            kib = std::strtol(line + length, nullptr, 10);
            break;
        }
    }
    std::fclose(status);
    return kib;
}

void PrintStep(const char* step, long& previous) {
    const long rss = StatusKib("VmRSS:");
    std::printf("  %-36s %8.1f MiB  (%+.1f)\n", step, rss / 1024.0, (rss - previous) / 1024.0);
    previous = rss;
}

} // namespace

bool RunMemorySteps(const ShowBenchOptions& options, const std::string& textureFolder,
                    const std::string& scene) {
    if (scene != "show" && scene != "floor") {
        return false;
    }
    std::printf("Resident memory of a fresh process running the %s offscreen at %dx%d:\n",
                scene.c_str(), options.width, options.height);
    long previous = 0;
    PrintStep("at start", previous);
    TickCount now = 0;
    Show show([&now] { return now; }, textureFolder);
    FloorScene floor(TextureFilePath(textureFolder, 4));
    Scene& drawn = scene == "show" ? static_cast<Scene&>(show) : static_cast<Scene&>(floor);

    auto context = std::make_unique<OffscreenContext>(options.width, options.height);
    if (!context->Ok()) {
        return false;
    }
    PrintStep("context made (driver loaded)", previous);
    Resize(options.width, options.height);
    InitialiseOpenGL(drawn, *context);
    glFinish();
    PrintStep("initialised (textures, lists)", previous);
    DrawFrame(drawn);
    glFinish();
    PrintStep("first frame", previous);
    const double startMs = options.showTime * kShowPeriodMs;
    for (int frame = 0; frame < kSteadyFrames; ++frame) {
        now = static_cast<TickCount>(std::llround(startMs + frame * kFrameMs));
        DrawFrame(drawn);
        // As a swap would: llvmpipe keeps every unflushed frame's commands.
        glFinish();
    }
    PrintStep("300 frames later", previous);
    std::printf("  high-water mark (VmHWM)              %8.1f MiB\n", StatusKib("VmHWM:") / 1024.0);

    // What a program that never swaps or flushes (an offscreen tool drawing a
    // run of frames) pays: the driver holds every frame's commands until the
    // next flush.
    for (int frame = 0; frame < kUnflushedFrames; ++frame) {
        now = static_cast<TickCount>(std::llround(startMs + (kSteadyFrames + frame) * kFrameMs));
        DrawFrame(drawn);
    }
    PrintStep("100 more frames, none flushed", previous);
    glFinish();
    PrintStep("after glFinish", previous);
    std::printf("\n");
    drawn.ReleaseGlObjects();
    // The scenes' objects go after the context, as in the program.
    context.reset();
    return true;
}

} // namespace kestrune
