#include "tools/icon_command.h"

#include "host/dialog/icon_file.h"
#include "host/dialog/settings_pictures.h"

#include <cstdio>
#include <fstream>

namespace kestrune::tool {

namespace {

int RunIcon(std::span<char* const> args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "Usage: kestrune-tool icon FILE\n");
        return 2;
    }
    const std::vector<std::uint8_t> bytes = IcoFileBytes(MakeDialogIcon());
    std::ofstream out(args[0], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "kestrune-tool icon: cannot write %s\n", args[0]);
        return 1;
    }
    return 0;
}

} // namespace

const Command kIconCommand = {
    "icon", "FILE",
    "Write the program icon (the settings dialog's icon picture) as a Windows .ico file.", RunIcon};

} // namespace kestrune::tool
