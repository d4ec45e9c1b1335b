#pragma once

#include <string>
#include <vector>

namespace kestrune::tool {

// The program's arguments, its name first, as UTF-8 on every platform: on
// Windows they come from the wide command line, since the narrow arguments
// are in the system's code page and lose every character it cannot hold
// (Japanese key names on a Western system, for one).
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// Makes standard output and error pass bytes unchanged: on Windows the C
// library would otherwise turn each line break into CR LF, and the tool's
// output would differ from platform to platform.
void UseBinaryStandardStreams();

} // namespace kestrune::tool
