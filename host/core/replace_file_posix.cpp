#include "host/core/replace_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrune {

namespace {

// New files are readable by everyone and writable by the user, less the
// umask, as any file the user creates: the pictures are nothing secret.
constexpr mode_t kFileMode = 0644;

// How many temporary names to try before giving up; a name is only taken if
// a file of that name is left over from a crashed run.
constexpr int kTemporaryNameTries = 100;

bool Fail(std::string* error, const std::string& what, int code) {
    if (error) {
        *error = what + ": " + std::strerror(code);
    }
    return false;
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace

bool ReplaceFileNotFollowingLinks(const std::string& path, std::span<const std::uint8_t> bytes,
                                  std::string* error) {
    if (path.empty()) {
        // No folder to put the file in; the temporary file would otherwise
        // land in the working folder.
        return Fail(error, "no file name", ENOENT);
    }
    // The temporary file is created exclusively (O_EXCL), so it can never
    // open something placed under that name beforehand, link or not. The
    // process id and a counter keep two writers from choosing the same name.
    static unsigned counter = 0;
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < kTemporaryNameTries; ++attempt) {
        temporary = path + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(counter++);
        fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                  kFileMode);
        if (fd < 0 && errno != EEXIST) {
            break;
        }
    }
    if (fd < 0) {
        return Fail(error, "cannot create a file beside " + path, errno);
    }

    bool ok = WriteAll(fd, bytes);
    int code = errno;
    // Flushing to the disk before the rename makes sure a crash cannot leave
    // the new name on an empty file.
    if (ok) {
        ok = fsync(fd) == 0;
        code = errno;
    }
    if (close(fd) != 0 && ok) {
        ok = false;
        code = errno;
    }
    // rename() replaces a symbolic link at `path` itself, not its target.
    if (ok && std::rename(temporary.c_str(), path.c_str()) != 0) {
        ok = false;
        code = errno;
    }
    if (!ok) {
        unlink(temporary.c_str());
        return Fail(error, "cannot write " + path, code);
    }
    return true;
}

} // namespace kestrune
