#include "host/pictures/bmp_writer.h"

#include "tests/support/temporary_folder.h"

#include <filesystem>

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kestrune {
namespace {

using test::FolderListing;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

// A picture whose every byte says where it came from: pixel (x, y) is
// (10 x + y + 1, 100 + x, 200 + y).
Picture Numbered(int width, int height) {
    Picture picture(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* pixel = picture.PixelAt(x, y);
            pixel[0] = static_cast<std::uint8_t>(10 * x + y + 1);
            pixel[1] = static_cast<std::uint8_t>(100 + x);
            pixel[2] = static_cast<std::uint8_t>(200 + y);
        }
    }
    return picture;
}

// The bytes of `picture` as a BMP file, as the file reads back.
std::string BmpOf(const Picture& picture) {
    const std::vector<std::uint8_t> bytes = EncodeBmp(picture);
    return {bytes.begin(), bytes.end()};
}

TEST(BmpWriterTest, HeadersOfAFiveByTwoPictureAreExact) {
    const std::vector<std::uint8_t> bytes = EncodeBmp(Numbered(5, 2));
    // 5 pixels make 15 bytes a row, padded to 16; two rows after 54 bytes.
    // clang-format off
    const std::uint8_t expected[54] = {
        'B', 'M',             // signature
        86, 0, 0, 0,          // file size
        0, 0, 0, 0,           // reserved
        54, 0, 0, 0,          // offset of the pixels
        40, 0, 0, 0,          // info header size
        5, 0, 0, 0,           // width
        2, 0, 0, 0,           // height, positive: bottom-up
        1, 0,                 // planes
        24, 0,                // bits per pixel
        0, 0, 0, 0,           // BI_RGB
        32, 0, 0, 0,          // image size: two rows of 16 bytes
        0x13, 0x0B, 0, 0,     // 2835 pixels per metre across
        0x13, 0x0B, 0, 0,     // and down
        0, 0, 0, 0,           // colours used: no colour table
        0, 0, 0, 0,           // colours important
    };
    // clang-format on
    ASSERT_EQ(bytes.size(), 86u);
    EXPECT_TRUE(std::equal(std::begin(expected), std::end(expected), bytes.begin()));
}

TEST(BmpWriterTest, RowsAreBottomUpBlueGreenRedAndPaddedWithZeros) {
    // Row lengths in the file for widths 1 to 5: 3, 6, 9, 12, 15 bytes of
    // pixels padded to 4, 8, 12, 12, 16.
    const int padded[] = {4, 8, 12, 12, 16};
    for (int width = 1; width <= 5; ++width) {
        SCOPED_TRACE(width);
        const int row = padded[width - 1];
        const std::vector<std::uint8_t> bytes = EncodeBmp(Numbered(width, 2));
        ASSERT_EQ(bytes.size(), static_cast<std::size_t>(54 + 2 * row));
        EXPECT_EQ(bytes[2] | bytes[3] << 8, 54 + 2 * row); // file size
        EXPECT_EQ(bytes[18], width);                       // width
        EXPECT_EQ(bytes[22], 2);                           // height, positive: bottom-up
        EXPECT_EQ(bytes[34] | bytes[35] << 8, 2 * row);    // image size
        for (int stored = 0; stored < 2; ++stored) {
            const int y = 1 - stored; // the bottom row comes first
            const std::uint8_t* out = bytes.data() + 54 + stored * row;
            for (int x = 0; x < width; ++x) {
                EXPECT_EQ(out[3 * x + 0], 200 + y);
                EXPECT_EQ(out[3 * x + 1], 100 + x);
                EXPECT_EQ(out[3 * x + 2], 10 * x + y + 1);
            }
            for (int pad = 3 * width; pad < row; ++pad) {
                EXPECT_EQ(out[pad], 0) << "padding byte " << pad;
            }
        }
    }
}

TEST(BmpWriterTest, SavingReplacesAnExistingFileAndLeavesNothingElse) {
    TempFolder folder;
    ASSERT_TRUE(folder.Ok());
    const std::string path = folder.File("Kestrune2.bmp");
    const std::string oldText = "an older, longer file that must not survive in any part";
    WriteBytes(path, oldText);
    // A second name for the old file: replacing must give the path a new
    // file, not overwrite the old one's contents.
    std::error_code linked;
    std::filesystem::create_hard_link(path, folder.File("old-name"), linked);
    ASSERT_FALSE(linked) << linked.message();

    const Picture picture = Numbered(3, 3);
    std::string error;
    ASSERT_TRUE(SaveBmp(path, picture, &error)) << error;
    EXPECT_EQ(ReadBytes(path), BmpOf(picture));
    EXPECT_EQ(ReadBytes(folder.File("old-name")), oldText);
    // No temporary file is left behind.
    EXPECT_EQ(FolderListing(folder.Path()), "Kestrune2.bmp\nold-name\n");
}

TEST(BmpWriterTest, SavesIntoAFolderWhoseNameIsNotAscii) {
    TempFolder folder;
    ASSERT_TRUE(folder.Ok());
    // Built from UTF-8 on both platforms: the writer takes UTF-8 paths.
    const std::filesystem::path pictures = std::filesystem::path(folder.Path()) / u8"写真 ｶﾅ";
    ASSERT_TRUE(std::filesystem::create_directory(pictures));
    const std::u8string name = (pictures / u8"Kestrune1.bmp").u8string();
    const std::string path(name.begin(), name.end());
    const std::u8string folderName = pictures.u8string();

    const Picture picture = Numbered(2, 2);
    std::string error;
    ASSERT_TRUE(SaveBmp(path, picture, &error)) << error;
    EXPECT_EQ(ReadBytes(path), BmpOf(picture));
    EXPECT_EQ(FolderListing(std::string(folderName.begin(), folderName.end())), "Kestrune1.bmp\n");
}

TEST(BmpWriterTest, FailuresAreReportedAndLeaveNoFile) {
    TempFolder folder;
    ASSERT_TRUE(folder.Ok());
    std::string error;

    // A folder that does not exist.
    const std::string missing = folder.File("no-such-folder/Kestrune1.bmp");
    EXPECT_FALSE(SaveBmp(missing, Picture(1, 1), &error));
    EXPECT_NE(error.find(missing), std::string::npos) << error;

    // A folder standing at the file's path: the rename fails after the
    // temporary file was written, which must then be removed again.
    const std::string blocked = folder.File("Kestrune2.bmp");
    ASSERT_TRUE(std::filesystem::create_directory(blocked));
    error.clear();
    EXPECT_FALSE(SaveBmp(blocked, Picture(2, 2), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(std::filesystem::is_directory(blocked));
    EXPECT_EQ(FolderListing(folder.Path()), "Kestrune2.bmp\n");

    // A picture with no pixels, or with fewer bytes than its size needs.
    EXPECT_FALSE(SaveBmp(folder.File("empty.bmp"), Picture()));
    Picture shortOfBytes(4, 4);
    shortOfBytes.rgb.resize(10);
    EXPECT_FALSE(SaveBmp(folder.File("short.bmp"), shortOfBytes));
    EXPECT_FALSE(std::filesystem::exists(folder.File("empty.bmp")));
    EXPECT_FALSE(std::filesystem::exists(folder.File("short.bmp")));
}

#ifndef _WIN32
// A symbolic link standing at a texture file's path is replaced, never
// written through. (Making one on Windows needs a privilege tests lack.)
TEST(BmpWriterTest, SymbolicLinkAtThePathIsReplacedNotWrittenThrough) {
    TempFolder folder;
    ASSERT_TRUE(folder.Ok());
    const std::string victim = folder.Write("victim.txt", "precious");
    const std::string path = folder.File("Kestrune3.bmp");
    ASSERT_EQ(symlink(victim.c_str(), path.c_str()), 0);
    // A dangling link must not create its target either.
    const std::string absent = folder.File("absent.txt");
    const std::string dangling = folder.File("Kestrune4.bmp");
    ASSERT_EQ(symlink(absent.c_str(), dangling.c_str()), 0);

    const Picture picture = Numbered(4, 1);
    ASSERT_TRUE(SaveBmp(path, picture));
    ASSERT_TRUE(SaveBmp(dangling, picture));

    for (const std::string& written : {path, dangling}) {
        struct stat info {};
        ASSERT_EQ(lstat(written.c_str(), &info), 0);
        EXPECT_TRUE(S_ISREG(info.st_mode)) << written << " is still a link";
        EXPECT_EQ(ReadBytes(written), BmpOf(picture));
    }
    EXPECT_EQ(ReadBytes(victim), "precious");
    EXPECT_FALSE(std::filesystem::exists(absent));
}
#endif

} // namespace
} // namespace kestrune
