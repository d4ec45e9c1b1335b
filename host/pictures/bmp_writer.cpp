#include "host/pictures/bmp_writer.h"

#include "host/core/replace_file.h"

#include <cstddef>

namespace kestrune {

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint16_t kBitsPerPixel = 24;
// 2835 pixels per metre is 72 dots per inch, what most writers put there; the
// reader ignores it.
constexpr std::uint32_t kPixelsPerMetre = 2835;

void Put16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFFu));
    out.push_back(static_cast<std::uint8_t>(value >> 8u));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFFu));
    }
}

} // namespace

std::vector<std::uint8_t> EncodeBmp(const Picture& picture) {
    const auto width = static_cast<std::uint32_t>(picture.width);
    const auto height = static_cast<std::uint32_t>(picture.height);
    const std::uint32_t rowBytes = (width * 3u + 3u) & ~3u;
    const std::uint32_t imageSize = rowBytes * height;
    const std::uint32_t pixelOffset = kFileHeaderSize + kInfoHeaderSize;

    std::vector<std::uint8_t> out;
    out.reserve(pixelOffset + imageSize);
    // File header.
    out.push_back('B');
    out.push_back('M');
    Put32(out, pixelOffset + imageSize);
    Put16(out, 0);
    Put16(out, 0);
    Put32(out, pixelOffset);
    // Info header: a positive height means the rows are stored bottom-up.
    Put32(out, kInfoHeaderSize);
    Put32(out, width);
    Put32(out, height);
    Put16(out, 1);
    Put16(out, kBitsPerPixel);
    Put32(out, 0); // BI_RGB: no compression
    Put32(out, imageSize);
    Put32(out, kPixelsPerMetre);
    Put32(out, kPixelsPerMetre);
    Put32(out, 0); // no colour table
    Put32(out, 0);

    for (int y = picture.height - 1; y >= 0; --y) {
        const std::uint8_t* pixel = picture.PixelAt(0, y);
        for (int x = 0; x < picture.width; ++x, pixel += 3) {
            out.push_back(pixel[2]);
            out.push_back(pixel[1]);
            out.push_back(pixel[0]);
        }
        for (std::uint32_t pad = width * 3u; pad < rowBytes; ++pad) {
            out.push_back(0);
        }
    }
    return out;
}

bool SaveBmp(const std::string& path, const Picture& picture, std::string* error) {
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.rgb.size() != static_cast<std::size_t>(picture.width) *
                                  static_cast<std::size_t>(picture.height) * 3) {
        if (error) {
            *error = "the picture has no pixels or the wrong number of them";
        }
        return false;
    }
    return ReplaceFileNotFollowingLinks(path, EncodeBmp(picture), error);
}

} // namespace kestrune
