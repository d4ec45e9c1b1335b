#include "host/music/mci_linux/audio_output_sdl.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>

namespace kestrune::mci {

namespace {

// Frames per mixing pass: about 46 ms, short enough that a stop is heard at
// once and long enough for a busy machine.
constexpr int kChunkFrames = 2048;

void SDLCALL PostMix(void* output, Uint8* stream, int length) {
    static_cast<AudioOutput*>(output)->MixSources(stream, length);
}

} // namespace

AudioOutput::~AudioOutput() {
    if (m_users > 0) {
        m_users = 1;
        Release();
    }
}

bool AudioOutput::Acquire() {
    if (m_users > 0) {
        ++m_users;
        return true;
    }
    if (m_failedAt && std::chrono::steady_clock::now() - *m_failedAt < m_retryAfterFailure) {
        return false;
    }
    if (!Open()) {
        m_failedAt = std::chrono::steady_clock::now();
        return false;
    }
    m_failedAt.reset();
    m_users = 1;
    return true;
}

bool AudioOutput::Open() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return false;
    }
    // No format changes allowed: SDL converts to the device, so the mixer and
    // the CD always see CD-format samples.
    if (Mix_OpenAudioDevice(kOutputFrequency, AUDIO_S16LSB, kOutputChannels, kChunkFrames, nullptr,
                            0) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_SetPostMix(&PostMix, this);
    return true;
}

void AudioOutput::Release() {
    if (m_users <= 0 || --m_users > 0) {
        return;
    }
    Mix_SetPostMix(nullptr, nullptr);
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

std::uint32_t AudioOutput::DeviceCount() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return 0;
    }
    const int count = SDL_GetNumAudioDevices(0);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    // -1: the driver cannot list its devices, but its default one is there.
    return count < 0 ? 1 : static_cast<std::uint32_t>(count);
}

void AudioOutput::AddSource(PcmSource* source) {
    const std::lock_guard lock(m_sourcesMutex);
    if (std::find(m_sources.begin(), m_sources.end(), source) == m_sources.end()) {
        m_sources.push_back(source);
    }
}

void AudioOutput::RemoveSource(PcmSource* source) {
    const std::lock_guard lock(m_sourcesMutex);
    std::erase(m_sources, source);
}

void AudioOutput::MixSources(std::uint8_t* stream, int length) {
    const std::lock_guard lock(m_sourcesMutex);
    for (PcmSource* source : m_sources) {
        source->MixInto(stream, length);
    }
}

} // namespace kestrune::mci
