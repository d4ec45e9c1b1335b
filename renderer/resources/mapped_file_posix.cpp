#include "renderer/resources/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>

namespace kestrune {

MappedFile::MappedFile(const char* path) {
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    struct stat info = {};
    // Only a regular file has a size worth mapping; a device or a folder is
    // refused like a file that cannot be opened.
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size <= 0 ||
        static_cast<std::uintmax_t>(info.st_size) > SIZE_MAX) {
        ::close(fd);
        return;
    }
    const auto size = static_cast<std::size_t>(info.st_size);
    int flags = MAP_PRIVATE;
#ifdef MAP_POPULATE
    // Every byte is about to be read once, front to back: fault the pages in
    // with the mapping rather than one at a time.
    flags |= MAP_POPULATE;
#endif
    void* view = ::mmap(nullptr, size, PROT_READ, flags, fd, 0);
    // The mapping keeps its own reference to the file.
    ::close(fd);
    if (view == MAP_FAILED) {
        return;
    }
    m_data = static_cast<const std::uint8_t*>(view);
    m_size = size;
}

MappedFile::~MappedFile() {
    if (m_data) {
        ::munmap(const_cast<std::uint8_t*>(m_data), m_size);
    }
}

} // namespace kestrune
