// Writes a small BMP file of every layout the decoder knows into a folder, as
// the starting corpus of the fuzz target: valid files get the fuzzer past the
// header checks at once.

#include "tests/renderer/resources/dib_builder.h"

#include <cstdio>
#include <fstream>
#include <string>

namespace {

using kestrune::test::Bgr;
using kestrune::test::DibFields;

std::vector<Bgr> Palette(int count) {
    std::vector<Bgr> palette;
    for (int i = 0; i < count; ++i) {
        palette.push_back({static_cast<std::uint8_t>(i * 7), static_cast<std::uint8_t>(i * 13),
                           static_cast<std::uint8_t>(255 - i)});
    }
    return palette;
}

bool Write(const std::string& folder, const std::string& name, const DibFields& dib) {
    const std::vector<std::uint8_t> bytes = kestrune::test::MakeDib(dib);
    std::ofstream out(folder + "/" + name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

std::uint8_t Pattern(int x, int y) {
    return static_cast<std::uint8_t>(x * 5 + y * 3);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    bool ok = true;
    const int width = 5;
    const int height = 3;

    for (bool fileHeader : {true, false}) {
        const std::string kind = fileHeader ? "bm" : "packed";
        for (int bits : {1, 4, 8}) {
            for (std::uint32_t headerSize : {12u, 40u}) {
                DibFields dib;
                dib.fileHeader = fileHeader;
                dib.headerSize = headerSize;
                dib.width = width;
                dib.height = height;
                dib.bitCount = static_cast<std::uint16_t>(bits);
                dib.palette = Palette(1 << bits);
                dib.pixels = kestrune::test::RowsIndexed(bits, width, height, Pattern);
                ok &= Write(folder,
                            kind + "_pal" + std::to_string(bits) + "_h" +
                                std::to_string(headerSize) + ".bmp",
                            dib);
            }
        }
        DibFields rgb;
        rgb.fileHeader = fileHeader;
        rgb.width = width;
        rgb.height = -height;
        rgb.pixels = kestrune::test::Rows24(width, height, [](int x, int y) {
            return Bgr{Pattern(x, y), Pattern(y, x), 9};
        });
        ok &= Write(folder, kind + "_rgb24_topdown.bmp", rgb);

        for (int bits : {16, 32}) {
            DibFields masked;
            masked.fileHeader = fileHeader;
            masked.width = width;
            masked.height = height;
            masked.bitCount = static_cast<std::uint16_t>(bits);
            masked.pixels.assign(std::size_t((width * bits / 8 + 3) / 4 * 4 * height), 0x5A);
            ok &= Write(folder, kind + "_rgb" + std::to_string(bits) + ".bmp", masked);
            masked.compression = kestrune::test::kBiBitfields;
            masked.masks = bits == 16 ? std::vector<std::uint32_t>{0xF800, 0x07E0, 0x001F}
                                      : std::vector<std::uint32_t>{0xFF000000, 0xFF0, 0xFF0000};
            ok &= Write(folder, kind + "_bitfields" + std::to_string(bits) + ".bmp", masked);
        }

        DibFields rle8;
        rle8.fileHeader = fileHeader;
        rle8.width = 6;
        rle8.height = 4;
        rle8.bitCount = 8;
        rle8.compression = kestrune::test::kBiRle8;
        rle8.coloursUsed = 16;
        rle8.palette = Palette(16);
        rle8.pixels = {3, 1, 0, 3, 2, 3, 4, 0, 0, 0, 0, 2, 2, 1, 2, 5, 0, 0, 10, 6, 0, 1};
        ok &= Write(folder, kind + "_rle8.bmp", rle8);

        DibFields rle4 = rle8;
        rle4.bitCount = 4;
        rle4.compression = kestrune::test::kBiRle4;
        rle4.pixels = {5, 0x12, 0, 0, 0, 5, 0x34, 0x56, 0x70, 0, 0, 0, 0, 2, 1, 0, 2, 0xF9, 0, 1};
        ok &= Write(folder, kind + "_rle4.bmp", rle4);
    }
    return ok ? 0 : 1;
}
