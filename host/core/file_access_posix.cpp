#include "host/core/file_access.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrune {

namespace {

// How many symbolic links are followed before giving up (the kernel's own
// limit for one lookup is 40).
constexpr int kMaxLinkDepth = 40;
// How many temporary names are tried before giving up on the folder.
constexpr int kTemporaryNameAttempts = 64;
// Mode of a file this code creates, before the umask.
constexpr mode_t kNewFileMode = 0666;

// A file descriptor, closed when it goes.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
    ~FileDescriptor() { Close(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return m_fd; }
    bool Valid() const { return m_fd >= 0; }
    // Closes now and reports whether the close succeeded (a failed close can
    // mean the data did not reach the disk).
    bool Close() {
        if (m_fd < 0) {
            return true;
        }
        const int fd = m_fd;
        m_fd = -1;
        return close(fd) == 0;
    }

private:
    int m_fd;
};

std::string FolderPart(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NamePart(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The path with every symbolic link at its end followed, so that the file
// that really holds the data is replaced and the link stays a link. A link
// to a missing file gives the missing target, which a write then creates.
bool FollowLinks(const std::string& path, std::string& target) {
    target = path;
    for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
        struct stat info {};
        if (lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return true;
        }
        char buffer[PATH_MAX];
        const ssize_t length = readlink(target.c_str(), buffer, sizeof buffer);
        if (length < 0 || static_cast<std::size_t>(length) >= sizeof buffer) {
            return false;
        }
        std::string next(buffer, static_cast<std::size_t>(length));
        if (next.empty()) {
            return false;
        }
        if (next.front() != '/') {
            next = FolderPart(target) + "/" + next;
        }
        target = std::move(next);
    }
    errno = ELOOP;
    return false;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Creates a new, empty temporary file in `folder`, named after `name` and
// hidden, with `mode`. Gives an invalid descriptor (errno set) on failure.
FileDescriptor CreateTemporaryFile(const std::string& folder, const std::string& name, mode_t mode,
                                   std::string& temporaryPath) {
    std::random_device entropy;
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        temporaryPath = folder + "/." + name + ".tmp" + std::to_string(getpid()) + "-" +
                        std::to_string(entropy() % 1000000u);
        const int fd = open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) {
            return FileDescriptor(fd);
        }
    }
    errno = EEXIST;
    return FileDescriptor();
}

// The fallback for a folder that takes no new files: the file itself is
// overwritten and cut to length.
bool RewriteInPlace(const std::string& path, std::string_view bytes) {
    FileDescriptor file(open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    struct stat info {};
    if (!file.Valid() || fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return false;
    }
    return WriteAll(file.Get(), bytes) &&
           ftruncate(file.Get(), static_cast<off_t>(bytes.size())) == 0 && fsync(file.Get()) == 0 &&
           file.Close();
}

} // namespace

FileReadStatus ReadWholeFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    // As IsReadableRegularFile: nothing but a regular file is opened.
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return (errno == ENOENT || errno == ENOTDIR) ? FileReadStatus::Missing
                                                     : FileReadStatus::Failed;
    }
    if (!S_ISREG(info.st_mode)) {
        return FileReadStatus::Failed;
    }
    FileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!file.Valid()) {
        return (errno == ENOENT || errno == ENOTDIR) ? FileReadStatus::Missing
                                                     : FileReadStatus::Failed;
    }
    if (fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return FileReadStatus::Failed;
    }
    char buffer[4096];
    while (true) {
        const ssize_t got = read(file.Get(), buffer, sizeof buffer);
        if (got == 0) {
            return FileReadStatus::Read;
        }
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            bytes.clear();
            return FileReadStatus::Failed;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

bool ReplaceFileFollowingLinks(const std::string& path, std::string_view bytes) {
    if (path.empty()) {
        return false;
    }
    std::string target;
    if (!FollowLinks(path, target)) {
        return false;
    }
    struct stat existing {};
    const bool exists = stat(target.c_str(), &existing) == 0;
    // A file the user made read-only stays as it is, as the platform's own
    // profile calls leave it.
    if (exists && (!S_ISREG(existing.st_mode) || access(target.c_str(), W_OK) != 0)) {
        return false;
    }

    const std::string folder = FolderPart(target);
    std::string temporaryPath;
    FileDescriptor temporary =
        CreateTemporaryFile(folder, NamePart(target),
                            exists ? (existing.st_mode & 07777) : kNewFileMode, temporaryPath);
    if (!temporary.Valid()) {
        // A folder that this user may not create files in (a shared install
        // folder whose file was made writable for everyone) still lets the
        // file itself be rewritten. A full disk or quota does not: a rewrite
        // that ran out of space half-way would leave the new bytes followed by
        // the old ones, so the old file stays and the failure is reported.
        const bool folderRefusesThisUser = errno == EACCES || errno == EPERM;
        return exists && folderRefusesThisUser && RewriteInPlace(target, bytes);
    }

    bool ok = WriteAll(temporary.Get(), bytes);
    if (ok && exists) {
        // The umask may have taken bits away from the old mode; put them back.
        // The owner is kept where this process may set it (it may not as an
        // ordinary user, and then the file becomes the writer's, as any
        // editor's save would make it).
        ok = fchmod(temporary.Get(), existing.st_mode & 07777) == 0;
        if (ok && (existing.st_uid != geteuid() || existing.st_gid != getegid())) {
            [[maybe_unused]] const int ignored =
                fchown(temporary.Get(), existing.st_uid, existing.st_gid);
        }
    }
    ok = ok && fsync(temporary.Get()) == 0;
    ok = temporary.Close() && ok;
    ok = ok && rename(temporaryPath.c_str(), target.c_str()) == 0;
    if (!ok) {
        unlink(temporaryPath.c_str());
        return false;
    }
    // Make the rename itself durable; a folder that cannot be synced does not
    // undo a write that has already happened.
    FileDescriptor folderFd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folderFd.Valid()) {
        fsync(folderFd.Get());
    }
    return true;
}

bool IsReadableRegularFile(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    // Anything but a regular file is turned away before it is opened: opening
    // a device or a named pipe can block, or do something (a pipe's waiting
    // writer would be let go). The open is non-blocking all the same, since
    // another file may take the name between the look and the open, and the
    // file opened is looked at once more.
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return false;
    }
    FileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    return file.Valid() && fstat(file.Get(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace kestrune
