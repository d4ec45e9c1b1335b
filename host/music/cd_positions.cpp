#include "host/music/cd_positions.h"

#include "host/music/mci_command_parser.h"

#include <cstdio>

namespace kestrune::mci {

namespace {

constexpr std::int32_t kSecondsPerMinute = 60;
constexpr std::int32_t kMillisecondsPerSecond = 1000;
constexpr std::size_t kMaxFieldDigits = 9;

// Splits "a:b:c" into at most `maxFields` unsigned decimal fields.
bool ReadFields(std::string_view text, std::size_t maxFields, std::vector<std::int32_t>& fields) {
    fields.clear();
    while (true) {
        const std::size_t colon = text.find(':');
        const std::string_view field = text.substr(0, colon);
        if (field.empty() || field.size() > kMaxFieldDigits || fields.size() == maxFields) {
            return false;
        }
        std::int32_t value = 0;
        for (const char c : field) {
            if (c < '0' || c > '9') {
                return false;
            }
            value = value * 10 + (c - '0');
        }
        fields.push_back(value);
        if (colon == std::string_view::npos) {
            return true;
        }
        text.remove_prefix(colon + 1);
    }
}

std::string FormatMsf(std::int32_t sectors) {
    const std::int32_t seconds = sectors / kSectorsPerSecond;
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", seconds / kSecondsPerMinute,
                  seconds % kSecondsPerMinute, sectors % kSectorsPerSecond);
    return text;
}

std::int32_t SectorsOf(std::int32_t minutes, std::int32_t seconds, std::int32_t frames) {
    return (minutes * kSecondsPerMinute + seconds) * kSectorsPerSecond + frames;
}

bool FieldsInRange(std::int32_t minutes, std::int32_t seconds, std::int32_t frames) {
    return minutes <= 99 && seconds < kSecondsPerMinute && frames < kSectorsPerSecond;
}

} // namespace

std::size_t CdToc::IndexAt(std::int32_t sector) const {
    std::size_t index = 0;
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        if (tracks[i].start <= sector) {
            index = i;
        }
    }
    return index;
}

const CdTrack* CdToc::Find(long number) const {
    for (const CdTrack& track : tracks) {
        if (track.number == number) {
            return &track;
        }
    }
    return nullptr;
}

std::int32_t CdToc::EndOf(std::size_t index) const {
    return index + 1 < tracks.size() ? tracks[index + 1].start : leadout;
}

CdRun CdToc::AudioRunFrom(std::int32_t sector) const {
    for (std::size_t index = IndexAt(sector); index < tracks.size(); ++index) {
        const std::int32_t end = EndOf(index);
        if (tracks[index].audio && sector < end) {
            return {sector > tracks[index].start ? sector : tracks[index].start, end};
        }
    }
    return {leadout, leadout};
}

std::int32_t CdToc::FirstAudioSector() const {
    return Empty() ? leadout : AudioRunFrom(tracks.front().start).start;
}

bool ParseCdTimeFormat(std::string_view word, CdTimeFormat& format) {
    const std::string lower = ToLowerAscii(word);
    if (lower == "tmsf") {
        format = CdTimeFormat::Tmsf;
    } else if (lower == "msf") {
        format = CdTimeFormat::Msf;
    } else if (lower == "milliseconds" || lower == "ms") {
        format = CdTimeFormat::Milliseconds;
    } else {
        return false;
    }
    return true;
}

std::string FormatCdPosition(const CdToc& toc, CdTimeFormat format, std::int32_t sector) {
    switch (format) {
    case CdTimeFormat::Tmsf: {
        if (toc.Empty()) {
            return "00:00:00:00";
        }
        const CdTrack& track = toc.tracks[toc.IndexAt(sector)];
        const std::int32_t offset = sector > track.start ? sector - track.start : 0;
        char number[8];
        std::snprintf(number, sizeof number, "%02d:", track.number);
        return number + FormatMsf(offset);
    }
    case CdTimeFormat::Msf:
        return FormatMsf(sector + kLeadInSectors);
    case CdTimeFormat::Milliseconds:
        break;
    }
    const std::int64_t milliseconds = static_cast<std::int64_t>(sector + kLeadInSectors) *
                                      kMillisecondsPerSecond / kSectorsPerSecond;
    return std::to_string(milliseconds);
}

std::string FormatCdLength(CdTimeFormat format, std::int32_t sectors) {
    if (format == CdTimeFormat::Milliseconds) {
        return std::to_string(static_cast<std::int64_t>(sectors) * kMillisecondsPerSecond /
                              kSectorsPerSecond);
    }
    return FormatMsf(sectors);
}

Error ParseCdPosition(const CdToc& toc, CdTimeFormat format, std::string_view text,
                      std::int32_t& sector) {
    std::vector<std::int32_t> fields;
    std::int32_t result = 0;
    switch (format) {
    case CdTimeFormat::Tmsf: {
        if (!ReadFields(text, 4, fields)) {
            return kBadInteger;
        }
        fields.resize(4, 0);
        const CdTrack* const track = toc.Find(fields[0]);
        if (!track || !FieldsInRange(fields[1], fields[2], fields[3])) {
            return kOutOfRange;
        }
        result = track->start + SectorsOf(fields[1], fields[2], fields[3]);
        break;
    }
    case CdTimeFormat::Msf:
        if (!ReadFields(text, 3, fields)) {
            return kBadInteger;
        }
        fields.resize(3, 0);
        if (!FieldsInRange(fields[0], fields[1], fields[2])) {
            return kOutOfRange;
        }
        result = SectorsOf(fields[0], fields[1], fields[2]) - kLeadInSectors;
        break;
    case CdTimeFormat::Milliseconds:
        if (!ReadFields(text, 1, fields)) {
            return kBadInteger;
        }
        result = static_cast<std::int32_t>(static_cast<std::int64_t>(fields[0]) *
                                               kSectorsPerSecond / kMillisecondsPerSecond -
                                           kLeadInSectors);
        break;
    }
    if (toc.Empty() || result < toc.tracks.front().start || result > toc.leadout) {
        return kOutOfRange;
    }
    sector = result;
    return kOk;
}

} // namespace kestrune::mci
