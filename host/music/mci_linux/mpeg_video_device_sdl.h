#pragma once

#include "host/music/mci_linux/audio_output_sdl.h"
#include "host/music/mci_linux/mci_device.h"

#include <memory>
#include <string>

struct _Mix_Music;

// The music-file device ("MPEGVideo"): one file played through SDL_mixer's
// music stream. Times are in milliseconds. SDL_mixer plays one music stream
// at a time, so playing one file stops any other that plays.
namespace kestrune::mci {

class MpegVideoDevice final : public MciDevice {
public:
    // Opens `file`: kFileNotFound when it is no regular file that can be
    // read, kNoAudioOutput without an audio device, kInvalidFile when it
    // cannot be decoded.
    static Error Open(AudioOutput& output, const std::string& file,
                      std::unique_ptr<MciDevice>& device);

    // Takes over an acquired output and a loaded music file.
    MpegVideoDevice(AudioOutput& output, _Mix_Music* music);
    ~MpegVideoDevice() override;

private:
    using State = PlayState;
    struct MusicDeleter {
        void operator()(_Mix_Music* music) const;
    };

    // Notices a file that ended by itself or was stopped by another file.
    void Refresh() override;
    Error Play(const std::vector<Word>& parameters) override;
    void Stop() override;
    void Pause() override;
    void Resume() override;
    std::string Mode() override;
    std::string TimeFormatWord() const override;
    Error StatusItem(ParameterReader& reader, std::string& reply) override;
    bool SetTimeFormat(const std::string& word) override;

    Error StartAt(long milliseconds);
    void Halt();
    long CurrentMilliseconds() const;
    long LengthMilliseconds() const;

    AudioOutput& m_output;
    std::unique_ptr<_Mix_Music, MusicDeleter> m_music;
    State m_state = State::Stopped;
    long m_stoppedAt = 0; // the position while stopped
};

} // namespace kestrune::mci
