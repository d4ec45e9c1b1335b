#pragma once

#include "tools/tool_command.h"

namespace kestrune::tool {

// kestrune-tool mci COMMAND... / mci -: sends MCI command strings through
// the host's music module, in one process, and prints each result.
extern const Command kMciCommand;

} // namespace kestrune::tool
