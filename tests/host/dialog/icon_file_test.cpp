// The program icon of Kestrune.scr on Windows is stored as host/Kestrune.ico,
// written by kestrune-tool icon from the settings dialog's icon picture: the
// stored file must be what the tool writes now.
#include "host/dialog/icon_file.h"
#include "host/dialog/settings_pictures.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/tool_run.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kestrune {
namespace {

TEST(IconFileTest, TheStoredIconIsWhatTheToolWritesFromTheDialogIcon) {
    const test::TempFolder folder("kestrune-icon");
    ASSERT_TRUE(folder.Ok());
    const std::string written = folder.File("Kestrune.ico");
    const test::ToolRun run = test::RunKestruneTool({"icon", written});
    EXPECT_EQ(run.exitCode, 0) << run.error;

    const std::string file = test::ReadBytes(written);
    const std::vector<std::uint8_t> bytes(file.begin(), file.end());
    EXPECT_EQ(bytes, IcoFileBytes(MakeDialogIcon()));
    EXPECT_EQ(file,
              test::ReadBytes(std::filesystem::path(KESTRUNE_SOURCE_DIR) / "host" / "Kestrune.ico"))
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
}

} // namespace
} // namespace kestrune
