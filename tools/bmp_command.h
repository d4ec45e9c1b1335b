#pragma once

#include "tools/tool_command.h"

namespace kestrune::tool {

// kestrune-tool bmp FILE [OUT.ppm]: the renderer's BMP loader on one file.
extern const Command kBmpCommand;

} // namespace kestrune::tool
