#include "host/dialog/settings_pictures.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

namespace kestrune {

namespace {

void SetPixel(Picture& picture, int x, int y, int red, int green, int blue) {
    std::uint8_t* p = picture.PixelAt(x, y);
    p[0] = static_cast<std::uint8_t>(red);
    p[1] = static_cast<std::uint8_t>(green);
    p[2] = static_cast<std::uint8_t>(blue);
}

// A well-mixed 32-bit hash of a lattice point and a seed, so that the grain
// depends on nothing but the point.
std::uint32_t Hash(std::uint32_t x, std::uint32_t y, std::uint32_t seed) {
    std::uint32_t h = seed ^ (x * 0x9E3779B1u) ^ (y * 0x85EBCA77u);
    h ^= h >> 16u;
    h *= 0x7FEB352Du;
    h ^= h >> 15u;
    h *= 0x846CA68Bu;
    h ^= h >> 16u;
    return h;
}

// A value in [-range, range] for a lattice point.
int LatticeValue(std::uint32_t x, std::uint32_t y, std::uint32_t seed, int range) {
    return static_cast<int>(Hash(x, y, seed) % static_cast<std::uint32_t>(2 * range + 1)) - range;
}

// The grain: a soft mottle (value noise on a 4-pixel lattice, smoothly
// interpolated) under a fine per-pixel speckle, around a light grey. The
// lattice wraps at the texture's edges, so copies laid side by side or one
// below another meet without a seam.
constexpr int kGrainMean = 192;
constexpr int kGrainLowest = 160;
constexpr int kGrainHighest = 224;
constexpr int kMottleCell = 4;   // divides both 556 and 20
constexpr int kMottleRange = 18; // grey levels either side of the mean
constexpr int kSpeckleRange = 9;
constexpr std::uint32_t kMottleSeed = 0x4B657374u;
constexpr std::uint32_t kSpeckleSeed = 0x72756E65u;
// 3t^2 - 2t^3 at t = 0, 1/4, 2/4 and 3/4, in 64ths: a smooth blend between
// lattice points in whole-number arithmetic.
constexpr std::array<int, kMottleCell> kSmoothStep64 = {0, 10, 32, 54};

int Mottle(int x, int y) {
    constexpr std::uint32_t kColumns = kGrainWidth / kMottleCell;
    constexpr std::uint32_t kRows = kGrainHeight / kMottleCell;
    const auto cellX = static_cast<std::uint32_t>(x / kMottleCell);
    const auto cellY = static_cast<std::uint32_t>(y / kMottleCell);
    const int wx = kSmoothStep64[static_cast<std::size_t>(x % kMottleCell)];
    const int wy = kSmoothStep64[static_cast<std::size_t>(y % kMottleCell)];
    auto at = [&](std::uint32_t cx, std::uint32_t cy) {
        return LatticeValue(cx % kColumns, cy % kRows, kMottleSeed, kMottleRange);
    };
    const int top = at(cellX, cellY) * (64 - wx) + at(cellX + 1, cellY) * wx;
    const int bottom = at(cellX, cellY + 1) * (64 - wx) + at(cellX + 1, cellY + 1) * wx;
    return (top * (64 - wy) + bottom * wy) / (64 * 64);
}

// The marks are drawn with 4 x 4 samples per pixel, in eighths of a pixel,
// around the centre of the 12 x 12 picture.
constexpr int kSamples = 4;
constexpr int kCentreEighths = kMarkSize * 4;                   // 6 pixels
constexpr int kOuterRadiusEighths = 44;                         // 5.5 pixels
constexpr int kRingInnerRadiusEighths = 35;                     // a ring a little over a pixel wide
constexpr int kDotRadiusEighths = 21;                           // the selected mark's dot
constexpr std::array<int, 3> kMarkBackground = {200, 200, 200}; // the grain's middle
constexpr std::array<int, 3> kMarkRing = {0, 60, 116};          // the buttons' outline
constexpr std::array<int, 3> kMarkFace = {255, 255, 255};
constexpr std::array<int, 3> kMarkDot = {0, 60, 116};

// The icon: the triangle's corners and colours.
constexpr double kTriangleTopX = 16.0;
constexpr double kTriangleTopY = 2.0;
constexpr double kTriangleLeftX = 1.0;
constexpr double kTriangleRightX = 31.0;
constexpr double kTriangleBaseY = 29.0;
constexpr int kTriangleLevels = 3;
constexpr std::array<int, 3> kSkyTop = {0, 0, 30};
constexpr std::array<int, 3> kSkyBottom = {40, 48, 110};
constexpr std::array<int, 3> kGold = {255, 212, 96};

// Whether a point, given by its barycentric weights in a triangle, lies in
// the Sierpinski figure of `levels` subdivisions: each level keeps the three
// corner triangles and drops the middle one.
bool InSierpinski(double a, double b, double c, int levels) {
    if (a < 0.0 || b < 0.0 || c < 0.0) {
        return false;
    }
    for (int level = 0; level < levels; ++level) {
        if (a >= 0.5) {
            a = 2.0 * a - 1.0, b = 2.0 * b, c = 2.0 * c;
        } else if (b >= 0.5) {
            a = 2.0 * a, b = 2.0 * b - 1.0, c = 2.0 * c;
        } else if (c >= 0.5) {
            a = 2.0 * a, b = 2.0 * b, c = 2.0 * c - 1.0;
        } else {
            return false;
        }
    }
    return true;
}

// The hand, row by row from the top: '#' black, 'o' white, '.' transparent.
constexpr int kHandWidth = 32;
constexpr int kHandHotX = 12;
constexpr int kHandHotY = 10;
constexpr std::array<std::string_view, 32> kHandRows = {
    "................................", // 0
    "................................", //
    "................................", //
    "................................", //
    "................................", //
    "................................", // 5
    "................................", //
    "................................", //
    "................................", //
    "................................", //
    "............##..................", // 10: the fingertip, the hot spot
    "...........#oo#.................", //
    "...........#oo#.................", //
    "...........#oo#.................", //
    "...........#oo###...............", //
    "...........#oo#oo###............", // 15
    "...........#oo#oo#oo###.........", //
    "...........#oo#oo#oo#oo#........", //
    "........##.#oo#oo#oo#oo#........", //
    ".......#oo##oo#oo#oo#oo#........", //
    ".......#ooo#oooooooooooo#.......", // 20
    ".......#oooooooooooooooo#.......", //
    "........#ooooooooooooooo#.......", //
    "........#ooooooooooooooo#.......", //
    ".........#oooooooooooooo#.......", //
    ".........#ooooooooooooo#........", // 25
    "..........#oooooooooooo#........", //
    "..........#oooooooooooo#........", //
    "..........##############........", //
    "................................", //
    "................................", // 30
    "................................", //
};

} // namespace

Picture MakeGrainTexture() {
    Picture picture(kGrainWidth, kGrainHeight);
    for (int y = 0; y < kGrainHeight; ++y) {
        for (int x = 0; x < kGrainWidth; ++x) {
            const int speckle =
                LatticeValue(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y),
                             kSpeckleSeed, kSpeckleRange);
            const int grey =
                std::clamp(kGrainMean + Mottle(x, y) + speckle, kGrainLowest, kGrainHighest);
            SetPixel(picture, x, y, grey, grey, grey);
        }
    }
    return picture;
}

Picture MakeChoiceMark(bool selected) {
    Picture picture(kMarkSize, kMarkSize);
    for (int y = 0; y < kMarkSize; ++y) {
        for (int x = 0; x < kMarkSize; ++x) {
            // Count the samples that fall on the ring, the face and the dot.
            int ring = 0;
            int face = 0;
            int dot = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const int dx = 8 * x + 2 * sx + 1 - kCentreEighths;
                    const int dy = 8 * y + 2 * sy + 1 - kCentreEighths;
                    const int d2 = dx * dx + dy * dy;
                    if (selected && d2 <= kDotRadiusEighths * kDotRadiusEighths) {
                        ++dot;
                    } else if (d2 <= kRingInnerRadiusEighths * kRingInnerRadiusEighths) {
                        ++face;
                    } else if (d2 <= kOuterRadiusEighths * kOuterRadiusEighths) {
                        ++ring;
                    }
                }
            }
            const int background = kSamples * kSamples - ring - face - dot;
            std::array<int, 3> colour{};
            for (std::size_t i = 0; i < 3; ++i) {
                const int sum = kMarkBackground[i] * background + kMarkRing[i] * ring +
                                kMarkFace[i] * face + kMarkDot[i] * dot;
                colour[i] = (sum + kSamples * kSamples / 2) / (kSamples * kSamples);
            }
            SetPixel(picture, x, y, colour[0], colour[1], colour[2]);
        }
    }
    return picture;
}

Picture MakeDialogIcon() {
    Picture picture(kIconSize, kIconSize);
    // Barycentric weights of a point in the triangle top, left, right.
    const double area = (kTriangleRightX - kTriangleLeftX) * (kTriangleBaseY - kTriangleTopY);
    for (int y = 0; y < kIconSize; ++y) {
        for (int x = 0; x < kIconSize; ++x) {
            const double px = x + 0.5;
            const double py = y + 0.5;
            const double a = (kTriangleBaseY - py) * (kTriangleRightX - kTriangleLeftX) / area;
            const double b = ((kTriangleRightX - kTriangleTopX) * (py - kTriangleTopY) -
                              (px - kTriangleTopX) * (kTriangleBaseY - kTriangleTopY)) /
                             area;
            const double c = 1.0 - a - b;
            std::array<int, 3> colour{};
            if (InSierpinski(a, b, c, kTriangleLevels)) {
                colour = kGold;
            } else {
                for (std::size_t i = 0; i < 3; ++i) {
                    colour[i] = kSkyTop[i] + (kSkyBottom[i] - kSkyTop[i]) * y / (kIconSize - 1);
                }
            }
            SetPixel(picture, x, y, colour[0], colour[1], colour[2]);
        }
    }
    return picture;
}

forms::MonoCursor MakeHandCursor() {
    forms::MonoCursor cursor;
    cursor.width = kHandWidth;
    cursor.height = static_cast<int>(kHandRows.size());
    cursor.hotX = kHandHotX;
    cursor.hotY = kHandHotY;
    cursor.pixels.reserve(static_cast<std::size_t>(cursor.width * cursor.height));
    for (const std::string_view row : kHandRows) {
        for (const char c : row) {
            cursor.pixels.push_back(c == '#'   ? forms::MonoCursor::Black
                                    : c == 'o' ? forms::MonoCursor::White
                                               : forms::MonoCursor::Transparent);
        }
    }
    return cursor;
}

} // namespace kestrune
