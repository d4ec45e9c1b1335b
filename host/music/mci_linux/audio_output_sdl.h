#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

// The one audio output of the Linux device layer, shared by the music file,
// the looping sound and the CD: SDL_mixer on the default audio device, opened
// while anything uses it. The CD's samples are added after the mixer's own
// (SDL_mixer plays one music stream, which the music file uses).
namespace kestrune::mci {

// The output's sample format, which is also the audio CD's: 44.1 kHz,
// 16-bit little-endian, two channels.
inline constexpr int kOutputFrequency = 44100;
inline constexpr int kOutputChannels = 2;

// After the output could not be opened it is tried again only this much
// later: each try starts SDL's audio subsystem, which probes the audio
// drivers on the calling thread, and the CD watch asks for the output five
// times a second while it has nothing to play on.
inline constexpr std::chrono::milliseconds kOutputRetryAfterFailure{3000};

// Samples mixed into the output on the audio thread.
class PcmSource {
public:
    virtual ~PcmSource() = default;
    // Adds up to `length` bytes of samples into `stream`, on the audio thread.
    virtual void MixInto(std::uint8_t* stream, int length) = 0;
};

class AudioOutput {
public:
    explicit AudioOutput(std::chrono::milliseconds retryAfterFailure = kOutputRetryAfterFailure)
        : m_retryAfterFailure(retryAfterFailure) {}
    ~AudioOutput();
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    // Opens the device on the first use; false when no device can be opened,
    // or when that was found out less than the retry time ago. Every
    // successful call is matched by one Release.
    bool Acquire();
    void Release();

    // The number of output devices SDL reports; 0 when audio cannot start.
    std::uint32_t DeviceCount();

    // Sources are mixed while the output is open; a removed source is never
    // touched again once RemoveSource returns.
    void AddSource(PcmSource* source);
    void RemoveSource(PcmSource* source);

    // Called by the mixer on the audio thread.
    void MixSources(std::uint8_t* stream, int length);

private:
    bool Open();

    const std::chrono::milliseconds m_retryAfterFailure;
    std::optional<std::chrono::steady_clock::time_point> m_failedAt;
    int m_users = 0;
    std::mutex m_sourcesMutex;
    std::vector<PcmSource*> m_sources;
};

} // namespace kestrune::mci
