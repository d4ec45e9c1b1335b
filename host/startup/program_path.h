#pragma once

#include <string>

namespace kestrune {

// Full path (UTF-8) of the running program's executable, or an empty string
// when the platform cannot tell. One implementation per platform.
std::string RunningProgramPath();

} // namespace kestrune
