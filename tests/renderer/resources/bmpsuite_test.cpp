// Conformance over the public BMP test suite that comes with the project's
// surroundings: every good file decodes to its expected picture (or is
// refused where its header is one the loader does not take), and every bad
// file either decodes or is refused with one message, never anything worse.

#include "renderer/resources/dib_decoder.h"
#include "renderer/resources/dib_loader.h"

#include "tests/renderer/resources/capturing_sink.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace kestrune {
namespace {

namespace fs = std::filesystem;
using test::CapturingSink;

fs::path SuiteFolder() {
    return fs::path(KESTRUNE_FIXTURES_DIR) / "bmpsuite";
}

std::vector<std::uint8_t> ReadAll(const fs::path& path) {
    const std::string bytes = test::ReadBytes(path);
    return {bytes.begin(), bytes.end()};
}

struct Expectation {
    const char* file;
    DibStatus status;
};

// What the loader makes of each good file.
constexpr Expectation kGood[] = {
    {"pal1.bmp", DibStatus::Decoded},
    {"pal1bg.bmp", DibStatus::Decoded},
    {"pal1wb.bmp", DibStatus::Decoded},
    {"pal4.bmp", DibStatus::Decoded},
    {"pal4gs.bmp", DibStatus::Decoded},
    {"pal4rle.bmp", DibStatus::Decoded},
    {"pal8-0.bmp", DibStatus::Decoded},
    {"pal8.bmp", DibStatus::Decoded},
    {"pal8gs.bmp", DibStatus::Decoded},
    {"pal8nonsquare.bmp", DibStatus::Decoded},
    {"pal8os2.bmp", DibStatus::Decoded},
    {"pal8rle.bmp", DibStatus::Decoded},
    {"pal8topdown.bmp", DibStatus::Decoded},
    {"pal8v4.bmp", DibStatus::UnknownFormat}, // 108-byte header
    {"pal8v5.bmp", DibStatus::UnknownFormat}, // 124-byte header
    {"pal8w124.bmp", DibStatus::Decoded},
    {"pal8w125.bmp", DibStatus::Decoded},
    {"pal8w126.bmp", DibStatus::Decoded},
    {"rgb16-565.bmp", DibStatus::Decoded},
    {"rgb16-565pal.bmp", DibStatus::Decoded},
    {"rgb16.bmp", DibStatus::Decoded},
    {"rgb16bfdef.bmp", DibStatus::Decoded},
    {"rgb24.bmp", DibStatus::Decoded},
    {"rgb24pal.bmp", DibStatus::Decoded},
    {"rgb32.bmp", DibStatus::Decoded},
    {"rgb32bf.bmp", DibStatus::Decoded},
    {"rgb32bfdef.bmp", DibStatus::Decoded},
};

// What the loader makes of each bad file, and why.
constexpr Expectation kBad[] = {
    // 30000 bits per pixel.
    {"badbitcount.bmp", DibStatus::ConversionError},
    // Only the image-size field is absurd; the rows are complete.
    {"badbitssize.bmp", DibStatus::Decoded},
    // Absurd densities, which the conversion never looks at.
    {"baddens1.bmp", DibStatus::Decoded},
    {"baddens2.bmp", DibStatus::Decoded},
    // Only the file-size field is absurd.
    {"badfilesize.bmp", DibStatus::Decoded},
    // A 66-byte info header.
    {"badheadersize.bmp", DibStatus::UnknownFormat},
    // A colour table of 4660 entries in a file that holds 252.
    {"badpalettesize.bmp", DibStatus::ConversionError},
    // 30000 planes.
    {"badplanes.bmp", DibStatus::ConversionError},
    // Run-length streams that run past the picture: clipped at its edges.
    {"badrle.bmp", DibStatus::Decoded},
    {"badrle4.bmp", DibStatus::Decoded},
    {"badrle4bis.bmp", DibStatus::Decoded},
    {"badrle4ter.bmp", DibStatus::Decoded},
    {"badrlebis.bmp", DibStatus::Decoded},
    {"badrleter.bmp", DibStatus::Decoded},
    // A negative width.
    {"badwidth.bmp", DibStatus::ConversionError},
    // Indices beyond the colour table, which are black.
    {"pal8badindex.bmp", DibStatus::Decoded},
    // 3000000 x 2000000 pixels.
    {"reallybig.bmp", DibStatus::OutOfMemory},
    // Unusual masks (8 bits of red, 8 of green, no blue).
    {"rgb16-880.bmp", DibStatus::Decoded},
    // A top-down run-length file.
    {"rletopdown.bmp", DibStatus::ConversionError},
    // 273 bytes where the rows need 1024.
    {"shortfile.bmp", DibStatus::ConversionError},
};

class BmpSuite : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::is_directory(SuiteFolder())) {
            GTEST_SKIP() << "BMP conformance files not found at " << SuiteFolder() << "; skipping";
        }
    }

    // Loads through the real file path and checks the message that goes with
    // the outcome: none for a picture, exactly the status's own otherwise.
    std::optional<RgbImage> LoadChecked(const fs::path& path, DibStatus expected) {
        CapturingSink sink;
        std::optional<RgbImage> image = LoadDib(path.string().c_str());
        EXPECT_EQ(image.has_value(), expected == DibStatus::Decoded) << path;
        if (expected == DibStatus::Decoded) {
            EXPECT_TRUE(sink.messages.empty()) << path;
        } else {
            EXPECT_EQ(sink.messages.size(), 1u) << path;
            if (!sink.messages.empty()) {
                EXPECT_EQ(sink.messages[0].text, DibStatusMessage(expected)) << path;
                EXPECT_EQ(sink.messages[0].caption, "Error") << path;
            }
        }
        return image;
    }
};

TEST_F(BmpSuite, EveryGoodFileDecodesToItsExpectedPixels) {
    const fs::path folder = SuiteFolder() / "g";
    std::size_t listed = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        listed += entry.path().extension() == ".bmp";
    }
    EXPECT_EQ(listed, std::size(kGood)) << "a good file has no expectation in the table";

    for (const Expectation& good : kGood) {
        SCOPED_TRACE(good.file);
        const fs::path path = folder / good.file;
        ASSERT_TRUE(fs::exists(path));
        RgbImage decoded;
        EXPECT_EQ(DecodeDib(ReadAll(path), decoded), good.status);
        const std::optional<RgbImage> image = LoadChecked(path, good.status);
        if (!image) {
            continue;
        }
        const std::string name = fs::path(good.file).stem().string();
        const std::vector<std::uint8_t> expected =
            ReadAll(SuiteFolder() / "expected" / (name + ".rgb"));
        ASSERT_EQ(expected.size(), image->pixels.size());
        ASSERT_GT(image->height, 0);
        // 5- and 6-bit channels may round either way.
        const int tolerance = name.starts_with("rgb16") ? 1 : 0;
        const std::size_t row = std::size_t(image->width) * 3;
        int mismatches = 0;
        for (int y = 0; y < image->height && mismatches < 5; ++y) {
            // The expected picture is top row first; ours bottom row first.
            const std::uint8_t* want = expected.data() + row * std::size_t(image->height - 1 - y);
            const std::uint8_t* got = image->pixels.data() + row * std::size_t(y);
            for (std::size_t i = 0; i < row; ++i) {
                if (std::abs(int(want[i]) - int(got[i])) > tolerance) {
                    ADD_FAILURE() << "row " << y << " (from the bottom), pixel " << i / 3
                                  << " channel " << i % 3 << ": " << int(got[i]) << " instead of "
                                  << int(want[i]);
                    if (++mismatches == 5) {
                        break;
                    }
                }
            }
        }
    }
}

TEST_F(BmpSuite, EveryBadFileDecodesOrIsRefusedAsTheTableSays) {
    const fs::path folder = SuiteFolder() / "b";
    std::size_t listed = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        listed += entry.path().extension() == ".bmp";
    }
    EXPECT_EQ(listed, std::size(kBad)) << "a bad file has no expectation in the table";

    for (const Expectation& bad : kBad) {
        SCOPED_TRACE(bad.file);
        const fs::path path = folder / bad.file;
        ASSERT_TRUE(fs::exists(path));
        const std::optional<RgbImage> image = LoadChecked(path, bad.status);
        if (image) {
            EXPECT_EQ(image->pixels.size(),
                      std::size_t(image->width) * std::size_t(image->height) * 3);
        }
    }
}

} // namespace
} // namespace kestrune
