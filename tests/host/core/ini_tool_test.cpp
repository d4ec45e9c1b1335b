// kestrune-tool ini: get and set over the real reader and writer.
#include "tests/support/temporary_folder.h"
#include "tests/support/tool_run.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrune {
namespace {

using test::RunKestruneTool;
using test::ToolRun;

TEST(IniToolTest, SetWritesCodePage932AndGetReadsItBack) {
    test::TempFolder folder;
    const std::string ini = folder.File("Kestrune.ini");
    EXPECT_EQ(RunKestruneTool({"ini", "set", ini, "Section", "BGM区分", " 2"}).exitCode, 0);
    EXPECT_EQ(
        RunKestruneTool({"ini", "set", ini, "Section", "BGMﾌｧｲﾙ", "/music/it's 曲.mp3"}).exitCode,
        0);
    EXPECT_EQ(test::ReadBytes(ini), "[Section]\r\n"
                                    "\x42\x47\x4D\x8B\xE6\x95\xAA= 2\r\n"
                                    "\x42\x47\x4D\xCC\xA7\xB2\xD9=/music/it's \x8B\xC8.mp3\r\n");

    const ToolRun kind = RunKestruneTool({"ini", "get", ini, "section", "bgm区分"});
    EXPECT_EQ(kind.exitCode, 0);
    EXPECT_EQ(kind.output, "2\n");
    EXPECT_EQ(RunKestruneTool({"ini", "get", ini, "Section", "BGMﾌｧｲﾙ"}).output,
              "/music/it's 曲.mp3\n");
    const ToolRun missing = RunKestruneTool({"ini", "get", ini, "Section", "BGMﾘﾋﾟｰﾄ"});
    EXPECT_EQ(missing.exitCode, 0);
    EXPECT_EQ(missing.output, "\n");
    EXPECT_EQ(RunKestruneTool({"ini", "get", folder.File("none.ini"), "Section", "k"}).output,
              "\n");
}

TEST(IniToolTest, SetFailsWithoutTouchingTheFile) {
    test::TempFolder folder;
    const std::string ini = folder.File("Kestrune.ini");
    test::WriteBytes(ini, "[Section]\nkey=old\n");
    const ToolRun refused = RunKestruneTool({"ini", "set", ini, "Section", "key", "café"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.output, "");
    EXPECT_EQ(
        RunKestruneTool({"ini", "set", folder.File("no/such.ini"), "Section", "k", "v"}).exitCode,
        1);
    EXPECT_EQ(test::ReadBytes(ini), "[Section]\nkey=old\n");
    EXPECT_EQ(RunKestruneTool({"ini", "get", ini}).exitCode, 2);
    EXPECT_EQ(RunKestruneTool({"ini", "put", ini, "Section", "key", "v"}).exitCode, 2);
}

} // namespace
} // namespace kestrune
