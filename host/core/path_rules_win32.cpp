#include "host/core/path_rules.h"

namespace kestrune {

std::string FolderOfPlatformPath(std::string_view path) {
    return FolderOfWindowsPath(path);
}

std::string_view WithoutTrailingPlatformSeparator(std::string_view path) {
    return WithoutTrailingWindowsSeparator(path);
}

std::string JoinPlatformPath(std::string_view folder, std::string_view name) {
    return JoinWindowsPath(folder, name);
}

} // namespace kestrune
