#include "tools/snapshot_command.h"

#include "renderer/Classes/CRandom.h"
#include "renderer/opengl.h"
#include "renderer/shell/gl_setup.h"
#include "renderer/shell/offscreen_context.h"
#include "renderer/show/show.h"
#include "renderer/show/show_timeline.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace kestrune::tool {

namespace {

// The emitters carry their particles from frame to frame, so a snapshot is
// the last of a run of frames: 240 frames at 60 frames per second of show
// time ending at T, with the random generator seeded with 1, which puts the
// particle trails in their steady state and makes every run give the same
// bytes. The show clock starts at the first frame, so the first frame is
// always at show time 0; the others follow at 1/60 s steps ending at T (those
// that would fall before 0 are drawn at 0).
constexpr int kFrameCount = 240;
constexpr double kFrameMs = 1000.0 / 60.0;
constexpr std::uint32_t kSnapshotSeed = 1;
constexpr int kMaxSide = 8192;

struct Arguments {
    double time = -1.0;
    int width = 0;
    int height = 0;
    std::string textures;
    std::string output;
};

bool ParseSize(const char* text, int& width, int& height) {
    char* end = nullptr;
    const long w = std::strtol(text, &end, 10);
    if (end == text || (*end != 'x' && *end != 'X')) {
        return false;
    }
    const char* rest = end + 1;
    const long h = std::strtol(rest, &end, 10);
    if (end == rest || *end != '\0' || w < 1 || h < 1 || w > kMaxSide || h > kMaxSide) {
        return false;
    }
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

bool Parse(std::span<char* const> args, Arguments& parsed) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string word = args[i];
        const bool hasValue = i + 1 < args.size();
        if (word == "--time" && hasValue) {
            char* end = nullptr;
            parsed.time = std::strtod(args[++i], &end);
            if (*end != '\0' || !std::isfinite(parsed.time) || parsed.time < 0.0) {
                return false;
            }
        } else if (word == "--size" && hasValue) {
            if (!ParseSize(args[++i], parsed.width, parsed.height)) {
                return false;
            }
        } else if (word == "--textures" && hasValue) {
            parsed.textures = args[++i];
        } else if (!word.empty() && word[0] != '-' && parsed.output.empty()) {
            parsed.output = word;
        } else {
            return false;
        }
    }
    return parsed.time >= 0.0 && parsed.width > 0 && !parsed.output.empty();
}

// Writes the frame as a binary PPM, top row first (OpenGL reads bottom up).
bool WriteFrame(const std::string& path, int width, int height,
                const std::vector<std::uint8_t>& rgb) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) {
        return false;
    }
    bool ok = std::fprintf(out, "P6\n%d %d\n255\n", width, height) > 0;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    for (int row = height - 1; ok && row >= 0; --row) {
        ok = std::fwrite(rgb.data() + rowBytes * static_cast<std::size_t>(row), 1, rowBytes, out) ==
             rowBytes;
    }
    return std::fclose(out) == 0 && ok;
}

int Run(std::span<char* const> args) {
    Arguments parsed;
    if (!Parse(args, parsed)) {
        std::fprintf(stderr,
                     "usage: kestrune-tool snapshot --time T --size WxH [--textures DIR] OUT.ppm\n"
                     "  T is the show time as a fraction of the 100 s period (0.35 = 35 s)\n");
        return 2;
    }

    OffscreenContext context(parsed.width, parsed.height);
    if (!context.Ok()) {
        std::fprintf(stderr, "kestrune-tool snapshot: no offscreen OpenGL context\n");
        return 1;
    }

    TickCount now = 0;
    Show show([&now] { return now; }, parsed.textures);
    // After the show exists: each emitter seeds the generator from the clock
    // when it is constructed.
    CRandom::SeedWith(kSnapshotSeed);

    Resize(parsed.width, parsed.height);
    InitialiseOpenGL(show, context);
    const double endMs = parsed.time * kShowPeriodMs;
    for (int frame = 0; frame < kFrameCount; ++frame) {
        const double ms = frame == 0 ? 0.0 : endMs - (kFrameCount - 1 - frame) * kFrameMs;
        now = static_cast<TickCount>(std::llround(std::max(ms, 0.0)));
        DrawFrame(show);
        // As a buffer swap would: without it the driver keeps every frame's
        // commands queued, over a gigabyte for 240 frames at 1024 x 768.
        glFinish();
    }
    const bool written = WriteFrame(parsed.output, parsed.width, parsed.height, context.ReadRgb());
    show.ReleaseGlObjects();
    if (!written) {
        std::fprintf(stderr, "kestrune-tool snapshot: cannot write %s: %s\n", parsed.output.c_str(),
                     std::strerror(errno));
        return 1;
    }
    return 0;
}

} // namespace

const Command kSnapshotCommand = {
    "snapshot", "--time T --size WxH [--textures DIR] OUT.ppm",
    "Render the show at show time T (a fraction of the 100 s period) offscreen and write "
    "the frame as a binary PPM; textures from DIR or the texture folder",
    &Run};

} // namespace kestrune::tool
