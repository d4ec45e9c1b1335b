#pragma once

#include <span>

namespace kestrune::tool {

// One subcommand of kestrune-tool. `args` holds the words after the
// subcommand's name; the result is the process exit code.
struct Command {
    const char* name;
    const char* usage;   // the arguments, for --help
    const char* summary; // one line on what it does
    int (*run)(std::span<char* const> args);
};

} // namespace kestrune::tool
