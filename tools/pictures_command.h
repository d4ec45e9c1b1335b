#pragma once

#include "tools/tool_command.h"

namespace kestrune::tool {

// kestrune-tool pictures DIR: writes the saver's texture files into DIR.
extern const Command kPicturesCommand;

} // namespace kestrune::tool
