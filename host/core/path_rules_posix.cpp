#include "host/core/path_rules.h"

namespace kestrune {

std::string FolderOfPlatformPath(std::string_view path) {
    return FolderOfPosixPath(path);
}

std::string_view WithoutTrailingPlatformSeparator(std::string_view path) {
    return WithoutTrailingPosixSeparator(path);
}

std::string JoinPlatformPath(std::string_view folder, std::string_view name) {
    return JoinPosixPath(folder, name);
}

} // namespace kestrune
