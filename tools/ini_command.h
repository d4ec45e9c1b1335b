#pragma once

#include "tools/tool_command.h"

namespace kestrune::tool {

// kestrune-tool ini get FILE SECTION KEY / ini set FILE SECTION KEY VALUE:
// the host's settings-file reader and writer on any file.
extern const Command kIniCommand;

} // namespace kestrune::tool
