#include "host/music/mci_linux/wave_player_sdl.h"

#include "host/music/mci_linux/sound_file_sdl.h"
#include "host/music/mci_platform.h"

#include <SDL.h>
#include <SDL_mixer.h>

namespace kestrune::mci {

namespace {

// How often a synchronous sound looks whether it has ended.
constexpr Uint32 kSyncPollMilliseconds = 10;

} // namespace

void WavePlayer::ChunkDeleter::operator()(Mix_Chunk* chunk) const {
    Mix_FreeChunk(chunk);
}

WavePlayer::~WavePlayer() {
    Stop();
}

bool WavePlayer::Playing() const {
    return m_chunk && m_channel >= 0 && Mix_Playing(m_channel) != 0;
}

void WavePlayer::Stop() {
    if (!m_chunk) {
        return;
    }
    Mix_HaltChannel(m_channel);
    m_chunk.reset();
    m_channel = -1;
    m_output.Release();
}

bool WavePlayer::Play(const char* name, std::uint32_t flags) {
    Stop();
    if (!name) {
        return true;
    }
    const bool async = (flags & kSoundAsync) != 0;
    const bool loop = (flags & kSoundLoop) != 0;
    if (loop && !async) {
        return false;
    }
    SoundFile file = OpenSoundFile(name);
    if (!file) {
        return false;
    }
    if (!m_output.Acquire()) {
        return false;
    }
    // The chunk loader takes the file over, whether it loads or not.
    m_chunk.reset(Mix_LoadWAV_RW(file.release(), 1));
    if (!m_chunk) {
        m_output.Release();
        return false;
    }
    m_channel = Mix_PlayChannel(-1, m_chunk.get(), loop ? -1 : 0);
    if (m_channel < 0) {
        m_chunk.reset();
        m_output.Release();
        return false;
    }
    if (!async) {
        while (Mix_Playing(m_channel) != 0) {
            SDL_Delay(kSyncPollMilliseconds);
        }
        Stop();
    }
    return true;
}

} // namespace kestrune::mci
