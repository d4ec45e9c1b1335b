#include "common/kestrune_names.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrune {

namespace {

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

} // namespace kestrune

namespace kestrune {

bool CreateTextureFolder() {
    const std::string folder = TextureFolder();
    if (folder.empty() || folder.front() != '/') {
        return false;
    }
    // Each missing folder on the way down, from the root; one that exists
    // already (or appears meanwhile) is fine.
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
        if (slash == std::string::npos) {
            break;
        }
    }
    struct stat status {};
    return stat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

} // namespace kestrune
