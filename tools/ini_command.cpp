#include "tools/ini_command.h"

#include "host/core/Kestrune_B.h"
#include "host/core/ini_file.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace kestrune::tool {

namespace {

constexpr const char* kUsage = "Usage: kestrune-tool ini get FILE SECTION KEY\n"
                               "       kestrune-tool ini set FILE SECTION KEY VALUE\n";

int RunIni(std::span<char* const> args) {
    if (args.size() == 4 && std::strcmp(args[0], "get") == 0) {
        // The host's own read: at most 255 characters, empty when missing.
        const std::string value = ReadIniValue(args[2], args[3], args[1]);
        std::printf("%s\n", value.c_str());
        return 0;
    }
    if (args.size() == 5 && std::strcmp(args[0], "set") == 0) {
        const IniWriteResult result = WriteIniString(args[1], args[2], args[3], args[4]);
        if (result != IniWriteResult::Written) {
            std::fprintf(stderr, "kestrune-tool ini: cannot set %s in [%s] of %s: %s\n", args[3],
                         args[2], args[1], DescribeIniWriteResult(result));
            return 1;
        }
        return 0;
    }
    std::fputs(kUsage, stderr);
    return 2;
}

} // namespace

const Command kIniCommand = {
    "ini", "get FILE SECTION KEY | set FILE SECTION KEY VALUE",
    "Read or write one value of a settings file (code page 932 on disk, UTF-8 arguments) with "
    "the host's own reader and writer; get prints the value and a line break.",
    RunIni};

} // namespace kestrune::tool
