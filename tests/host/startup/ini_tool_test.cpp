// kestrune-tool ini: get and set over the real reader and writer.
#include "tests/host/startup/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace kestrune {
namespace {

struct ToolRun {
    int exit_code = -1;
    std::string output; // standard output only
};

std::string ShellQuoted(const std::string& word) {
    std::string quoted(1, '\'');
    for (const char c : word) {
        if (c == '\'') {
            quoted.append("'\\''");
        } else {
            quoted.push_back(c);
        }
    }
    quoted.push_back('\'');
    return quoted;
}

ToolRun RunTool(std::initializer_list<std::string> arguments) {
    std::string command = ShellQuoted(std::string(KESTRUNE_BIN_DIR) + "/kestrune-tool");
    for (const std::string& argument : arguments) {
        command.push_back(' ');
        command.append(ShellQuoted(argument));
    }
    command += " 2>/dev/null";
    ToolRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char buffer[4096];
    size_t got = 0;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        run.output.append(buffer, got);
    }
    const int status = pclose(pipe);
    run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
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
