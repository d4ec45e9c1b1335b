#include "host/forms/win32/gdi_drawing.h"

#include "host/forms/win32/application_impl.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace kestrune::forms::win32 {

namespace {

// The pixels as a 32-bit DIB holds them: blue, green, red and a fourth byte,
// which is `alpha`.
std::vector<std::uint32_t> DibPixels(const Picture& picture, std::uint8_t alpha) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(picture.width) *
                                      static_cast<std::size_t>(picture.height));
    const std::uint8_t* rgb = picture.rgb.data();
    for (std::uint32_t& pixel : pixels) {
        pixel = (std::uint32_t{alpha} << 24) | (std::uint32_t{rgb[0]} << 16) |
                (std::uint32_t{rgb[1]} << 8) | std::uint32_t{rgb[2]};
        rgb += 3;
    }
    return pixels;
}

BITMAPINFO TopDownInfo(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

bool Drawable(const Picture& picture) {
    return picture.width > 0 && picture.height > 0 &&
           picture.rgb.size() >= static_cast<std::size_t>(picture.width) *
                                     static_cast<std::size_t>(picture.height) * 3;
}

} // namespace

void DrawPicture(HDC dc, const Picture& picture, const Box& destination) {
    if (!Drawable(picture) || destination.width <= 0 || destination.height <= 0) {
        return;
    }
    const std::vector<std::uint32_t> pixels = DibPixels(picture, 0);
    const BITMAPINFO info = TopDownInfo(picture.width, picture.height);
    const int previousMode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, destination.x, destination.y, destination.width, destination.height, 0, 0,
                  picture.width, picture.height, pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    SetStretchBltMode(dc, previousMode);
}

OwnedIcon MakeIcon(const Picture& picture) {
    if (!Drawable(picture)) {
        return nullptr;
    }
    const BITMAPINFO info = TopDownInfo(picture.width, picture.height);
    void* bits = nullptr;
    const ScreenDc screen;
    OwnedBitmap colour(CreateDIBSection(screen.Handle(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!colour || !bits) {
        return nullptr;
    }
    const std::vector<std::uint32_t> pixels = DibPixels(picture, 0xFF);
    std::copy(pixels.begin(), pixels.end(), static_cast<std::uint32_t*>(bits));
    // An all-clear mask: the colour shows everywhere.
    const std::vector<std::uint8_t> mask(
        static_cast<std::size_t>((picture.width + 15) / 16 * 2 * picture.height), 0);
    OwnedBitmap maskBitmap(CreateBitmap(picture.width, picture.height, 1, 1, mask.data()));
    ICONINFO iconInfo{};
    iconInfo.fIcon = TRUE;
    iconInfo.hbmMask = maskBitmap.get();
    iconInfo.hbmColor = colour.get();
    // The icon keeps copies of both bitmaps; ours go when this returns.
    return OwnedIcon(CreateIconIndirect(&iconInfo));
}

OwnedCursor MakeCursor(const MonoCursor& cursor) {
    if (cursor.width <= 0 || cursor.height <= 0) {
        return nullptr;
    }
    // Rows of whole 16-bit words, most significant bit first. AND 1 with XOR
    // 0 leaves the screen as it is; AND 0 with XOR 0 is black, with XOR 1
    // white.
    const int stride = (cursor.width + 15) / 16 * 2;
    std::vector<std::uint8_t> andPlane(static_cast<std::size_t>(stride * cursor.height), 0xFF);
    std::vector<std::uint8_t> xorPlane(andPlane.size(), 0);
    for (int y = 0; y < cursor.height; ++y) {
        for (int x = 0; x < cursor.width; ++x) {
            const auto index = static_cast<std::size_t>(y * cursor.width + x);
            const std::uint8_t pixel =
                index < cursor.pixels.size() ? cursor.pixels[index] : std::uint8_t{0};
            if (pixel == MonoCursor::Transparent) {
                continue;
            }
            const auto byte = static_cast<std::size_t>(y * stride + x / 8);
            const auto bit = static_cast<std::uint8_t>(0x80u >> (x % 8));
            andPlane[byte] = static_cast<std::uint8_t>(andPlane[byte] & ~bit);
            if (pixel == MonoCursor::White) {
                xorPlane[byte] = static_cast<std::uint8_t>(xorPlane[byte] | bit);
            }
        }
    }
    return OwnedCursor(CreateCursor(Instance(), cursor.hotX, cursor.hotY, cursor.width,
                                    cursor.height, andPlane.data(), xorPlane.data()));
}

} // namespace kestrune::forms::win32
