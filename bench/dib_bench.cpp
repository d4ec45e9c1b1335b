// Decode throughput of the renderer's BMP loader beside stb_image on the same
// files: a 512 x 512 24-bit picture (the largest texture file the host
// writes) and a 256 x 256 8-bit one. Each is loaded from a file (open, map or
// read, convert, free) and decoded from memory already read; the figures are
// megabytes of 24-bit output per second, and the summary prints our speed
// over stb's (above 1: faster).
//
//   build/<dir>/bench/kestrune_dib_bench [--benchmark_min_time=2]

#include "renderer/resources/dib_decoder.h"
#include "renderer/resources/dib_loader.h"

#include "tests/renderer/resources/dib_builder.h"

#include <benchmark/benchmark.h>
#include <stb/stb_image.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include <unistd.h>

namespace {

using kestrune::test::Bgr;
using kestrune::test::DibFields;

// Pictures of noise, so that neither decoder profits from uniform data.
std::uint32_t Noise(std::uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return state >> 24;
}

std::vector<std::uint8_t> Picture24(int size) {
    std::uint32_t state = 1;
    DibFields dib;
    dib.width = size;
    dib.height = size;
    dib.pixels = kestrune::test::Rows24(size, size, [&](int, int) {
        return Bgr{static_cast<std::uint8_t>(Noise(state)), static_cast<std::uint8_t>(Noise(state)),
                   static_cast<std::uint8_t>(Noise(state))};
    });
    return kestrune::test::MakeDib(dib);
}

std::vector<std::uint8_t> Picture8(int size) {
    std::uint32_t state = 2;
    DibFields dib;
    dib.width = size;
    dib.height = size;
    dib.bitCount = 8;
    for (int i = 0; i < 256; ++i) {
        dib.palette.push_back({static_cast<std::uint8_t>(Noise(state)),
                               static_cast<std::uint8_t>(Noise(state)),
                               static_cast<std::uint8_t>(Noise(state))});
    }
    dib.pixels = kestrune::test::RowsIndexed(
        8, size, size, [&](int, int) { return static_cast<int>(Noise(state)); });
    return kestrune::test::MakeDib(dib);
}

struct Sample {
    std::string label;
    std::string path;
    std::vector<std::uint8_t> bytes;
    int width;
    int height;
};

void LoadOurs(benchmark::State& state, const Sample* sample) {
    for (auto _ : state) {
        std::optional<kestrune::RgbImage> image = kestrune::LoadDib(sample->path.c_str());
        if (!image) {
            state.SkipWithError("the loader refused the file");
            return;
        }
        benchmark::DoNotOptimize(image->pixels.data());
    }
    state.SetBytesProcessed(state.iterations() * sample->width * sample->height * 3);
}

void LoadStb(benchmark::State& state, const Sample* sample) {
    for (auto _ : state) {
        int w = 0, h = 0, n = 0;
        stbi_uc* pixels = stbi_load(sample->path.c_str(), &w, &h, &n, 3);
        if (!pixels) {
            state.SkipWithError("stb_image refused the file");
            return;
        }
        benchmark::DoNotOptimize(pixels);
        stbi_image_free(pixels);
    }
    state.SetBytesProcessed(state.iterations() * sample->width * sample->height * 3);
}

void DecodeOurs(benchmark::State& state, const Sample* sample) {
    for (auto _ : state) {
        kestrune::RgbImage image;
        if (kestrune::DecodeDib(sample->bytes, image) != kestrune::DibStatus::Decoded) {
            state.SkipWithError("the decoder refused the bytes");
            return;
        }
        benchmark::DoNotOptimize(image.pixels.data());
    }
    state.SetBytesProcessed(state.iterations() * sample->width * sample->height * 3);
}

void DecodeStb(benchmark::State& state, const Sample* sample) {
    for (auto _ : state) {
        int w = 0, h = 0, n = 0;
        stbi_uc* pixels = stbi_load_from_memory(
            sample->bytes.data(), static_cast<int>(sample->bytes.size()), &w, &h, &n, 3);
        if (!pixels) {
            state.SkipWithError("stb_image refused the bytes");
            return;
        }
        benchmark::DoNotOptimize(pixels);
        stbi_image_free(pixels);
    }
    state.SetBytesProcessed(state.iterations() * sample->width * sample->height * 3);
}

// Keeps each run's time per iteration beside the usual console table.
class CollectingReporter final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (!run.error_occurred && run.iterations > 0) {
                seconds[run.benchmark_name()] = run.real_accumulated_time / double(run.iterations);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> seconds;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("kestrune_dib_bench_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::vector<Sample> samples = {
        {"512x512 24-bit", (folder / "rgb24_512.bmp").string(), Picture24(512), 512, 512},
        {"256x256 8-bit", (folder / "pal8_256.bmp").string(), Picture8(256), 256, 256},
    };
    for (const Sample& sample : samples) {
        std::ofstream(sample.path, std::ios::binary)
            .write(reinterpret_cast<const char*>(sample.bytes.data()),
                   std::streamsize(sample.bytes.size()));
    }
    for (const Sample& sample : samples) {
        benchmark::RegisterBenchmark(("file/kestrune/" + sample.label).c_str(), LoadOurs, &sample);
        benchmark::RegisterBenchmark(("file/stb_image/" + sample.label).c_str(), LoadStb, &sample);
        benchmark::RegisterBenchmark(("memory/kestrune/" + sample.label).c_str(), DecodeOurs,
                                     &sample);
        benchmark::RegisterBenchmark(("memory/stb_image/" + sample.label).c_str(), DecodeStb,
                                     &sample);
    }
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\n%-8s %-16s %14s %14s %18s\n", "source", "picture", "kestrune MB/s",
                "stb_image MB/s", "kestrune/stb speed");
    for (const char* source : {"file", "memory"}) {
        for (const Sample& sample : samples) {
            const auto ours =
                reporter.seconds.find(std::string(source) + "/kestrune/" + sample.label);
            const auto theirs =
                reporter.seconds.find(std::string(source) + "/stb_image/" + sample.label);
            if (ours == reporter.seconds.end() || theirs == reporter.seconds.end()) {
                continue;
            }
            const double megabytes = double(sample.width) * sample.height * 3 / 1e6;
            std::printf("%-8s %-16s %14.1f %14.1f %18.2f\n", source, sample.label.c_str(),
                        megabytes / ours->second, megabytes / theirs->second,
                        theirs->second / ours->second);
        }
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return 0;
}
