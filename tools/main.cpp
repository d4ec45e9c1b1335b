// kestrune-tool: the developer's command over the real code of each layer.

#include "tools/bmp_command.h"
#include "tools/icon_command.h"
#include "tools/ini_command.h"
#include "tools/mci_command.h"
#include "tools/pictures_command.h"
#if KESTRUNE_TOOL_SNAPSHOT
#include "tools/snapshot_command.h"
#endif
#include "tools/tool_command.h"
#include "tools/tool_platform.h"

#include <cstdio>
#include <cstring>
#include <span>
#include <string>
#include <vector>

namespace {

using kestrune::tool::Command;

// Every subcommand, in the order --help lists them.
const Command kCommands[] = {
    kestrune::tool::kPicturesCommand,
    kestrune::tool::kBmpCommand,
    kestrune::tool::kIniCommand,
    kestrune::tool::kMciCommand,
    kestrune::tool::kIconCommand,
#if KESTRUNE_TOOL_SNAPSHOT // needs an offscreen context, which only the Linux build has
    kestrune::tool::kSnapshotCommand,
#endif
    // (new commands go above this line)
    {nullptr, nullptr, nullptr, nullptr},
};

void PrintHelp(std::FILE* out) {
    std::fprintf(out, "Usage: kestrune-tool COMMAND [ARGS...]\n\n"
                      "Developer commands over Kestrune's own code.\n\n"
                      "Commands:\n");
    for (const Command& command : kCommands) {
        if (command.name) {
            std::fprintf(out, "  %s %s\n      %s\n", command.name, command.usage, command.summary);
        }
    }
    std::fprintf(out, "\n  --help\n      Show this help.\n");
}

} // namespace

int main(int argc, char** argv) {
    // The same UTF-8 arguments and the same output bytes on every platform.
    kestrune::tool::UseBinaryStandardStreams();
    std::vector<std::string> words = kestrune::tool::Utf8Arguments(argc, argv);
    std::vector<char*> pointers;
    for (std::string& word : words) {
        pointers.push_back(word.data());
    }
    pointers.push_back(nullptr);
    argc = static_cast<int>(words.size());
    argv = pointers.data();

    if (argc < 2) {
        PrintHelp(stderr);
        return 2;
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0 ||
        std::strcmp(argv[1], "help") == 0) {
        PrintHelp(stdout);
        return 0;
    }
    for (const Command& command : kCommands) {
        if (command.name && std::strcmp(command.name, argv[1]) == 0) {
            return command.run(
                std::span<char* const>(argv + 2, static_cast<std::size_t>(argc - 2)));
        }
    }
    std::fprintf(stderr, "kestrune-tool: unknown command '%s' (see kestrune-tool --help)\n",
                 argv[1]);
    return 2;
}
