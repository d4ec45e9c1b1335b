#pragma once

#include "host/music/mci_linux/audio_output_sdl.h"

#include <cstdint>
#include <memory>

struct Mix_Chunk;

// The simple sound player: one sound file at a time, played once or looped
// until stopped, on a mixer channel of its own.
namespace kestrune::mci {

class WavePlayer {
public:
    explicit WavePlayer(AudioOutput& output) : m_output(output) {}
    ~WavePlayer();
    WavePlayer(const WavePlayer&) = delete;
    WavePlayer& operator=(const WavePlayer&) = delete;

    // The platform's sound call: a null name stops the sound that plays;
    // otherwise the file replaces it. The name is always a regular file: Linux
    // has no sound aliases, and a pipe or a device is refused without waiting
    // on it. Flags as the platform's: async, loop (only with async),
    // no-default (always so here: there is no default sound to fall back to).
    bool Play(const char* name, std::uint32_t flags);

    bool Playing() const;

private:
    void Stop();

    struct ChunkDeleter {
        void operator()(Mix_Chunk* chunk) const;
    };

    AudioOutput& m_output;
    std::unique_ptr<Mix_Chunk, ChunkDeleter> m_chunk;
    int m_channel = -1;
};

} // namespace kestrune::mci
