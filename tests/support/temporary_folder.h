#pragma once

#include <filesystem>
#include <string_view>

namespace kestrune::test {

// Makes a new, empty folder with a unique name that starts with `prefix`
// under the system's temporary folder, and returns its path in the
// platform's own form (backslashes on Windows). Returns an empty path when
// no folder could be made.
std::filesystem::path MakeTemporaryFolder(std::string_view prefix);

} // namespace kestrune::test
