#include "host/forms/surface.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrune::forms {
namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kRed{255, 0, 0};

// The surface as rows of '#' (the colour asked about) and '.', for readable
// expectations.
std::string Rows(const Surface& surface, Rgb colour) {
    std::string rows;
    for (int y = 0; y < surface.Height(); ++y) {
        for (int x = 0; x < surface.Width(); ++x) {
            rows += surface.PixelAt(x, y) == colour ? '#' : '.';
        }
        rows += '\n';
    }
    return rows;
}

TEST(Surface, LinesStopBeforeTheirEndAndClipAtTheEdges) {
    Surface surface(5, 4, kBlack);
    surface.DrawLine({0, 0}, {5, 0}, kWhite);  // the whole first row, end outside
    surface.DrawLine({1, 1}, {4, 4}, kWhite);  // diagonal, (4, 4) not drawn
    surface.DrawLine({-3, 3}, {2, 3}, kWhite); // starts outside the surface
    surface.DrawLine({4, 2}, {4, 2}, kWhite);  // empty: from is the end
    surface.DrawLine({4, 10}, {4, -10}, kRed); // through the whole column
    EXPECT_EQ(Rows(surface, kWhite), "####.\n"
                                     ".#...\n"
                                     "..#..\n"
                                     "##.#.\n");
    EXPECT_EQ(Rows(surface, kRed), "....#\n"
                                   "....#\n"
                                   "....#\n"
                                   "....#\n");
}

TEST(Surface, RectangleOutlinesAndPicturesAreClipped) {
    Surface surface(6, 5, kBlack);
    surface.DrawRectangle({1, 1, 4, 3}, kWhite);
    surface.DrawRectangle({4, -1, 0, 9}, kRed); // no width: nothing
    EXPECT_EQ(Rows(surface, kWhite), "......\n"
                                     ".####.\n"
                                     ".#..#.\n"
                                     ".####.\n"
                                     "......\n");
    Picture picture(3, 2);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            picture.PixelAt(x, y)[0] = static_cast<std::uint8_t>(10 * (y * 3 + x + 1));
        }
    }
    surface.DrawPicture(picture, -1, 4); // only (1, 0) and (2, 0) of it land
    EXPECT_EQ(surface.PixelAt(0, 4), (Rgb{20, 0, 0}));
    EXPECT_EQ(surface.PixelAt(1, 4), (Rgb{30, 0, 0}));
    EXPECT_EQ(surface.PixelAt(2, 4), kBlack);
    EXPECT_EQ(surface.PixelAt(99, -1), kBlack); // outside reads as black, no crash
}

TEST(Surface, StretchPicksTheNearestSourcePixel) {
    Picture picture(2, 2);
    picture.PixelAt(0, 0)[0] = 1;
    picture.PixelAt(1, 0)[0] = 2;
    picture.PixelAt(0, 1)[0] = 3;
    picture.PixelAt(1, 1)[0] = 4;
    Surface surface(5, 5, kWhite);
    // Doubled into the corner: every source pixel becomes a 2 x 2 block.
    surface.StretchPicture(picture, {0, 0, 2, 2}, {0, 0, 4, 4});
    EXPECT_EQ(surface.PixelAt(1, 1).red, 1);
    EXPECT_EQ(surface.PixelAt(2, 1).red, 2);
    EXPECT_EQ(surface.PixelAt(1, 2).red, 3);
    EXPECT_EQ(surface.PixelAt(3, 3).red, 4);
    EXPECT_EQ(surface.PixelAt(4, 4), kWhite);
    // One column of the picture squeezed into one row (whose centre falls on
    // the column's second pixel) and stretched along it, off the edge.
    surface.StretchPicture(picture, {1, 0, 1, 2}, {3, 4, 6, 1});
    EXPECT_EQ(surface.PixelAt(3, 4).red, 4);
    EXPECT_EQ(surface.PixelAt(4, 4).red, 4);
    // Shrunk: each destination pixel takes the source pixel at its centre.
    Surface small(1, 1, kWhite);
    small.StretchPicture(picture, {0, 0, 2, 2}, {0, 0, 1, 1});
    EXPECT_EQ(small.PixelAt(0, 0).red, 4);
    // Source rectangles beyond the picture and empty ones draw nothing there.
    Surface untouched(3, 3, kWhite);
    untouched.StretchPicture(picture, {1, 1, 4, 4}, {0, 0, 3, 3});
    untouched.StretchPicture(picture, {0, 0, -2, 2}, {0, 0, 3, 3});
    EXPECT_EQ(untouched.PixelAt(0, 0).red, 4);
    EXPECT_EQ(untouched.PixelAt(2, 2), kWhite);
}

TEST(Surface, GradientRunsFromTheTopColourOnTheFirstRowToTheBottomOnTheLast) {
    Surface surface(3, 6, kBlack);
    surface.FillVerticalGradient({1, 1, 1, 5}, Rgb{0, 200, 10}, Rgb{100, 0, 10});
    EXPECT_EQ(surface.PixelAt(1, 1), (Rgb{0, 200, 10}));
    EXPECT_EQ(surface.PixelAt(1, 2), (Rgb{25, 150, 10}));
    EXPECT_EQ(surface.PixelAt(1, 3), (Rgb{50, 100, 10}));
    EXPECT_EQ(surface.PixelAt(1, 5), (Rgb{100, 0, 10}));
    EXPECT_EQ(surface.PixelAt(0, 3), kBlack);
    EXPECT_EQ(surface.PixelAt(1, 0), kBlack);
    surface.FillVerticalGradient({0, 0, 3, 1}, kRed, kWhite); // one row: the top colour
    EXPECT_EQ(Rows(surface, kRed).substr(0, 4), "###\n");
}

TEST(Surface, ResizingKeepsWhatWasDrawnAndFillsTheRest) {
    Surface surface(2, 2, kRed);
    surface.DrawLine({0, 1}, {2, 1}, kWhite);
    surface.Resize(3, 1, kBlack);
    EXPECT_EQ(Rows(surface, kRed), "##.\n");
    surface.Resize(3, 2, kBlack);
    EXPECT_EQ(Rows(surface, kBlack), "..#\n###\n");
    surface.Resize(-4, 7, kBlack);
    EXPECT_EQ(surface.Width(), 0);
    EXPECT_TRUE(surface.Image().rgb.empty());
}

} // namespace
} // namespace kestrune::forms
