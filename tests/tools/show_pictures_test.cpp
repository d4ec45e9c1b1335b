// The show's pictures over its whole course, held against reference pictures
// stored beside this test (show_pictures/, binary PPMs compressed with gzip).
// A change to the drawing code that is meant to keep the picture (a faster
// call sequence, fewer state changes) proves it here; one that is meant to
// alter the picture replaces the references on purpose: a failure keeps the
// new pictures and says how.
//
// A picture keeps its reference when no channel of any pixel differs by more
// than one level and at most one pixel in a thousand differs at all: the
// rounding of a vertex computed one way or another moves a few edge pixels of
// a spark by a level, which no one can see, while anything a viewer could
// tell apart (a missing or moved spark, another blend, a wrong figure or
// alpha) changes more pixels or changes them by more.
//
// The frames come from kestrune-tool snapshot, as a developer makes them: the
// real show, offscreen, 240 frames at 60 frames per second of show time
// ending at the moment, the random generator seeded with 1.

#include "host/pictures/texture_pictures.h"
#include "tests/support/offscreen_gl.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/tool_run.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace kestrune::test {
namespace {

using namespace std::chrono_literals;

// The rasteriser the references were recorded with. Another one (another Mesa,
// another vector width, a GPU) rounds differently and gives other pixels for
// the same picture, so the comparison only means something on this one.
constexpr const char* kRecordedRenderer = "llvmpipe (LLVM 15.0.6, 256 bits)";
constexpr const char* kRecordedVersion = "4.5 (Compatibility Profile) Mesa 22.3.6";

constexpr const char* kSize = "512x384";
constexpr int kMostLevelsApart = 1;
constexpr long kPixelsPerDifferingPixel = 1000; // at most one in this many differs

struct Moment {
    const char* time; // show time as a fraction of the 100 s period
    const char* what;
};

constexpr Moment kMoments[] = {
    {"0.02", "fade-in at 40 %, wander growing"},
    {"0.045", "fade-in at 90 %"},
    {"0.08", "full picture, no figure yet"},
    {"0.15", "figure 0 fading in"},
    {"0.25", "figure 0 alone"},
    {"0.35", "figure 0 to figure 1"},
    {"0.45", "figure 1 alone"},
    {"0.55", "figure 1 to figure 2"},
    {"0.65", "figure 2 alone"},
    {"0.75", "figure 2 to figure 3"},
    {"0.85", "figure 3 alone"},
    {"1.5", "late: figure 3, camera and emitters on"},
    {"4.0", "later still"},
};

// The whole of a gzip-compressed file, or nothing when it cannot be read.
std::string ReadGzipBytes(const std::string& path) {
    std::string bytes;
    gzFile file = gzopen(path.c_str(), "rb");
    if (file == nullptr) {
        return bytes;
    }
    char buffer[1 << 16];
    int count = 0;
    while ((count = gzread(file, buffer, sizeof buffer)) > 0) {
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
    gzclose(file);
    return count == 0 ? bytes : std::string();
}

// Empty when the drawn PPM keeps the reference, else what differs. Both come
// from the snapshot command at one size: "P6\nW H\n255\n" and the pixels.
std::string HowFarApart(const std::string& drawn, const std::string& reference) {
    std::size_t header = 0;
    for (int lines = 0; lines < 3 && header < drawn.size(); ++header) {
        lines += drawn[header] == '\n' ? 1 : 0;
    }
    if (drawn.size() != reference.size() || drawn.compare(0, header, reference, 0, header) != 0) {
        return "another size";
    }
    long differing = 0;
    int largest = 0;
    for (std::size_t pixel = header; pixel + 3 <= drawn.size(); pixel += 3) {
        int widest = 0;
        for (std::size_t c = pixel; c < pixel + 3; ++c) {
            widest = std::max(widest, std::abs(static_cast<unsigned char>(drawn[c]) -
                                               static_cast<unsigned char>(reference[c])));
        }
        differing += widest > 0 ? 1 : 0;
        largest = std::max(largest, widest);
    }
    const auto pixels = static_cast<long>((drawn.size() - header) / 3);
    if (largest <= kMostLevelsApart && differing * kPixelsPerDifferingPixel <= pixels) {
        return {};
    }
    return std::to_string(differing) + " of " + std::to_string(pixels) +
           " pixels differ, by up to " + std::to_string(largest) + " levels";
}

std::string GlString(GLenum name) {
    const auto* text = reinterpret_cast<const char*>(glGetString(name));
    return text ? text : "";
}

TEST(ShowPictures, EveryMomentStaysWithinOneLevelOfItsReference) {
    {
        OffscreenGl gl(16, 16);
        ASSERT_TRUE(gl.Ok()) << "no offscreen OpenGL context";
        const std::string renderer = GlString(GL_RENDERER);
        const std::string version = GlString(GL_VERSION);
        if (renderer != kRecordedRenderer || version != kRecordedVersion) {
            GTEST_SKIP() << "the reference pictures were recorded with " << kRecordedRenderer
                         << ", " << kRecordedVersion << "; this machine draws with " << renderer
                         << ", " << version << ", which rounds differently";
        }
    }

    const auto folder = MakeTemporaryFolder("kestrune-pictures");
    ASSERT_FALSE(folder.empty());
    ASSERT_TRUE(SaveTexturePictures(folder.string()));

    const std::string references = KESTRUNE_SOURCE_DIR "/tests/tools/show_pictures";
    bool allKept = true;
    for (const Moment& moment : kMoments) {
        const std::string name = std::string("t") + moment.time + ".ppm";
        const auto picture = folder / name;
        const ToolRun run = RunKestruneTool({"snapshot", "--time", moment.time, "--size", kSize,
                                             "--textures", folder.string(), picture.string()},
                                            300s);
        ASSERT_EQ(run.exitCode, 0)
            << "snapshot at t = " << moment.time << ": " << run.output << run.error;
        const std::string reference = ReadGzipBytes(references + "/" + name + ".gz");
        ASSERT_FALSE(reference.empty()) << "no reference " << references << "/" << name << ".gz";
        const std::string difference = HowFarApart(ReadBytes(picture.string()), reference);
        if (difference.empty()) {
            std::filesystem::remove(picture);
        } else {
            allKept = false;
            ADD_FAILURE() << "t = " << moment.time << " (" << moment.what << "): " << difference;
        }
    }
    if (allKept) {
        std::filesystem::remove_all(folder);
    } else {
        ADD_FAILURE() << "the pictures that differ are kept in " << folder.string()
                      << "; if the change of picture is meant, each becomes its reference with"
                      << " gzip -9n < " << folder.string() << "/tT.ppm > " << references
                      << "/tT.ppm.gz";
    }
}

} // namespace
} // namespace kestrune::test
