#include "host/pictures/light_canvas.h"
#include "host/pictures/picture_random.h"
#include "host/pictures/value_noise.h"

#include <cstdlib>
#include <set>

#include <gtest/gtest.h>

namespace kestrune {
namespace {

TEST(PictureArithmeticTest, ProfilesAreOneAtTheCentreAndFallAsTheyShould) {
    const std::int64_t px2 = kSubpixel * kSubpixel; // one square pixel
    EXPECT_EQ(BumpWeight(0, 4 * kSubpixel, 3), kUnitWeight);
    // Half way out: (1 - 1/4)^2 = 0.5625.
    EXPECT_EQ(BumpWeight(4 * px2, 4 * kSubpixel, 2), kUnitWeight * 9 / 16);
    EXPECT_EQ(BumpWeight(16 * px2, 4 * kSubpixel, 2), 0);
    EXPECT_EQ(BumpWeight(17 * px2, 4 * kSubpixel, 2), 0);
    EXPECT_EQ(GlowWeight(0, 2 * kSubpixel), kUnitWeight);
    // At the core radius: 1 / (1 + 1)^2.
    EXPECT_EQ(GlowWeight(4 * px2, 2 * kSubpixel), kUnitWeight / 4);
    // A long tail: still light far out, and never negative or rising.
    std::int64_t previous = kUnitWeight;
    for (std::int64_t r = 1; r < 600; ++r) {
        const std::int64_t weight = GlowWeight(r * r * px2, 2 * kSubpixel);
        EXPECT_LE(weight, previous);
        EXPECT_GE(weight, 0);
        previous = weight;
    }
    EXPECT_GT(GlowWeight(20 * 20 * px2, 2 * kSubpixel), 0);
}

TEST(PictureArithmeticTest, DevelopingIsLinearBelowTheKneeAndSaturatesAtWhite) {
    LightCanvas canvas(4, 1);
    canvas.Add(1, 0, LightOf(100, 0, 10));
    canvas.Add(2, 0, LightOf(200, 250, 255));
    canvas.Add(3, 0, LightOf(100000, 100000, 100000));
    canvas.Add(9, 0, LightOf(255, 255, 255)); // outside: ignored
    const Picture picture = canvas.Develop(180, LightCanvas::Dither::None);
    const std::uint8_t expectedDark[3] = {0, 0, 0};
    EXPECT_TRUE(std::equal(expectedDark, expectedDark + 3, picture.PixelAt(0, 0)));
    EXPECT_EQ(picture.PixelAt(1, 0)[0], 100);
    EXPECT_EQ(picture.PixelAt(1, 0)[1], 0);
    EXPECT_EQ(picture.PixelAt(1, 0)[2], 10);
    // Above the knee the shoulder compresses but keeps the order.
    EXPECT_GT(picture.PixelAt(2, 0)[0], 180);
    EXPECT_LT(picture.PixelAt(2, 0)[0], picture.PixelAt(2, 0)[1]);
    EXPECT_LT(picture.PixelAt(2, 0)[1], picture.PixelAt(2, 0)[2]);
    EXPECT_LT(picture.PixelAt(2, 0)[2], 255);
    EXPECT_EQ(picture.PixelAt(3, 0)[0], 255);
}

TEST(PictureArithmeticTest, OrderedDitherKeepsTheMeanLevel) {
    // Light of 40.25 levels everywhere: a quarter of the pixels rise to 41.
    LightCanvas canvas(8, 8);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            canvas.Add(x, y, {40 * kLightStep + kLightStep / 4, 0, 0});
        }
    }
    const Picture dithered = canvas.Develop(200, LightCanvas::Dither::Ordered);
    const Picture plain = canvas.Develop(200, LightCanvas::Dither::None);
    int raised = 0;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            EXPECT_EQ(plain.PixelAt(x, y)[0], 40);
            ASSERT_GE(dithered.PixelAt(x, y)[0], 40);
            ASSERT_LE(dithered.PixelAt(x, y)[0], 41);
            raised += dithered.PixelAt(x, y)[0] - 40;
            EXPECT_EQ(dithered.PixelAt(x, y)[1], 0);
        }
    }
    EXPECT_EQ(raised, 16);
}

TEST(PictureArithmeticTest, NoiseIsSmoothAndStaysInRange) {
    std::int64_t low = kUnitWeight;
    std::int64_t high = 0;
    for (std::int64_t y = -300; y < 300; y += 7) {
        std::int64_t previous = FractalNoise(-400 * kSubpixel, y * kSubpixel, 32, 4, 5);
        for (std::int64_t x = -400 * kSubpixel; x < 400 * kSubpixel; x += kSubpixel / 2) {
            const std::int64_t value = FractalNoise(x, y * kSubpixel, 32, 4, 5);
            ASSERT_GE(value, 0);
            ASSERT_LT(value, kUnitWeight);
            // Half a pixel apart, with 4-pixel cells at the finest octave,
            // values never jump.
            ASSERT_LT(std::llabs(value - previous), kUnitWeight / 20) << x << "," << y;
            previous = value;
            low = std::min(low, value);
            high = std::max(high, value);
        }
    }
    // And it does vary.
    EXPECT_GT(high - low, kUnitWeight / 3);
}

TEST(PictureArithmeticTest, RandomNumbersStayInTheirBoundsAndDependOnTheSeed) {
    PictureRandom a(1);
    PictureRandom b(2);
    std::set<int> seen;
    int same = 0;
    for (int i = 0; i < 1000; ++i) {
        const int value = a.Between(-3, 3);
        ASSERT_GE(value, -3);
        ASSERT_LE(value, 3);
        seen.insert(value);
        ASSERT_LT(a.Below(10), 10u);
        same += a.Next() == b.Next() ? 1 : 0;
    }
    EXPECT_EQ(seen.size(), 7u);
    EXPECT_LT(same, 3);
}

} // namespace
} // namespace kestrune
