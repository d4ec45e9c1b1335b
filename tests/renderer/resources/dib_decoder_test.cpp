#include "renderer/resources/dib_decoder.h"
#include "renderer/resources/dib_header.h"

#include "tests/renderer/resources/dib_builder.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace kestrune {
namespace {

using test::Bgr;
using test::DibFields;
using test::MakeDib;

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

// Pixel (x, y) of a decoded picture, y = 0 being its first (bottom) row.
Rgb At(const RgbImage& image, int x, int y) {
    const std::size_t i = (std::size_t(y) * std::size_t(image.width) + std::size_t(x)) * 3;
    return {image.pixels[i], image.pixels[i + 1], image.pixels[i + 2]};
}

Rgb Of(const Bgr& c) {
    return {c.r, c.g, c.b};
}

RgbImage Decoded(const std::vector<std::uint8_t>& file) {
    RgbImage image;
    EXPECT_EQ(DecodeDib(file, image), DibStatus::Decoded);
    return image;
}

DibStatus StatusOf(const std::vector<std::uint8_t>& file) {
    RgbImage image;
    return DecodeDib(file, image);
}

// A palette of `count` colours that differ in every channel.
std::vector<Bgr> Palette(int count) {
    std::vector<Bgr> palette;
    for (int i = 0; i < count; ++i) {
        palette.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                           static_cast<std::uint8_t>((i * 37 + 11) & 0xFF)});
    }
    return palette;
}

TEST(DibDecoder, TwentyFourBitFirstPixelIsRedGreenBlueAndBufferIsPacked) {
    DibFields dib;
    dib.width = 4;
    dib.height = 2;
    dib.pixels = test::Rows24(4, 2, [](int x, int y) {
        if (x == 0 && y == 0) {
            return Bgr{1, 2, 3};
        }
        return Bgr{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 200};
    });
    const RgbImage image = Decoded(MakeDib(dib));
    EXPECT_EQ(image.width, 4);
    EXPECT_EQ(image.height, 2);
    ASSERT_EQ(image.pixels.size(), 24u);
    EXPECT_EQ(image.pixels[0], 3);
    EXPECT_EQ(image.pixels[1], 2);
    EXPECT_EQ(image.pixels[2], 1);
    EXPECT_EQ(At(image, 3, 1), (Rgb{200, 1, 3}));
}

TEST(DibDecoder, TwentyFourBitRowPaddingNeverReachesThePicture) {
    for (int width = 1; width <= 5; ++width) {
        SCOPED_TRACE("width " + std::to_string(width));
        const auto colour = [](int x, int y) {
            return Bgr{static_cast<std::uint8_t>(x * 10 + y), static_cast<std::uint8_t>(100 + x),
                       static_cast<std::uint8_t>(200 + y)};
        };
        DibFields dib;
        dib.width = width;
        dib.height = 3;
        dib.pixels = test::Rows24(width, 3, colour);
        const RgbImage image = Decoded(MakeDib(dib));
        ASSERT_EQ(image.pixels.size(), std::size_t(width) * 3 * 3);
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < width; ++x) {
                EXPECT_EQ(At(image, x, y), Of(colour(x, y))) << x << "," << y;
            }
        }
    }
}

TEST(DibDecoder, IndexedDepthsReadEveryPixelOfEveryWidth) {
    for (int bits : {1, 4, 8}) {
        for (int width = 1; width <= 5; ++width) {
            SCOPED_TRACE("bits " + std::to_string(bits) + " width " + std::to_string(width));
            const int colours = 1 << bits;
            const auto index = [&](int x, int y) { return (x * 3 + y * 5 + 1) % colours; };
            DibFields dib;
            dib.width = width;
            dib.height = 2;
            dib.bitCount = static_cast<std::uint16_t>(bits);
            dib.palette = Palette(colours);
            dib.pixels = test::RowsIndexed(bits, width, 2, index);
            const RgbImage image = Decoded(MakeDib(dib));
            ASSERT_EQ(image.pixels.size(), std::size_t(width) * 2 * 3);
            for (int y = 0; y < 2; ++y) {
                for (int x = 0; x < width; ++x) {
                    EXPECT_EQ(At(image, x, y), Of(dib.palette[index(x, y)])) << x << "," << y;
                }
            }
        }
    }
}

TEST(DibDecoder, ColoursUsedSetsTheTableAndIndicesBeyondItAreBlack) {
    // An 8-bit file with three colours: the pixel data follows the three
    // entries (a packed DIB has no offset to say so), and 3 and 255 are black.
    DibFields dib;
    dib.fileHeader = false;
    dib.width = 5;
    dib.bitCount = 8;
    dib.coloursUsed = 3;
    dib.palette = Palette(3);
    dib.pixels = {0, 1, 2, 3, 255, 0, 0, 0};
    const RgbImage image = Decoded(MakeDib(dib));
    EXPECT_EQ(At(image, 0, 0), Of(dib.palette[0]));
    EXPECT_EQ(At(image, 2, 0), Of(dib.palette[2]));
    EXPECT_EQ(At(image, 3, 0), (Rgb{0, 0, 0}));
    EXPECT_EQ(At(image, 4, 0), (Rgb{0, 0, 0}));

    // Only the low 16 bits of the count count: 0x10002 is two colours.
    dib.coloursUsed = 0x10002;
    dib.palette = Palette(2);
    dib.pixels = {1, 2, 0, 0, 0, 0, 0, 0};
    const RgbImage two = Decoded(MakeDib(dib));
    EXPECT_EQ(At(two, 0, 0), Of(dib.palette[1]));
    EXPECT_EQ(At(two, 1, 0), (Rgb{0, 0, 0}));
}

TEST(DibDecoder, EightBitWithoutColourCountReadsAllTwoHundredFiftySixEntries) {
    DibFields dib;
    dib.fileHeader = false;
    dib.width = 3;
    dib.bitCount = 8;
    dib.coloursUsed = 0;
    dib.palette = Palette(256);
    dib.pixels = {255, 128, 0, 0};
    const RgbImage image = Decoded(MakeDib(dib));
    EXPECT_EQ(At(image, 0, 0), Of(dib.palette[255]));
    EXPECT_EQ(At(image, 1, 0), Of(dib.palette[128]));
    EXPECT_EQ(At(image, 2, 0), Of(dib.palette[0]));
}

TEST(DibDecoder, CoreHeaderFilesReadThreeByteColoursWithAndWithoutFileHeader) {
    for (bool fileHeader : {true, false}) {
        SCOPED_TRACE(fileHeader ? "BM file" : "packed DIB");
        DibFields dib;
        dib.fileHeader = fileHeader;
        dib.headerSize = 12;
        dib.width = 3;
        dib.height = 2;
        dib.bitCount = 4;
        dib.palette = Palette(16);
        const auto index = [](int x, int y) { return 15 - x - 4 * y; };
        dib.pixels = test::RowsIndexed(4, 3, 2, index);
        const RgbImage image = Decoded(MakeDib(dib));
        ASSERT_EQ(image.width, 3);
        ASSERT_EQ(image.height, 2);
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 3; ++x) {
                EXPECT_EQ(At(image, x, y), Of(dib.palette[index(x, y)]));
            }
        }
    }
    DibFields mono;
    mono.headerSize = 12;
    mono.width = 9;
    mono.bitCount = 1;
    mono.palette = {{0, 0, 0}, {10, 20, 30}};
    mono.pixels = {0x80, 0x01, 0, 0}; // pixel 0 and pixel 15 (beyond the width) set
    const RgbImage image = Decoded(MakeDib(mono));
    EXPECT_EQ(At(image, 0, 0), (Rgb{30, 20, 10}));
    for (int x = 1; x < 9; ++x) {
        EXPECT_EQ(At(image, x, 0), (Rgb{0, 0, 0}));
    }

    DibFields direct;
    direct.headerSize = 12;
    direct.width = 2;
    direct.pixels = {1, 2, 3, 4, 5, 6, 0, 0};
    const RgbImage rgb = Decoded(MakeDib(direct));
    EXPECT_EQ(At(rgb, 0, 0), (Rgb{3, 2, 1}));
    EXPECT_EQ(At(rgb, 1, 0), (Rgb{6, 5, 4}));
}

std::vector<std::uint8_t> Words16(std::initializer_list<std::uint16_t> words) {
    test::Bytes b;
    for (std::uint16_t w : words) {
        b.U16(w);
    }
    while (b.Size() % 4 != 0) {
        b.U8(0);
    }
    return b.Contents();
}

TEST(DibDecoder, SixteenBitsDefaultToFiveFiveFiveScaledToFullRange) {
    DibFields dib;
    dib.width = 5;
    dib.bitCount = 16;
    dib.pixels = Words16({0x7FFF, 0x7C00, 0x03E0, 0x0010, 0x8000});
    const RgbImage image = Decoded(MakeDib(dib));
    EXPECT_EQ(At(image, 0, 0), (Rgb{255, 255, 255}));
    EXPECT_EQ(At(image, 1, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(At(image, 2, 0), (Rgb{0, 255, 0}));
    EXPECT_EQ(At(image, 3, 0), (Rgb{0, 0, 132})); // 16 of 31
    EXPECT_EQ(At(image, 4, 0), (Rgb{0, 0, 0}));   // the top bit is no channel's
}

TEST(DibDecoder, BitfieldsMasksFollowTheHeaderInFilesAndPackedDibs) {
    for (bool fileHeader : {true, false}) {
        SCOPED_TRACE(fileHeader ? "BM file" : "packed DIB");
        DibFields dib;
        dib.fileHeader = fileHeader;
        dib.width = 3;
        dib.bitCount = 16;
        dib.compression = test::kBiBitfields;
        dib.masks = {0xF800, 0x07E0, 0x001F};
        dib.pixels = Words16({0xF800, 0x0020, 0x001F});
        const RgbImage image = Decoded(MakeDib(dib));
        EXPECT_EQ(At(image, 0, 0), (Rgb{255, 0, 0}));
        EXPECT_EQ(At(image, 1, 0), (Rgb{0, 4, 0})); // 1 of 63
        EXPECT_EQ(At(image, 2, 0), (Rgb{0, 0, 255}));
    }
}

TEST(DibDecoder, ThirtyTwoBitsWithDefaultAndUnusualMasks) {
    DibFields plain;
    plain.width = 2;
    plain.bitCount = 32;
    plain.pixels = {1, 2, 3, 99, 4, 5, 6, 99}; // blue, green, red, unused
    const RgbImage image = Decoded(MakeDib(plain));
    EXPECT_EQ(At(image, 0, 0), (Rgb{3, 2, 1}));
    EXPECT_EQ(At(image, 1, 0), (Rgb{6, 5, 4}));

    // Red in the top byte, a green straddling bytes, a 10-bit blue, and a
    // zero mask that gives nothing.
    DibFields masked;
    masked.width = 2;
    masked.bitCount = 32;
    masked.compression = test::kBiBitfields;
    masked.masks = {0xFF000000, 0x000FF000, 0x000003FF};
    test::Bytes px;
    px.U32(0xAB000000u | (0x12u << 12) | 0x3FF).U32(0x000001FF);
    masked.pixels = px.Contents();
    const RgbImage bf = Decoded(MakeDib(masked));
    EXPECT_EQ(At(bf, 0, 0), (Rgb{0xAB, 0x12, 255}));
    EXPECT_EQ(At(bf, 1, 0), (Rgb{0, 0, 127})); // 511 of 1023

    masked.masks = {0, 0xFF00, 0xFF};
    const RgbImage noRed = Decoded(MakeDib(masked));
    EXPECT_EQ(At(noRed, 1, 0), (Rgb{0, 1, 255}));
}

TEST(DibDecoder, TopDownFilesComeOutBottomRowFirstWithPositiveHeight) {
    DibFields dib;
    dib.width = 2;
    dib.height = -3;
    const auto colour = [](int x, int y) {
        return Bgr{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 7};
    };
    dib.pixels = test::Rows24(2, 3, colour);
    const RgbImage image = Decoded(MakeDib(dib));
    EXPECT_EQ(image.height, 3);
    for (int stored = 0; stored < 3; ++stored) {
        for (int x = 0; x < 2; ++x) {
            EXPECT_EQ(At(image, x, 2 - stored), Of(colour(x, stored)));
        }
    }

    DibFields indexed;
    indexed.width = 1;
    indexed.height = -2;
    indexed.bitCount = 8;
    indexed.palette = Palette(4);
    indexed.coloursUsed = 4;
    indexed.pixels = {1, 0, 0, 0, 2, 0, 0, 0};
    const RgbImage flipped = Decoded(MakeDib(indexed));
    EXPECT_EQ(flipped.height, 2);
    EXPECT_EQ(At(flipped, 0, 0), Of(indexed.palette[2]));
    EXPECT_EQ(At(flipped, 0, 1), Of(indexed.palette[1]));
}

DibFields RleDib(std::uint16_t bits, int width, int height, std::vector<std::uint8_t> stream) {
    DibFields dib;
    dib.width = width;
    dib.height = height;
    dib.bitCount = bits;
    dib.compression = bits == 8 ? test::kBiRle8 : test::kBiRle4;
    dib.palette = Palette(16);
    dib.coloursUsed = 16;
    dib.pixels = std::move(stream);
    return dib;
}

// Checks a decoded picture against rows of palette indices (bottom row
// first); -1 stands for a pixel the stream never set, which is black.
void ExpectIndices(const RgbImage& image, const std::vector<Bgr>& palette,
                   const std::vector<std::vector<int>>& rows) {
    ASSERT_EQ(image.height, static_cast<int>(rows.size()));
    for (std::size_t y = 0; y < rows.size(); ++y) {
        ASSERT_EQ(image.width, static_cast<int>(rows[y].size()));
        for (std::size_t x = 0; x < rows[y].size(); ++x) {
            const int i = rows[y][x];
            const Rgb want = i < 0 ? Rgb{0, 0, 0} : Of(palette[std::size_t(i)]);
            EXPECT_EQ(At(image, int(x), int(y)), want) << "pixel " << x << ", row " << y;
        }
    }
}

TEST(DibDecoder, Rle8RunsAbsoluteRunsEndOfLineDeltaAndClipping) {
    const DibFields dib = RleDib(8, 6, 4,
                                 {
                                     3,  1,             // three pixels of colour 1
                                     0,  3, 2, 3, 4, 0, // absolute run of three, padded
                                     0,  0,             // end of line
                                     0,  2, 2, 1,       // two right, one up: row 2, x 2
                                     2,  5,             // two pixels of colour 5
                                     0,  0,             // end of line: row 3
                                     10, 6,             // ten pixels, clipped at six
                                     0,  1,             // end of bitmap
                                     9,  9,             // never read
                                 });
    ExpectIndices(Decoded(MakeDib(dib)), dib.palette,
                  {
                      {1, 1, 1, 2, 3, 4},
                      {-1, -1, -1, -1, -1, -1},
                      {-1, -1, 5, 5, -1, -1},
                      {6, 6, 6, 6, 6, 6},
                  });
}

TEST(DibDecoder, Rle8StreamsThatEndEarlyOrRunPastTheTopStopThere) {
    // Ends inside an absolute run: what is there is drawn.
    const DibFields cut = RleDib(8, 4, 2, {2, 1, 0, 4, 7, 8});
    ExpectIndices(Decoded(MakeDib(cut)), cut.palette, {{1, 1, 7, 8}, {-1, -1, -1, -1}});

    // A delta far past the top row and more lines than the picture holds.
    const DibFields past = RleDib(8, 2, 2, {2, 3, 0, 0, 2, 4, 0, 0, 2, 5, 0, 2, 0, 200, 2, 6});
    ExpectIndices(Decoded(MakeDib(past)), past.palette, {{3, 3}, {4, 4}});

    // A delta right past the edge holds at the edge until the end of line.
    const DibFields right = RleDib(8, 3, 2, {0, 2, 250, 0, 1, 9, 0, 0, 1, 2});
    ExpectIndices(Decoded(MakeDib(right)), right.palette, {{-1, -1, -1}, {2, -1, -1}});

    // A delta cut off by the end of the stream.
    const DibFields delta = RleDib(8, 2, 1, {1, 4, 0, 2, 1});
    ExpectIndices(Decoded(MakeDib(delta)), delta.palette, {{4, -1}});
}

TEST(DibDecoder, Rle4AlternatesNibblesAndPadsAbsoluteRuns) {
    const DibFields dib = RleDib(4, 5, 3,
                                 {
                                     5, 0x12,                      // 1 2 1 2 1
                                     0, 0,                         // end of line
                                     0, 5,    0x34, 0x56, 0x70, 0, // absolute 3 4 5 6 7, padded
                                     0, 0,                         // end of line
                                     0, 2,    1,    0,             // delta: one right
                                     2, 0xF9,                      // F 9
                                     0, 1,                         // end of bitmap
                                 });
    ExpectIndices(Decoded(MakeDib(dib)), dib.palette,
                  {{1, 2, 1, 2, 1}, {3, 4, 5, 6, 7}, {-1, 15, 9, -1, -1}});

    // An absolute run whose last byte is missing draws the nibbles there are.
    const DibFields cut = RleDib(4, 4, 1, {0, 4, 0xAB});
    ExpectIndices(Decoded(MakeDib(cut)), cut.palette, {{10, 11, -1, -1}});
}

TEST(DibDecoder, LenientAboutFieldsTheConversionDoesNotNeed) {
    DibFields dib;
    dib.width = 1;
    dib.height = 2;
    dib.imageSize = 0xFFFFFFF0;
    dib.xDensity = -30000000;
    dib.yDensity = 3;
    dib.fileSizeField = 0x7FFFFFFF;
    // A 24-bit file with a colour table nobody needs, and a last row without
    // its padding: the pixels are complete.
    dib.coloursUsed = 7;
    dib.palette = Palette(2);
    dib.pixels = {1, 2, 3, 0, 4, 5, 6};
    const RgbImage image = Decoded(MakeDib(dib));
    EXPECT_EQ(At(image, 0, 0), (Rgb{3, 2, 1}));
    EXPECT_EQ(At(image, 0, 1), (Rgb{6, 5, 4}));
}

struct Refusal {
    const char* what;
    std::vector<std::uint8_t> file;
    DibStatus status;
};

DibFields With(void (*change)(DibFields&)) {
    DibFields dib;
    dib.width = 2;
    dib.height = 2;
    dib.pixels = std::vector<std::uint8_t>(16, 0x55);
    change(dib);
    return dib;
}

std::vector<std::uint8_t> Made(void (*change)(DibFields&)) {
    return MakeDib(With(change));
}

TEST(DibDecoder, RefusesWithTheRightReasonInTheRightOrder) {
    const std::int32_t limitRows = static_cast<std::int32_t>(kMaxImageBytes / 3);
    std::vector<Refusal> refusals = {
        {"108-byte header", Made([](DibFields& s) { s.headerSize = 108; }),
         DibStatus::UnknownFormat},
        {"124-byte header", Made([](DibFields& s) { s.headerSize = 124; }),
         DibStatus::UnknownFormat},
        {"66-byte header", Made([](DibFields& s) { s.headerSize = 66; }), DibStatus::UnknownFormat},
        {"packed DIB with 64-byte header", Made([](DibFields& s) {
             s.fileHeader = false;
             s.headerSize = 64;
         }),
         DibStatus::UnknownFormat},
        {"just BM", {'B', 'M'}, DibStatus::UnknownFormat},
        {"three bytes", {40, 0, 0}, DibStatus::UnknownFormat},
        {"unknown header before a huge size", Made([](DibFields& s) {
             s.headerSize = 124;
             s.width = 100000;
             s.height = 100000;
         }),
         DibStatus::UnknownFormat},
        {"huge", Made([](DibFields& s) {
             s.width = 3000000;
             s.height = 2000000;
         }),
         DibStatus::OutOfMemory},
        {"largest sizes", Made([](DibFields& s) {
             s.width = INT_MAX;
             s.height = INT_MIN;
         }),
         DibStatus::OutOfMemory},
        {"one row over the limit", Made([](DibFields& s) {
             s.width = 1;
             s.height = static_cast<std::int32_t>(kMaxImageBytes / 3) + 1;
         }),
         DibStatus::OutOfMemory},
        {"huge before bad planes", Made([](DibFields& s) {
             s.width = 65535;
             s.height = 65535;
             s.planes = 2;
         }),
         DibStatus::OutOfMemory},
        {"huge negative width", Made([](DibFields& s) {
             s.width = -65535;
             s.height = 65535;
         }),
         DibStatus::OutOfMemory},
        {"planes 0", Made([](DibFields& s) { s.planes = 0; }), DibStatus::ConversionError},
        {"planes 2", Made([](DibFields& s) { s.planes = 2; }), DibStatus::ConversionError},
        {"0 bits", Made([](DibFields& s) { s.bitCount = 0; }), DibStatus::ConversionError},
        {"2 bits", Made([](DibFields& s) { s.bitCount = 2; }), DibStatus::ConversionError},
        {"30000 bits", Made([](DibFields& s) { s.bitCount = 30000; }), DibStatus::ConversionError},
        {"RLE8 with 4 bits", Made([](DibFields& s) {
             s.bitCount = 4;
             s.compression = test::kBiRle8;
         }),
         DibStatus::ConversionError},
        {"RLE4 with 8 bits", Made([](DibFields& s) {
             s.bitCount = 8;
             s.compression = test::kBiRle4;
         }),
         DibStatus::ConversionError},
        {"bitfields with 24 bits", Made([](DibFields& s) {
             s.compression = test::kBiBitfields;
             s.masks = {0xFF0000, 0xFF00, 0xFF};
         }),
         DibStatus::ConversionError},
        {"JPEG compression", Made([](DibFields& s) { s.compression = 4; }),
         DibStatus::ConversionError},
        {"alpha bitfields", Made([](DibFields& s) {
             s.bitCount = 32;
             s.compression = 6;
         }),
         DibStatus::ConversionError},
        {"width 0", Made([](DibFields& s) { s.width = 0; }), DibStatus::ConversionError},
        {"negative width", Made([](DibFields& s) { s.width = -2; }), DibStatus::ConversionError},
        {"height 0", Made([](DibFields& s) { s.height = 0; }), DibStatus::ConversionError},
        {"top-down RLE", Made([](DibFields& s) {
             s.bitCount = 8;
             s.compression = test::kBiRle8;
             s.height = -2;
             s.palette = Palette(256);
             s.pixels = {0, 1};
         }),
         DibStatus::ConversionError},
        {"colour table past the end", Made([](DibFields& s) {
             s.fileHeader = false;
             s.bitCount = 8;
             s.palette = Palette(10);
             s.pixels = {};
         }),
         DibStatus::ConversionError},
        {"pixel data one byte short", Made([](DibFields& s) { s.pixels.resize(8 + 5); }),
         DibStatus::ConversionError},
        {"pixel offset past the end", Made([](DibFields& s) { s.pixelOffset = 0x7FFFFFFF; }),
         DibStatus::ConversionError},
        {"RLE pixel offset past the end", Made([](DibFields& s) {
             s.bitCount = 8;
             s.compression = test::kBiRle8;
             s.coloursUsed = 1;
             s.palette = Palette(1);
             s.pixelOffset = 0xFFFFFFFF;
         }),
         DibStatus::ConversionError},
        {"masks cut off", Made([](DibFields& s) {
             s.fileHeader = false;
             s.bitCount = 16;
             s.compression = test::kBiBitfields;
             s.masks = {0xF800, 0x07E0};
             s.pixels = {};
         }),
         DibStatus::ConversionError},
        // Right at the limit the size is no reason: the missing rows are.
        {"exactly at the limit", Made([](DibFields& s) {
             s.width = 1;
             s.height = static_cast<std::int32_t>(kMaxImageBytes / 3);
         }),
         DibStatus::ConversionError},
    };
    ASSERT_EQ(std::uint64_t(limitRows) * 3, kMaxImageBytes - kMaxImageBytes % 3);
    for (const Refusal& refusal : refusals) {
        RgbImage image;
        image.width = 77;
        EXPECT_EQ(DecodeDib(refusal.file, image), refusal.status) << refusal.what;
        EXPECT_EQ(image.width, 77) << refusal.what << ": a refusal leaves the image alone";
        EXPECT_TRUE(image.pixels.empty()) << refusal.what;
    }
}

TEST(DibDecoder, EveryShorterPrefixOfAValidFileIsRefusedOrDecodedWithoutReadingPastIt) {
    // Each prefix lives in a buffer of exactly its size, so that the address
    // sanitizer sees a read past it.
    DibFields dib;
    dib.width = 3;
    dib.height = 2;
    dib.bitCount = 8;
    dib.coloursUsed = 4;
    dib.palette = Palette(4);
    dib.pixels = test::RowsIndexed(8, 3, 2, [](int x, int y) { return (x + y) % 4; });
    const std::vector<std::uint8_t> whole = MakeDib(dib);
    for (std::size_t size = 0; size < whole.size(); ++size) {
        const std::vector<std::uint8_t> prefix(whole.begin(), whole.begin() + long(size));
        const DibStatus status = StatusOf(prefix);
        // The last row's padding is not needed.
        if (size >= whole.size() - 1) {
            EXPECT_EQ(status, DibStatus::Decoded) << size;
        } else {
            EXPECT_NE(status, DibStatus::Decoded) << size;
        }
    }
}

} // namespace
} // namespace kestrune
