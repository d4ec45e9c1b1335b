// The program icon of Kestrune.scr on Windows is stored as host/Kestrune.ico,
// written by kestrune-tool icon from the settings dialog's icon picture: the
// stored file must be what the tool writes now.
#include "host/settings/icon_file.h"
#include "host/settings/settings_pictures.h"
#include "tests/support/child_process.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace kestrune {
namespace {

using namespace std::chrono_literals;

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(IconFileTest, TheStoredIconIsWhatTheToolWritesFromTheDialogIcon) {
    const std::filesystem::path folder = test::MakeTemporaryFolder("kestrune-icon");
    ASSERT_FALSE(folder.empty());
    const std::filesystem::path written = folder / "Kestrune.ico";
    test::ChildProcess::Options options;
    options.arguments = {"icon", written.string()};
    EXPECT_EQ(test::RunProgram(std::string(KESTRUNE_BIN_DIR) + "/kestrune-tool", options, 60s), 0);

    const std::vector<std::uint8_t> bytes = ReadBytes(written);
    EXPECT_EQ(bytes, IcoFileBytes(MakeDialogIcon()));
    EXPECT_EQ(bytes,
              ReadBytes(std::filesystem::path(KESTRUNE_SOURCE_DIR) / "host" / "Kestrune.ico"))
        << "host/Kestrune.ico is out of date: kestrune-tool icon host/Kestrune.ico";

    // One 32 x 32 image of 32 bits, its bottom row first: the icon's
    // bottom-left pixel is the picture's, in blue, green, red order.
    ASSERT_EQ(bytes.size(), 6u + 16u + 40u + 32u * 32u * 4u + 32u * 4u);
    EXPECT_EQ(bytes[6], 32);
    EXPECT_EQ(bytes[12], 32);
    const Picture icon = MakeDialogIcon();
    const std::uint8_t* corner = icon.PixelAt(0, 31);
    EXPECT_EQ(bytes[62], corner[2]);
    EXPECT_EQ(bytes[63], corner[1]);
    EXPECT_EQ(bytes[64], corner[0]);
    EXPECT_EQ(bytes[65], 0xFF);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

} // namespace
} // namespace kestrune
