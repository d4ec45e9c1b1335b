#include "host/dialog/icon_file.h"

namespace kestrune {

namespace {

constexpr std::uint32_t kDirectorySize = 6;
constexpr std::uint32_t kEntrySize = 16;
constexpr std::uint32_t kInfoHeaderSize = 40;

void Put16(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void Put32(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    Put16(bytes, value & 0xFFFF);
    Put16(bytes, value >> 16);
}

} // namespace

std::vector<std::uint8_t> IcoFileBytes(const Picture& picture) {
    const auto width = static_cast<std::uint32_t>(picture.width);
    const auto height = static_cast<std::uint32_t>(picture.height);
    // Rows of the one-bit mask are padded to whole 32-bit words.
    const std::uint32_t maskStride = (width + 31) / 32 * 4;
    const std::uint32_t imageSize = kInfoHeaderSize + width * height * 4 + maskStride * height;

    std::vector<std::uint8_t> bytes;
    // The directory: reserved, type 1 (icon), one image.
    Put16(bytes, 0);
    Put16(bytes, 1);
    Put16(bytes, 1);
    // Its one entry; a side of 256 is written as 0.
    bytes.push_back(static_cast<std::uint8_t>(width & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(height & 0xFF));
    bytes.push_back(0); // no palette
    bytes.push_back(0);
    Put16(bytes, 1);  // planes
    Put16(bytes, 32); // bits per pixel
    Put32(bytes, imageSize);
    Put32(bytes, kDirectorySize + kEntrySize);

    // The image: a bitmap header whose height counts the colour rows and
    // the mask's rows together, then both, bottom row first.
    Put32(bytes, kInfoHeaderSize);
    Put32(bytes, width);
    Put32(bytes, height * 2);
    Put16(bytes, 1);
    Put16(bytes, 32);
    Put32(bytes, 0); // no compression
    Put32(bytes, imageSize - kInfoHeaderSize);
    Put32(bytes, 0);
    Put32(bytes, 0);
    Put32(bytes, 0);
    Put32(bytes, 0);
    for (int y = picture.height - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t* pixel = picture.PixelAt(x, y);
            bytes.insert(bytes.end(), {pixel[2], pixel[1], pixel[0], 0xFF});
        }
    }
    // An all-clear mask: every pixel shows.
    bytes.insert(bytes.end(), static_cast<std::size_t>(maskStride) * height, 0);
    return bytes;
}

} // namespace kestrune
