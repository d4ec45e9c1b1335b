// kestrune_show_bench: the show offscreen, in one process. Start-up with its
// parts, frames per second at t >= 0.8 against the floor scene, heap
// allocations per frame, and the cost of each part of a frame.
//   kestrune_show_bench [--size WxH] [--startups N] [--rounds N]
//                       [--round-seconds S] [--show-time T] [--part-calls N]
//                       [--textures DIR] [--memory show|floor]
// --memory measures only the resident memory of one scene's start-up, which
// needs a process of its own.

#include "bench/malloc_counter.h"
#include "bench/memory_steps.h"
#include "bench/show_bench_options.h"
#include "bench/show_frame_bench.h"
#include "bench/show_startup_bench.h"
#include "bench/texture_folder.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace {

bool ParseInt(const char* text, int low, int& value) {
    char* end = nullptr;
    const long parsed = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || parsed < low || parsed > 1000000) {
        return false;
    }
    value = static_cast<int>(parsed);
    return true;
}

bool ParseOptions(int argc, char** argv, kestrune::ShowBenchOptions& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (i + 1 >= argc) {
            return false;
        }
        const char* value = argv[++i];
        bool ok = true;
        if (word == "--size") {
            ok = std::sscanf(value, "%dx%d", &options.width, &options.height) == 2 &&
                 options.width > 0 && options.height > 0;
        } else if (word == "--startups") {
            ok = ParseInt(value, 1, options.startups);
        } else if (word == "--rounds") {
            ok = ParseInt(value, 1, options.rounds);
        } else if (word == "--round-seconds") {
            char* end = nullptr;
            options.roundSeconds = std::strtod(value, &end);
            ok = end != value && *end == '\0' && options.roundSeconds > 0.0;
        } else if (word == "--show-time") {
            char* end = nullptr;
            options.showTime = std::strtod(value, &end);
            ok = end != value && *end == '\0' && options.showTime >= 0.0 && options.showTime < 1e4;
        } else if (word == "--part-calls") {
            ok = ParseInt(value, 1, options.partCalls);
        } else if (word == "--memory") {
            options.memoryScene = value;
        } else if (word == "--textures") {
            options.textures = value;
        } else {
            ok = false;
        }
        if (!ok) {
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    kestrune::MarkThisThreadAsMain();
    kestrune::ShowBenchOptions options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: kestrune_show_bench [--size WxH] [--startups N] [--rounds N]\n"
                             "                           [--round-seconds S] [--part-calls N] "
                             "[--textures DIR]\n");
        return 2;
    }

    std::optional<kestrune::TemporaryTextureFolder> written;
    std::string folder = options.textures;
    if (folder.empty()) {
        written.emplace();
        if (written->Path().empty()) {
            std::fprintf(stderr, "kestrune_show_bench: %s\n", written->Error().c_str());
            return 1;
        }
        folder = written->Path();
    }
    std::printf("Textures from %s\n\n", folder.c_str());

    if (!options.memoryScene.empty()) {
        return kestrune::RunMemorySteps(options, folder, options.memoryScene) ? 0 : 1;
    }
    kestrune::RunStartupBench(options, folder);
    kestrune::RunFrameBench(options, folder);
    return 0;
}
