// The show's pictures over its whole course, held against checksums stored
// here. Any change of what the user sees changes one of them, so a change to
// the drawing code that is meant to keep the picture (a faster call sequence,
// fewer state changes) proves it here, and a change that is meant to alter the
// picture updates the table on purpose: a failure prints the new lines.
//
// The frames come from kestrune-tool snapshot, as a developer makes them: the
// real show, offscreen, 240 frames at 60 frames per second of show time
// ending at the moment, the random generator seeded with 1.

#include "host/pictures/texture_pictures.h"
#include "tests/support/offscreen_gl.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/tool_run.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace kestrune::test {
namespace {

using namespace std::chrono_literals;

// The rasteriser the checksums were recorded with. Another one (another Mesa,
// another vector width, a GPU) rounds differently and gives other bytes for
// the same picture, so the comparison only means something on this one.
constexpr const char* kRecordedRenderer = "llvmpipe (LLVM 15.0.6, 256 bits)";
constexpr const char* kRecordedVersion = "4.5 (Compatibility Profile) Mesa 22.3.6";

constexpr const char* kSize = "512x384";

struct Moment {
    const char* time; // show time as a fraction of the 100 s period
    const char* what;
    const char* checksum; // FNV-1a 64 of the whole PPM file
};

constexpr Moment kMoments[] = {
    {"0.02", "fade-in at 40 %, wander growing", "5f77967f1cd6045d"},
    {"0.045", "fade-in at 90 %", "1a789634ad2197b7"},
    {"0.08", "full picture, no figure yet", "9b363177a5133346"},
    {"0.15", "figure 0 fading in", "ed61aea24d880244"},
    {"0.25", "figure 0 alone", "fc33120ecfb80f16"},
    {"0.35", "figure 0 to figure 1", "4a1bd1090695ebe3"},
    {"0.45", "figure 1 alone", "96fcdc8b36f0b620"},
    {"0.55", "figure 1 to figure 2", "8952a2d62b61bf09"},
    {"0.65", "figure 2 alone", "6d28f589689a8f15"},
    {"0.75", "figure 2 to figure 3", "eef4545a04a84fbf"},
    {"0.85", "figure 3 alone", "04d1edc046bfead7"},
    {"1.5", "late: figure 3, camera and emitters on", "b0c713d2b36a0f10"},
    {"4.0", "later still", "50ae433e9dd630ca"},
};

std::string Fnv1a64Hex(const std::string& bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char byte : bytes) {
        hash ^= static_cast<unsigned char>(byte);
        hash *= 1099511628211ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

std::string GlString(GLenum name) {
    const auto* text = reinterpret_cast<const char*>(glGetString(name));
    return text ? text : "";
}

TEST(ShowPictures, EveryMomentKeepsItsStoredChecksum) {
    {
        OffscreenGl gl(16, 16);
        ASSERT_TRUE(gl.Ok()) << "no offscreen OpenGL context";
        const std::string renderer = GlString(GL_RENDERER);
        const std::string version = GlString(GL_VERSION);
        if (renderer != kRecordedRenderer || version != kRecordedVersion) {
            GTEST_SKIP() << "the checksums were recorded with " << kRecordedRenderer << ", "
                         << kRecordedVersion << "; this machine draws with " << renderer << ", "
                         << version << ", which rounds differently";
        }
    }

    const auto folder = MakeTemporaryFolder("kestrune-pictures");
    ASSERT_FALSE(folder.empty());
    ASSERT_TRUE(SaveTexturePictures(folder.string()));

    std::string newTable;
    bool allSame = true;
    for (const Moment& moment : kMoments) {
        const auto picture = folder / (std::string("t") + moment.time + ".ppm");
        const ToolRun run = RunKestruneTool({"snapshot", "--time", moment.time, "--size", kSize,
                                             "--textures", folder.string(), picture.string()},
                                            300s);
        ASSERT_EQ(run.exitCode, 0)
            << "snapshot at t = " << moment.time << ": " << run.output << run.error;
        const std::string checksum = Fnv1a64Hex(ReadBytes(picture.string()));
        if (checksum != moment.checksum) {
            allSame = false;
            ADD_FAILURE() << "t = " << moment.time << " (" << moment.what << "): " << checksum
                          << ", stored " << moment.checksum;
        } else {
            std::filesystem::remove(picture);
        }
        newTable += std::string("    {\"") + moment.time + "\", \"" + moment.what + "\", \"" +
                    checksum + "\"},\n";
    }
    if (allSame) {
        std::filesystem::remove_all(folder);
    } else {
        ADD_FAILURE() << "the pictures that differ are kept in " << folder.string()
                      << "; if the change of picture is meant, the table becomes:\n"
                      << newTable;
    }
}

} // namespace
} // namespace kestrune::test
