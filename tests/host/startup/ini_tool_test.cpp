// kestrune-tool ini: get and set over the real reader and writer.
#include "tests/host/startup/temp_folder.h"
#include "tests/support/child_process.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrune {
namespace {

using namespace std::chrono_literals;

struct ToolRun {
    int exit_code = -1;
    std::string output; // standard output only
};

// Runs the real kestrune-tool with these arguments, each passed on as it is
// (Japanese text included), and keeps what it printed on standard output.
ToolRun RunTool(std::initializer_list<std::string> arguments) {
    test::TempFolder scratch;
    test::ChildProcess::Options options;
    options.arguments = arguments;
    options.outputPath = scratch.File("stdout.txt");
    options.errorPath = scratch.File("stderr.txt");
    ToolRun run;
    const std::optional<int> code =
        test::RunProgram(std::string(KESTRUNE_BIN_DIR) + "/kestrune-tool", options, 60s);
    run.exit_code = code.value_or(-1);
    run.output = test::ReadBytes(options.outputPath);
    return run;
}

TEST(IniToolTest, SetWritesCodePage932AndGetReadsItBack) {
    test::TempFolder folder;
    const std::string ini = folder.File("Kestrune.ini");
    EXPECT_EQ(RunTool({"ini", "set", ini, "Section", "BGM区分", " 2"}).exit_code, 0);
    EXPECT_EQ(RunTool({"ini", "set", ini, "Section", "BGMﾌｧｲﾙ", "/music/it's 曲.mp3"}).exit_code,
              0);
    EXPECT_EQ(test::ReadBytes(ini), "[Section]\r\n"
                                    "\x42\x47\x4D\x8B\xE6\x95\xAA= 2\r\n"
                                    "\x42\x47\x4D\xCC\xA7\xB2\xD9=/music/it's \x8B\xC8.mp3\r\n");

    const ToolRun kind = RunTool({"ini", "get", ini, "section", "bgm区分"});
    EXPECT_EQ(kind.exit_code, 0);
    EXPECT_EQ(kind.output, "2\n");
    EXPECT_EQ(RunTool({"ini", "get", ini, "Section", "BGMﾌｧｲﾙ"}).output, "/music/it's 曲.mp3\n");
    const ToolRun missing = RunTool({"ini", "get", ini, "Section", "BGMﾘﾋﾟｰﾄ"});
    EXPECT_EQ(missing.exit_code, 0);
    EXPECT_EQ(missing.output, "\n");
    EXPECT_EQ(RunTool({"ini", "get", folder.File("none.ini"), "Section", "k"}).output, "\n");
}

TEST(IniToolTest, SetFailsWithoutTouchingTheFile) {
    test::TempFolder folder;
    const std::string ini = folder.File("Kestrune.ini");
    test::WriteBytes(ini, "[Section]\nkey=old\n");
    const ToolRun refused = RunTool({"ini", "set", ini, "Section", "key", "café"});
    EXPECT_EQ(refused.exit_code, 1);
    EXPECT_EQ(refused.output, "");
    EXPECT_EQ(RunTool({"ini", "set", folder.File("no/such.ini"), "Section", "k", "v"}).exit_code,
              1);
    EXPECT_EQ(test::ReadBytes(ini), "[Section]\nkey=old\n");
    EXPECT_EQ(RunTool({"ini", "get", ini}).exit_code, 2);
    EXPECT_EQ(RunTool({"ini", "put", ini, "Section", "key", "v"}).exit_code, 2);
}

} // namespace
} // namespace kestrune
