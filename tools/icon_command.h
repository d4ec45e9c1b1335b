#pragma once

#include "tools/tool_command.h"

namespace kestrune::tool {

// kestrune-tool icon FILE: writes the program icon, the settings dialog's
// own icon picture, as a Windows .ico file.
extern const Command kIconCommand;

} // namespace kestrune::tool
