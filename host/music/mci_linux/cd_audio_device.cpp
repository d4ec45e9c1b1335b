#include "host/music/mci_linux/cd_audio_device.h"

namespace kestrune::mci {

namespace {

const char* FormatWord(CdTimeFormat format) {
    switch (format) {
    case CdTimeFormat::Tmsf:
        return "tmsf";
    case CdTimeFormat::Msf:
        return "msf";
    case CdTimeFormat::Milliseconds:
        break;
    }
    return "milliseconds";
}

} // namespace

Error CdAudioDevice::Open(AudioOutput& output, const std::string& source,
                          std::unique_ptr<MciDevice>& device) {
    std::shared_ptr<CdDisc> disc = CdDisc::Open(source);
    if (!disc) {
        return kCannotLoadDriver;
    }
    device = std::make_unique<CdAudioDevice>(output, std::move(disc));
    return kOk;
}

CdAudioDevice::CdAudioDevice(AudioOutput& output, std::shared_ptr<CdDisc> disc)
    : m_output(output), m_disc(std::move(disc)),
      m_player([source = m_disc](std::int32_t first, int count, std::uint8_t* out) {
          return source->ReadAudio(first, count, out);
      }) {}

CdAudioDevice::~CdAudioDevice() {
    if (m_holdsOutput) {
        // The audio thread lets go of the player before it stops.
        m_output.RemoveSource(&m_player);
        m_player.Stop();
        m_output.Release();
    }
}

void CdAudioDevice::Refresh() {
    if (m_disc->CheckMedia()) {
        const CdToc& toc = m_disc->Toc();
        m_player.Reset(toc.Empty() ? 0 : toc.tracks.front().start);
    }
}

Error CdAudioDevice::ReadTrack(ParameterReader& reader, std::size_t& index) {
    std::string word;
    if (!reader.TakeValue(word)) {
        return kMissingParameter;
    }
    long number = 0;
    if (!ReadUnsigned(word, number)) {
        // A negative number is a track number that no disc has.
        const bool negative =
            word.size() > 1 && word.front() == '-' && ReadUnsigned(word.substr(1), number);
        return negative ? kOutOfRange : kBadInteger;
    }
    const CdToc& toc = m_disc->Toc();
    const CdTrack* const track = toc.Find(number);
    if (!track) {
        return kOutOfRange;
    }
    index = static_cast<std::size_t>(track - toc.tracks.data());
    return kOk;
}

Error CdAudioDevice::Play(const std::vector<Word>& parameters) {
    const CdToc& toc = m_disc->Toc();
    if (toc.Empty()) {
        return kDeviceNotReady;
    }
    ParameterReader reader(parameters);
    bool hasFrom = false;
    bool hasTo = false;
    std::int32_t from = 0;
    std::int32_t to = toc.leadout;
    while (!reader.AtEnd()) {
        const bool isFrom = reader.Take({"from"});
        if (!isFrom && !reader.Take({"to"})) {
            return kUnrecognizedKeyword;
        }
        bool& seen = isFrom ? hasFrom : hasTo;
        if (seen) {
            return kDuplicateFlags;
        }
        std::string value;
        if (!reader.TakeValue(value)) {
            return kMissingParameter;
        }
        if (const Error error = ParseCdPosition(toc, m_format, value, isFrom ? from : to);
            error != kOk) {
            return error;
        }
        seen = true;
    }
    if (!hasFrom && !hasTo && m_player.CurrentState() == CdPlayer::State::Paused) {
        m_player.Resume();
        return kOk;
    }
    if (!hasFrom) {
        from = m_player.Position();
        // At the end of the disc a plain play starts the disc again: the watch
        // that keeps a disc playing then loops it, as a listener expects.
        if (toc.AudioRunFrom(from).start >= toc.leadout) {
            from = toc.FirstAudioSector();
        }
    }
    if (from >= to) {
        return kOutOfRange;
    }
    if (!m_holdsOutput) {
        if (!m_output.Acquire()) {
            return kNoAudioOutput;
        }
        m_holdsOutput = true;
        m_output.AddSource(&m_player);
    }
    m_player.Play(toc, from, to);
    return kOk;
}

void CdAudioDevice::Stop() {
    m_player.Stop();
}

void CdAudioDevice::Pause() {
    m_player.Pause();
}

void CdAudioDevice::Resume() {
    m_player.Resume();
}

std::string CdAudioDevice::Mode() {
    return m_disc->Toc().Empty() ? "not ready" : ModeWord(m_player.CurrentState());
}

std::string CdAudioDevice::TimeFormatWord() const {
    return FormatWord(m_format);
}

Error CdAudioDevice::StatusItem(ParameterReader& reader, std::string& reply) {
    const CdToc& toc = m_disc->Toc();
    if (reader.Take({"media", "present"}) || reader.Take({"ready"})) {
        reply = toc.Empty() ? "false" : "true";
    } else if (toc.Empty()) {
        return kDeviceNotReady;
    } else if (reader.Take({"current", "track"})) {
        reply = std::to_string(toc.tracks[toc.IndexAt(m_player.Position())].number);
    } else if (reader.Take({"number", "of", "tracks"})) {
        reply = std::to_string(toc.tracks.size());
    } else if (reader.Take({"position"})) {
        std::int32_t sector = m_player.Position();
        if (reader.Take({"track"})) {
            std::size_t index = 0;
            if (const Error error = ReadTrack(reader, index); error != kOk) {
                return error;
            }
            sector = toc.tracks[index].start;
        }
        reply = FormatCdPosition(toc, m_format, sector);
    } else if (reader.Take({"length"})) {
        std::int32_t sectors = toc.leadout - toc.tracks.front().start;
        if (reader.Take({"track"})) {
            std::size_t index = 0;
            if (const Error error = ReadTrack(reader, index); error != kOk) {
                return error;
            }
            sectors = toc.EndOf(index) - toc.tracks[index].start;
        }
        reply = FormatCdLength(m_format, sectors);
    } else {
        return kUnrecognizedKeyword;
    }
    return kOk;
}

bool CdAudioDevice::SetTimeFormat(const std::string& word) {
    return ParseCdTimeFormat(word, m_format);
}

} // namespace kestrune::mci
