#include "common/kestrune_names.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace kestrune {

namespace {

// The home folder from $HOME, or from the password database when HOME is unset
// (a process started by a service manager, say).
std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) {
        return home;
    }
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir) {
        return entry->pw_dir;
    }
    return {};
}

} // namespace

std::string TextureFolder() {
    // XDG says a relative XDG_CACHE_HOME is invalid and must be ignored.
    if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache && cache[0] == '/') {
        return std::string(cache) + "/r_vosk";
    }
    return HomeFolder() + "/.cache/r_vosk";
}

const char* PathSeparator() {
    return "/";
}

} // namespace kestrune
