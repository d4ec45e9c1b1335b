#include "host/core/path_rules.h"

namespace kestrune {

namespace {

std::string_view WithoutTrailing(std::string_view path, char separator) {
    if (!path.empty() && path.back() == separator) {
        path.remove_suffix(1);
    }
    return path;
}

std::string Join(std::string_view folder, std::string_view name, char separator) {
    std::string path(folder);
    if (path.empty() || path.back() != separator) {
        path += separator;
    }
    path += name;
    return path;
}

} // namespace

std::string FolderOfWindowsPath(std::string_view path) {
    // The text is UTF-8, so a "\" found here is always the character itself,
    // never the second byte of a double-byte character.
    const std::size_t last = path.find_last_of(":\\");
    if (last == std::string_view::npos) {
        return {};
    }
    return std::string(WithoutTrailing(path.substr(0, last + 1), '\\'));
}

std::string FolderOfPosixPath(std::string_view path) {
    const std::size_t last = path.rfind('/');
    if (last == std::string_view::npos) {
        return {};
    }
    if (last == 0) {
        return "/";
    }
    return std::string(path.substr(0, last));
}

std::string_view WithoutTrailingWindowsSeparator(std::string_view path) {
    return WithoutTrailing(path, '\\');
}

std::string_view WithoutTrailingPosixSeparator(std::string_view path) {
    return WithoutTrailing(path, '/');
}

std::string JoinWindowsPath(std::string_view folder, std::string_view name) {
    return Join(folder, name, '\\');
}

std::string JoinPosixPath(std::string_view folder, std::string_view name) {
    return Join(folder, name, '/');
}

} // namespace kestrune
