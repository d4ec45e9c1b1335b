#pragma once

#include <memory>
#include <string>

struct SDL_RWops;

// Opens the sound files of the music devices for SDL_mixer.
namespace kestrune::mci {

struct SoundFileCloser {
    void operator()(SDL_RWops* file) const;
};
using SoundFile = std::unique_ptr<SDL_RWops, SoundFileCloser>;

// Opens `path` for reading when it names a regular file, and only then; null
// otherwise. The open never waits: a named pipe at the music path would hold
// an ordinary open until something writes into it, and a device may never
// end, so the path is opened without blocking and anything but a regular file
// (a pipe, a folder, a device) is refused. What was checked is what is read:
// the file is not opened a second time by its name.
SoundFile OpenSoundFile(const std::string& path);

} // namespace kestrune::mci
