#include "renderer/resources/dib_header.h"
#include "renderer/resources/dib_loader.h"

#include "tests/renderer/resources/capturing_sink.h"
#include "tests/renderer/resources/dib_builder.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kestrune {
namespace {

using test::CapturingSink;
using test::DibFields;
using test::MakeDib;
using test::TempFolder;

std::vector<std::uint8_t> SmallPicture() {
    DibFields dib;
    dib.width = 2;
    dib.height = 1;
    dib.pixels = {1, 2, 3, 4, 5, 6, 0, 0};
    return MakeDib(dib);
}

TEST(DibLoader, LoadsAPictureWithoutAWord) {
    TempFolder folder;
    CapturingSink sink;
    const auto image = LoadDib(folder.Write("ok.bmp", SmallPicture()).c_str());
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->width, 2);
    EXPECT_EQ(image->height, 1);
    EXPECT_EQ(image->pixels, (std::vector<std::uint8_t>{3, 2, 1, 6, 5, 4}));
    EXPECT_TRUE(sink.messages.empty());
}

TEST(DibLoader, NoNameAndMissingFilesGiveNothingSilently) {
    TempFolder folder;
    CapturingSink sink;
    EXPECT_FALSE(LoadDib(nullptr).has_value());
    EXPECT_FALSE(LoadDib(folder.File("missing.bmp").c_str()).has_value());
    // Files that cannot be opened for reading are each platform's own
    // matter: dib_loader_posix_test.cpp and dib_loader_win32_test.cpp.
    EXPECT_TRUE(sink.messages.empty());
}

TEST(DibLoader, AFileThatOpensButCannotBeMappedNamesItselfInTheMessage) {
    TempFolder folder;
    // (A folder opens on Linux and is refused the same way; on Windows it
    // does not open at all: see the platforms' own test files.)
    for (const std::string& path : {folder.Write("empty.bmp", "")}) {
        CapturingSink sink;
        EXPECT_FALSE(LoadDib(path.c_str()).has_value()) << path;
        ASSERT_EQ(sink.messages.size(), 1u) << path;
        EXPECT_EQ(sink.messages[0].text, "Failed to open DIB file " + path + ".\n");
        EXPECT_EQ(sink.messages[0].caption, "Error");
    }
    // A name longer than any fixed message buffer still comes out whole.
    const std::string longName(300, 'n');
    CapturingSink sink;
    const std::string longPath = folder.Write(longName.substr(0, 200) + ".bmp", "");
    EXPECT_FALSE(LoadDib(longPath.c_str()).has_value());
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, "Failed to open DIB file " + longPath + ".\n");
}

TEST(DibLoader, EachRefusalShowsExactlyItsOwnMessage) {
    TempFolder folder;
    DibFields v4;
    v4.headerSize = 108;
    v4.pixels = {0, 0, 0, 0};
    DibFields v5 = v4;
    v5.headerSize = 124;
    DibFields huge;
    huge.width = 40000;
    huge.height = 40000;
    DibFields planes;
    planes.planes = 3;
    planes.pixels = {0, 0, 0, 0};
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
        const char* message;
    } cases[] = {
        {"v4.bmp", MakeDib(v4), "Unknown DIB file format."},
        {"v5.bmp", MakeDib(v5), "Unknown DIB file format."},
        {"tiny.bmp", {'B', 'M', 0}, "Unknown DIB file format."},
        {"huge.bmp", MakeDib(huge), "Out of memory."},
        {"planes.bmp", MakeDib(planes), "Image file conversion error."},
    };
    for (const auto& c : cases) {
        CapturingSink sink;
        EXPECT_FALSE(LoadDib(folder.Write(c.name, c.bytes).c_str()).has_value()) << c.name;
        ASSERT_EQ(sink.messages.size(), 1u) << c.name;
        EXPECT_EQ(sink.messages[0].text, c.message) << c.name;
        EXPECT_EQ(sink.messages[0].caption, "Error") << c.name;
    }
}

} // namespace
} // namespace kestrune
