#include "tools/tool_platform.h"

namespace kestrune::tool {

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

void UseBinaryStandardStreams() {}

} // namespace kestrune::tool
