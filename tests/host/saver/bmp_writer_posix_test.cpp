// The BMP writer on POSIX systems: a symbolic link standing at a texture
// file's path is replaced, never written through.
#include "host/saver/bmp_writer.h"

#include "tests/support/temporary_folder.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace kestrune {
namespace {

using test::TempFolder;

std::vector<std::uint8_t> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// A picture with a different byte at every place.
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

TEST(BmpWriterPosixTest, SymbolicLinkAtThePathIsReplacedNotWrittenThrough) {
    TempFolder folder;
    ASSERT_TRUE(folder.ok());
    const std::string victim = folder.File("victim.txt");
    const std::string path = folder.File("Kestrune3.bmp");
    WriteText(victim, "precious");
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
        EXPECT_EQ(ReadAll(written), EncodeBmp(picture));
    }
    const std::vector<std::uint8_t> kept = ReadAll(victim);
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "precious");
    EXPECT_FALSE(std::filesystem::exists(absent));
}

} // namespace
} // namespace kestrune
