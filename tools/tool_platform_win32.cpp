#include "tools/tool_platform.h"

#include "common/utf8_win32.h"

#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <fcntl.h>
#include <io.h>

namespace kestrune::tool {

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
    int count = 0;
    wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!words) {
        // Without the wide form the narrow one is all there is.
        return std::vector<std::string>(argv, argv + argc);
    }
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) {
        // A word that is no valid UTF-16 (a lone surrogate) cannot be passed
        // on as text; it becomes empty rather than some other name.
        arguments.push_back(Narrow(words[i]).value_or(std::string()));
    }
    LocalFree(words);
    return arguments;
}

void UseBinaryStandardStreams() {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

} // namespace kestrune::tool
