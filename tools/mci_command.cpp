#include "tools/mci_command.h"

#include "host/music/Kestrune_BGM.h"

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

namespace kestrune::tool {

namespace {

constexpr const char* kUsage = "Usage: kestrune-tool mci COMMAND...\n"
                               "       kestrune-tool mci -   (commands from standard input)\n";

// Sends one command and prints "code<TAB>reply". Returns whether it succeeded.
bool SendAndPrint(const std::string& command) {
    std::string reply;
    const std::int32_t result = SendMci(command, reply);
    std::printf("%d\t%s\n", static_cast<int>(result), reply.c_str());
    // Devices play on between commands: whoever reads the lines sees each
    // answer as soon as it is there.
    std::fflush(stdout);
    return result == 0;
}

int RunMci(std::span<char* const> args) {
    if (args.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    bool allSucceeded = true;
    if (args.size() == 1 && std::strcmp(args[0], "-") == 0) {
        std::string line;
        while (std::getline(std::cin, line)) {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            allSucceeded = SendAndPrint(line) && allSucceeded;
        }
    } else {
        for (const char* command : args) {
            allSucceeded = SendAndPrint(command) && allSucceeded;
        }
    }
    return allSucceeded ? 0 : 1;
}

} // namespace

const Command kMciCommand = {
    "mci", "COMMAND... | -",
    "Send MCI command strings in order in one process (or read them from standard input, one "
    "a line); print each result code, a tab and the reply. Exit 1 when any failed.",
    &RunMci};

} // namespace kestrune::tool
