#include "host/music/mci_linux/mpeg_video_device_sdl.h"

#include "host/music/mci_linux/sound_file_sdl.h"

#include <SDL_mixer.h>

#include <cmath>

namespace kestrune::mci {

namespace {

constexpr double kMillisecondsPerSecond = 1000.0;

// The device whose file holds SDL_mixer's one music stream, if any.
MpegVideoDevice* g_musicOwner = nullptr;

// The decoder that a file's name suggests, as SDL_mixer's own loader by name
// guesses it: MPEG audio is told from its content less surely than the other
// kinds, whose content names them.
Mix_MusicType TypeFromName(const std::string& file) {
    const std::size_t dot = file.rfind('.');
    if (dot == std::string::npos) {
        return MUS_NONE;
    }
    const std::string extension = ToLowerAscii(file.substr(dot + 1));
    const bool mpeg =
        extension == "mp3" || extension == "mpg" || extension == "mpeg" || extension == "mad";
    return mpeg ? MUS_MP3 : MUS_NONE;
}

} // namespace

void MpegVideoDevice::MusicDeleter::operator()(_Mix_Music* music) const {
    Mix_FreeMusic(music);
}

Error MpegVideoDevice::Open(AudioOutput& output, const std::string& file,
                            std::unique_ptr<MciDevice>& device) {
    SoundFile source = OpenSoundFile(file);
    if (!source) {
        return kFileNotFound;
    }
    // SDL_mixer decodes for the open device only, so the device comes first.
    if (!output.Acquire()) {
        return kNoAudioOutput;
    }
    // The music takes the file over, whether it loads or not.
    Mix_Music* const music = Mix_LoadMUSType_RW(source.release(), TypeFromName(file), 1);
    if (!music) {
        output.Release();
        return kInvalidFile;
    }
    device = std::make_unique<MpegVideoDevice>(output, music);
    return kOk;
}

MpegVideoDevice::MpegVideoDevice(AudioOutput& output, _Mix_Music* music)
    : m_output(output), m_music(music) {}

MpegVideoDevice::~MpegVideoDevice() {
    Halt();
    m_music.reset();
    m_output.Release();
}

void MpegVideoDevice::Halt() {
    if (g_musicOwner == this) {
        Mix_HaltMusic();
        g_musicOwner = nullptr;
    }
}

void MpegVideoDevice::Refresh() {
    if (m_state == State::Stopped) {
        return;
    }
    if (g_musicOwner != this) {
        // Another file took the music stream.
        m_state = State::Stopped;
        m_stoppedAt = 0;
    } else if (Mix_PlayingMusic() == 0) {
        // The file ended by itself.
        m_state = State::Stopped;
        m_stoppedAt = LengthMilliseconds();
        g_musicOwner = nullptr;
    }
}

long MpegVideoDevice::CurrentMilliseconds() const {
    if (m_state == State::Stopped) {
        return m_stoppedAt;
    }
    const double seconds = Mix_GetMusicPosition(m_music.get());
    return seconds < 0 ? 0 : std::lround(seconds * kMillisecondsPerSecond);
}

long MpegVideoDevice::LengthMilliseconds() const {
    const double seconds = Mix_MusicDuration(m_music.get());
    return seconds < 0 ? 0 : std::lround(seconds * kMillisecondsPerSecond);
}

Error MpegVideoDevice::StartAt(long milliseconds) {
    const int result = milliseconds > 0 ? Mix_FadeInMusicPos(m_music.get(), 0, 0,
                                                             milliseconds / kMillisecondsPerSecond)
                                        : Mix_PlayMusic(m_music.get(), 0);
    if (result != 0) {
        m_state = State::Stopped;
        return kInvalidFile;
    }
    // The stream changed hands: the previous owner learns it on its next query.
    g_musicOwner = this;
    m_state = State::Playing;
    return kOk;
}

Error MpegVideoDevice::Play(const std::vector<Word>& parameters) {
    ParameterReader reader(parameters);
    bool hasFrom = false;
    long from = 0;
    while (!reader.AtEnd()) {
        if (!reader.Take({"from"})) {
            return kUnrecognizedKeyword;
        }
        if (hasFrom) {
            return kDuplicateFlags;
        }
        std::string value;
        if (!reader.TakeValue(value)) {
            return kMissingParameter;
        }
        if (!ReadUnsigned(value, from)) {
            return kBadInteger;
        }
        hasFrom = true;
    }
    const long length = LengthMilliseconds();
    if (hasFrom) {
        if (length > 0 && from > length) {
            return kOutOfRange;
        }
        return StartAt(from);
    }
    if (m_state == State::Paused) {
        Mix_ResumeMusic();
        m_state = State::Playing;
        return kOk;
    }
    if (m_state == State::Playing) {
        return kOk;
    }
    // A file stopped at its end starts again from the beginning, as a player
    // does when play is pressed on a finished piece.
    return StartAt(length > 0 && m_stoppedAt >= length ? 0 : m_stoppedAt);
}

void MpegVideoDevice::Stop() {
    if (m_state != State::Stopped) {
        m_stoppedAt = CurrentMilliseconds();
        Halt();
        m_state = State::Stopped;
    }
}

void MpegVideoDevice::Pause() {
    if (m_state == State::Playing) {
        Mix_PauseMusic();
        m_state = State::Paused;
    }
}

void MpegVideoDevice::Resume() {
    if (m_state == State::Paused) {
        Mix_ResumeMusic();
        m_state = State::Playing;
    }
}

std::string MpegVideoDevice::Mode() {
    return ModeWord(m_state);
}

std::string MpegVideoDevice::TimeFormatWord() const {
    return "milliseconds";
}

Error MpegVideoDevice::StatusItem(ParameterReader& reader, std::string& reply) {
    if (reader.Take({"position"})) {
        reply = std::to_string(CurrentMilliseconds());
    } else if (reader.Take({"length"})) {
        reply = std::to_string(LengthMilliseconds());
    } else {
        return kUnrecognizedKeyword;
    }
    return kOk;
}

bool MpegVideoDevice::SetTimeFormat(const std::string& word) {
    const std::string lower = ToLowerAscii(word);
    return lower == "milliseconds" || lower == "ms";
}

} // namespace kestrune::mci
