#include "common/kestrune_names.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrune {

namespace {

// Mode of a folder made here: the user's alone, before the umask.
constexpr mode_t kNewFolderMode = 0700;

bool IsAbsolute(const char* path) {
    return path && path[0] == '/';
}

// The home folder from $HOME, or from the password database when HOME is unset
// or relative (a process started by a service manager, say). Empty when
// neither names an absolute folder: a relative one would move with the
// working folder.
std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); IsAbsolute(home)) {
        return home;
    }
    if (const passwd* entry = getpwuid(getuid()); entry && IsAbsolute(entry->pw_dir)) {
        return entry->pw_dir;
    }
    return {};
}

bool FolderFailure(std::string* error, const std::string& folder, int code) {
    if (error) {
        *error = "cannot make the folder " + folder + ": " + std::strerror(code);
    }
    return false;
}

} // namespace

std::string TextureFolder() {
    // XDG says a relative XDG_CACHE_HOME is invalid and must be ignored.
    if (const char* cache = std::getenv("XDG_CACHE_HOME"); IsAbsolute(cache)) {
        return std::string(cache) + "/r_vosk";
    }
    // Without a home folder there is no per-user place for the files. The
    // root folder, which an empty home would give, is nobody's to write in:
    // the saver then writes no textures and the renderer draws untextured.
    const std::string home = HomeFolder();
    return home.empty() ? std::string() : home + "/.cache/r_vosk";
}

const char* PathSeparator() {
    return "/";
}

bool CreateTextureFolder() {
    const std::string folder = TextureFolder();
    return !folder.empty() && CreateFolderWithParents(folder);
}

bool CreateFolderWithParents(const std::string& folder, std::string* error) {
    if (folder.empty()) {
        return FolderFailure(error, "(none)", ENOENT);
    }
    struct stat info {};
    if (stat(folder.c_str(), &info) == 0) {
        return S_ISDIR(info.st_mode) || FolderFailure(error, folder, ENOTDIR);
    }
    if (errno != ENOENT) {
        return FolderFailure(error, folder, errno);
    }
    // The parent first. A relative path's first folder has the working folder
    // as its parent, and the root is always there.
    const std::size_t lastSlash = folder.find_last_of('/');
    if (lastSlash != std::string::npos) {
        const std::size_t parentEnd = folder.find_last_not_of('/', lastSlash);
        if (parentEnd != std::string::npos &&
            !CreateFolderWithParents(folder.substr(0, parentEnd + 1), error)) {
            return false;
        }
    }
    // Another process may make the same folder at the same moment.
    if (mkdir(folder.c_str(), kNewFolderMode) != 0 && errno != EEXIST) {
        return FolderFailure(error, folder, errno);
    }
    if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        return FolderFailure(error, folder, ENOTDIR);
    }
    return true;
}

} // namespace kestrune
