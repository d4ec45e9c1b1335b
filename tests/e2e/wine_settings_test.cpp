// The settings file passes between the platforms unchanged: what the Linux
// kestrune-tool writes, the Windows one reads under Wine, and the other way
// round, to the byte.

#include "host/core/Kestrune_B.h"
#include "tests/e2e/wine_desktop.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

namespace kestrune::test {
namespace {

using namespace std::chrono_literals;

// A music file path with Japanese in it, as the dialog would store it.
constexpr const char* kMusicFile = "C:\\Music\\曲\\ﾃｽﾄ.mp3";

struct ToolResult {
    std::optional<int> code;
    std::string output;
};

class WineSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_desktop.Problem().empty()) << m_desktop.Problem(); }

    ToolResult Linux(std::vector<std::string> arguments) {
        ChildProcess::Options options;
        options.arguments = std::move(arguments);
        options.outputPath = (m_desktop.Scratch() / "linux.out").string();
        options.errorPath = (m_desktop.Scratch() / "linux.err").string();
        ToolResult result;
        result.code = RunProgram(std::string(KESTRUNE_BIN_DIR) + "/kestrune-tool", options, 60s);
        result.output = ReadBytes(options.outputPath);
        return result;
    }

    ToolResult Windows(std::vector<std::string> arguments) {
        const auto run =
            m_desktop.Run(m_desktop.BuildFile("bin/kestrune-tool.exe"), arguments, 60s, true);
        return {run.code, run.output};
    }

    // Writes the three keys as the dialog does, with one tool or the other.
    template <typename Tool> void WriteDialogKeys(Tool tool, const std::string& file) {
        EXPECT_EQ(tool({"ini", "set", file, kSettingsSection, kBgmKindKey, " 2"}).code, 0);
        EXPECT_EQ(tool({"ini", "set", file, kSettingsSection, kBgmRepeatKey, " 0"}).code, 0);
        EXPECT_EQ(tool({"ini", "set", file, kSettingsSection, kBgmFileKey, kMusicFile}).code, 0);
    }

    WineDesktop m_desktop;
};

TEST_F(WineSettingsTest, WrittenOnLinuxReadOnWindowsAndTheOtherWayRoundByteForByte) {
    const auto fromLinux = m_desktop.Scratch() / "linux.ini";
    const auto fromWindows = m_desktop.Scratch() / "windows.ini";
    const std::string linuxName = fromLinux.string();
    const std::string windowsName = WineDesktop::WindowsPathOf(fromWindows);

    WriteDialogKeys([&](std::vector<std::string> a) { return Linux(std::move(a)); }, linuxName);
    WriteDialogKeys([&](std::vector<std::string> a) { return Windows(std::move(a)); }, windowsName);
    // The same bytes, in code page 932 with CR LF line ends.
    const std::string bytes = ReadBytes(fromLinux);
    EXPECT_EQ(bytes, "[Section]\r\n"
                     "\x42\x47\x4D\x8B\xE6\x95\xAA= 2\r\n"
                     "\x42\x47\x4D\xD8\xCB\xDF\xB0\xC4= 0\r\n"
                     "\x42\x47\x4D\xCC\xA7\xB2\xD9=C:\\Music\\\x8B\xC8\\\xC3\xBD\xC4.mp3\r\n");
    EXPECT_EQ(ReadBytes(fromWindows), bytes);

    // Each side reads the other's file, keys matched without regard to case.
    const std::string linuxFileOnWindows = WineDesktop::WindowsPathOf(fromLinux);
    for (const auto& [key, value] : {std::pair{"bgm区分", "2\n"}, std::pair{"BGMﾘﾋﾟｰﾄ", "0\n"},
                                     std::pair{"BGMﾌｧｲﾙ", "C:\\Music\\曲\\ﾃｽﾄ.mp3\n"}}) {
        SCOPED_TRACE(key);
        const auto onWindows = Windows({"ini", "get", linuxFileOnWindows, "SECTION", key});
        EXPECT_EQ(onWindows.code, 0);
        EXPECT_EQ(onWindows.output, value);
        const auto onLinux = Linux({"ini", "get", fromWindows.string(), "section", key});
        EXPECT_EQ(onLinux.code, 0);
        EXPECT_EQ(onLinux.output, value);
    }

    // A change made on Windows to the Linux file is the change Linux makes.
    std::filesystem::copy_file(fromLinux, m_desktop.Scratch() / "both.ini");
    EXPECT_EQ(Windows({"ini", "set", linuxFileOnWindows, kSettingsSection, kBgmKindKey, "-1"}).code,
              0);
    EXPECT_EQ(Linux({"ini", "set", (m_desktop.Scratch() / "both.ini").string(), kSettingsSection,
                     kBgmKindKey, "-1"})
                  .code,
              0);
    EXPECT_EQ(ReadBytes(fromLinux), ReadBytes(m_desktop.Scratch() / "both.ini"));
    EXPECT_EQ(Linux({"ini", "get", linuxName, kSettingsSection, kBgmKindKey}).output, "-1\n");
}

} // namespace
} // namespace kestrune::test
