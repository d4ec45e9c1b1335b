#include "host/pictures/texture_pictures.h"

#include "common/kestrune_names.h"
#include "tests/host/pictures/saver_pictures_check.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace kestrune {
namespace {

// FNV-1a over the pixel bytes: enough to notice any changed byte.
std::uint64_t Fingerprint(const Picture& picture) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (std::uint8_t byte : picture.rgb) {
        hash = (hash ^ byte) * 1099511628211ULL;
    }
    return hash;
}

int Brightest(const std::uint8_t* pixel) {
    return std::max({pixel[0], pixel[1], pixel[2]});
}

TEST(TexturePicturesTest, SizesFollowThePictureTable) {
    const int expected[kPic1Count] = {1, 1, 64, 256, 512};
    for (int index = 0; index < kPic1Count; ++index) {
        const Picture picture = Pic1Picture(index);
        EXPECT_EQ(Pic1Size(index), expected[index]);
        EXPECT_EQ(picture.width, expected[index]) << index;
        EXPECT_EQ(picture.height, expected[index]) << index;
        EXPECT_EQ(picture.rgb.size(),
                  static_cast<std::size_t>(expected[index] * expected[index] * 3));
    }
    EXPECT_EQ(Pic1Picture(-1).rgb.size(), 0u);
    EXPECT_EQ(Pic1Picture(kPic1Count).rgb.size(), 0u);
    EXPECT_EQ(Pic1Size(kPic1Count), 0);
}

TEST(TexturePicturesTest, PicturesAreTheSameBytesEveryTimeAndEverywhere) {
    // Pinned fingerprints: a change of any pixel, on any platform or
    // compiler, shows here. If a picture is changed on purpose, look at it
    // (kestrune-tool pictures) and pin the new value.
    const std::uint64_t pinned[kPic1Count] = {
        0xd94d12186c0f2fb7ULL, // 0: three zero bytes
        0xd94d12186c0f2fb7ULL, // 1: the same
        0x90d3045a5e2abfbdULL, // 2: star sprite
        0x333b31d629119232ULL, // 3: star cluster
        0xeafbbffb42fcbdaaULL, // 4: night sky
    };
    for (int index = 0; index < kPic1Count; ++index) {
        const Picture first = Pic1Picture(index);
        EXPECT_EQ(first.rgb, Pic1Picture(index).rgb) << index;
        EXPECT_EQ(Fingerprint(first), pinned[index])
            << "picture " << index << " is now 0x" << std::hex << Fingerprint(first);
    }
}

TEST(TexturePicturesTest, BlackPixels) {
    for (int index : {0, 1}) {
        const Picture picture = Pic1Picture(index);
        EXPECT_EQ(picture.rgb, std::vector<std::uint8_t>(3, 0)) << index;
    }
}

TEST(TexturePicturesTest, StarSpriteIsWhiteInTheMiddleAndBlackAtEveryEdge) {
    const Picture star = Pic1Picture(2);
    const int last = star.width - 1;
    // Drawn additively, any light on the border would outline each spark.
    for (int i = 0; i <= last; ++i) {
        for (const auto& [x, y] : {std::pair{i, 0}, {i, last}, {0, i}, {last, i}}) {
            EXPECT_EQ(Brightest(star.PixelAt(x, y)), 0) << x << "," << y;
        }
    }
    // The four middle pixels are bright white.
    for (int y : {31, 32}) {
        for (int x : {31, 32}) {
            const std::uint8_t* pixel = star.PixelAt(x, y);
            EXPECT_GE(std::min({pixel[0], pixel[1], pixel[2]}), 250) << x << "," << y;
        }
    }
    // Mirror-symmetric both ways.
    for (int y = 0; y < star.height; ++y) {
        for (int x = 0; x < star.width; ++x) {
            ASSERT_TRUE(
                std::equal(star.PixelAt(x, y), star.PixelAt(x, y) + 3, star.PixelAt(last - x, y)));
            ASSERT_TRUE(
                std::equal(star.PixelAt(x, y), star.PixelAt(x, y) + 3, star.PixelAt(x, last - y)));
        }
    }
    // The halo is bluish: blue over red off the axes, where no ray passes.
    const std::uint8_t* halo = star.PixelAt(32 + 9, 32 + 9);
    EXPECT_GT(halo[2], halo[0] + 20);
    EXPECT_GT(Brightest(halo), 20);
    // The rays: on an axis the light reaches much further than between them.
    // (32 + 15, 32) lies 15.5 pixels from the centre, (32 + 10, 32 + 10) 14.8.
    EXPECT_GT(Brightest(star.PixelAt(32 + 15, 32)), Brightest(star.PixelAt(32 + 10, 32 + 10)) + 20);
    EXPECT_GT(Brightest(star.PixelAt(32, 32 - 1 - 15)),
              Brightest(star.PixelAt(32 - 1 - 10, 32 - 1 - 10)) + 20);
    // Fading: brightness falls outwards along a ray.
    for (int x = 33; x < last; ++x) {
        EXPECT_GE(Brightest(star.PixelAt(x, 32)), Brightest(star.PixelAt(x + 1, 32))) << x;
    }
}

TEST(TexturePicturesTest, StarClusterIsBlueHazeAndBrightStarsOnBlack) {
    const Picture cluster = Pic1Picture(3);
    std::uint64_t sum[3] = {0, 0, 0};
    int whitePixels = 0;
    int blueHazePixels = 0;
    for (int y = 0; y < cluster.height; ++y) {
        for (int x = 0; x < cluster.width; ++x) {
            const std::uint8_t* pixel = cluster.PixelAt(x, y);
            for (int c = 0; c < 3; ++c) {
                sum[c] += pixel[c];
            }
            if (std::min({pixel[0], pixel[1], pixel[2]}) >= 240) {
                ++whitePixels;
            }
            if (pixel[2] >= 40 && pixel[2] > 2 * pixel[0] && pixel[2] > pixel[1] + 20) {
                ++blueHazePixels;
            }
        }
    }
    // Blue dominates the picture as a whole.
    EXPECT_GT(sum[2], 2 * sum[0]);
    EXPECT_GT(sum[2], sum[1] * 3 / 2);
    // The haze covers a good part of it, and several stars burn out white.
    const int pixels = cluster.width * cluster.height;
    EXPECT_GT(blueHazePixels, pixels / 10);
    EXPECT_GT(whitePixels, 60);
    EXPECT_LT(whitePixels, pixels / 50);
    // The haze fades out towards the edges: the border is black but for the
    // odd faint field star.
    int litBorder = 0;
    const int last = cluster.width - 1;
    for (int i = 0; i <= last; ++i) {
        for (const auto& [x, y] : {std::pair{i, 0}, {i, last}, {0, i}, {last, i}}) {
            litBorder += Brightest(cluster.PixelAt(x, y)) > 16 ? 1 : 0;
        }
    }
    EXPECT_LT(litBorder, 4 * cluster.width / 20);
    // The middle is hazy.
    EXPECT_GT(cluster.PixelAt(120, 140)[2], 30);
}

TEST(TexturePicturesTest, NightSkyIsMostlyDarkWithSparseWhiteAndBluishStars) {
    const Picture sky = Pic1Picture(4);
    int dark = 0;
    int lit = 0;
    int bluish = 0;
    int white = 0;
    for (int y = 0; y < sky.height; ++y) {
        for (int x = 0; x < sky.width; ++x) {
            const std::uint8_t* pixel = sky.PixelAt(x, y);
            if (Brightest(pixel) < 12) {
                ++dark;
            }
            if (Brightest(pixel) >= 60) {
                ++lit;
                if (pixel[2] >= pixel[0] + 25) {
                    ++bluish;
                } else if (pixel[0] >= pixel[2] - 8) {
                    ++white;
                }
            }
        }
    }
    const int pixels = sky.width * sky.height;
    EXPECT_GT(dark, pixels * 97 / 100);
    // Sparse: a few hundred stars of a few pixels each.
    EXPECT_GT(lit, 300);
    EXPECT_LT(lit, pixels / 100);
    EXPECT_GT(bluish, lit / 10);
    EXPECT_GT(white, lit / 4);
}

TEST(TexturePicturesTest, SavesPicturesOneToFourAsTheTextureFiles) {
    test::TempFolder folder;
    ASSERT_TRUE(folder.Ok());
    std::string error;
    ASSERT_TRUE(SaveTexturePictures(folder.Path(), &error)) << error;
    EXPECT_EQ(test::TextureFilesNotCurrent(folder.Path()), "");
    // Picture 0 is never exported: only the four files are there.
    EXPECT_EQ(test::FolderListing(folder.Path()),
              "Kestrune1.bmp\nKestrune2.bmp\nKestrune3.bmp\nKestrune4.bmp\n");

    // Into a folder that does not exist: all four fail, each is reported.
    error.clear();
    EXPECT_FALSE(SaveTexturePictures(folder.File("missing"), &error));
    EXPECT_EQ(std::count(error.begin(), error.end(), '\n'), kTextureFileCount) << error;
}

} // namespace
} // namespace kestrune
