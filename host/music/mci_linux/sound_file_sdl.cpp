#include "host/music/mci_linux/sound_file_sdl.h"

#include <SDL.h>

#include <cstdio>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrune::mci {

namespace {

// A file descriptor closed when it goes out of scope, unless handed on.
class FileDescriptor {
public:
    explicit FileDescriptor(int descriptor) : m_descriptor(descriptor) {}
    ~FileDescriptor() {
        if (m_descriptor >= 0) {
            close(m_descriptor);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return m_descriptor; }
    int Release() { return std::exchange(m_descriptor, -1); }

private:
    int m_descriptor;
};

} // namespace

void SoundFileCloser::operator()(SDL_RWops* file) const {
    SDL_RWclose(file);
}

SoundFile OpenSoundFile(const std::string& path) {
    FileDescriptor descriptor(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (descriptor.Get() < 0) {
        return nullptr;
    }
    struct stat info {};
    if (fstat(descriptor.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return nullptr;
    }
    // A regular file reads the same either way; the decoders get it as any
    // file they would have opened themselves.
    const int flags = fcntl(descriptor.Get(), F_GETFL);
    if (flags < 0 || fcntl(descriptor.Get(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
        return nullptr;
    }
    std::FILE* const stream = fdopen(descriptor.Get(), "rb");
    if (!stream) {
        return nullptr;
    }
    descriptor.Release();
    SDL_RWops* const file = SDL_RWFromFP(stream, SDL_TRUE);
    if (!file) {
        std::fclose(stream);
        return nullptr;
    }
    return SoundFile(file);
}

} // namespace kestrune::mci
