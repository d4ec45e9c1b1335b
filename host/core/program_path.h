#pragma once

#include <string>

namespace kestrune {

// Full path (UTF-8) of the running program's executable, or an empty string
// when the platform cannot tell. One implementation per platform.
std::string RunningProgramPath();

// The process's working folder as a full path (UTF-8), or an empty string
// when it cannot be told (it was removed, say).
std::string WorkingFolder();

} // namespace kestrune
