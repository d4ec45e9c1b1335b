#include "host/hack/current_pictures.h"

#include "common/kestrune_names.h"
#include "tests/host/pictures/saver_pictures_check.h"
#include "tests/support/file_identity.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace kestrune {
namespace {

namespace fs = std::filesystem;

TEST(CurrentPictures, WritesWhatIsMissingOrStaleAndLeavesCurrentFilesAlone) {
    const test::TempFolder temporary("kestrune-hack");
    ASSERT_TRUE(temporary.Ok());
    const fs::path folder = temporary.Path();
    const auto file = [&](int number) { return TextureFilePath(folder.string(), number); };

    std::string error;
    ASSERT_TRUE(WriteCurrentTexturePictures(folder.string(), &error)) << error;
    EXPECT_EQ(test::TextureFilesNotCurrent(folder.string()), "");
    const auto untouched = test::IdentityOf(file(1));

    // A cut file, a link to the right bytes, and another picture's bytes.
    std::ofstream(file(2), std::ios::binary) << "BM";
    const fs::path elsewhere = folder / "elsewhere.bmp";
    fs::rename(file(3), elsewhere);
    fs::create_symlink(elsewhere, file(3));
    fs::copy_file(file(1), file(4), fs::copy_options::overwrite_existing);

    ASSERT_TRUE(WriteCurrentTexturePictures(folder.string(), &error)) << error;
    EXPECT_EQ(test::TextureFilesNotCurrent(folder.string()), "");
    for (int number = 1; number <= kTextureFileCount; ++number) {
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(file(number)))) << number;
    }
    EXPECT_EQ(test::IdentityOf(file(1)), untouched) << "a current file was written again";

    // Where nothing can be written, each failure is named.
    error.clear();
    EXPECT_FALSE(WriteCurrentTexturePictures((folder / "missing").string(), &error));
    EXPECT_EQ(std::count(error.begin(), error.end(), '\n'), kTextureFileCount) << error;
}

} // namespace
} // namespace kestrune
