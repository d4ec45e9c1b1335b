#include "host/core/program_path.h"

#include <climits>
#include <unistd.h>

namespace kestrune {

std::string RunningProgramPath() {
    // The kernel's link to the executable is the file that was started, with
    // every symbolic link on the way resolved.
    char buffer[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof buffer) {
        return {};
    }
    return std::string(buffer, static_cast<std::size_t>(length));
}

std::string WorkingFolder() {
    char buffer[PATH_MAX];
    // getcwd gives "(unreachable)..." for a folder outside the process's
    // root; only a full path is a folder.
    if (!getcwd(buffer, sizeof buffer) || buffer[0] != '/') {
        return {};
    }
    return buffer;
}

} // namespace kestrune
