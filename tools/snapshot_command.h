#pragma once

#include "tools/tool_command.h"

namespace kestrune::tool {

// kestrune-tool snapshot --time T --size WxH [--textures DIR] OUT.ppm: one
// frame of the real show, rendered offscreen.
extern const Command kSnapshotCommand;

} // namespace kestrune::tool
