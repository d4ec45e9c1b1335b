#pragma once

#include "host/music/mci_errors.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Positions on an audio disc and their text in the three time formats of the
// CD audio device. Positions are logical sector numbers (75 sectors a
// second); the MSF form counts the two-second lead-in as the system's CD
// audio device does, so the first track starts at 00:02:00.
namespace kestrune::mci {

inline constexpr std::int32_t kSectorsPerSecond = 75;
inline constexpr std::int32_t kLeadInSectors = 150;

enum class CdTimeFormat { Tmsf, Msf, Milliseconds };

struct CdTrack {
    int number = 0;
    std::int32_t start = 0; // first sector
    bool audio = true;

    bool operator==(const CdTrack&) const = default;
};

// The table of contents: the tracks in order and the sector after the last.
// A stretch of audio sectors [start, end).
struct CdRun {
    std::int32_t start = 0;
    std::int32_t end = 0;
};

struct CdToc {
    std::vector<CdTrack> tracks;
    std::int32_t leadout = 0;

    bool operator==(const CdToc&) const = default;

    bool Empty() const { return tracks.empty(); }
    // The index into `tracks` of the track that holds `sector` (the first
    // track for a sector before it, the last for one past the disc's end).
    std::size_t IndexAt(std::int32_t sector) const;
    // The track with this number, or null.
    const CdTrack* Find(long number) const;
    // The sector after the track at `index`.
    std::int32_t EndOf(std::size_t index) const;
    // The audio from `sector` (or from the next audio track when `sector`
    // lies before the disc's first track or in a data track) to the end of
    // its track; an empty run at the lead-out when no audio follows.
    CdRun AudioRunFrom(std::int32_t sector) const;
    // The first sector of the first audio track (the lead-out when none).
    std::int32_t FirstAudioSector() const;
};

// "tmsf", "msf", "milliseconds" or "ms", in any case.
bool ParseCdTimeFormat(std::string_view word, CdTimeFormat& format);

// A position as the device replies it: "tt:mm:ss:ff", "mm:ss:ff" or a
// number of milliseconds, two digits a field, no padding on the number.
std::string FormatCdPosition(const CdToc& toc, CdTimeFormat format, std::int32_t sector);

// A length (not a position): "mm:ss:ff" in both frame formats.
std::string FormatCdLength(CdTimeFormat format, std::int32_t sectors);

// Reads a position given in `format`. Fields may be left off from the right
// ("3" is the start of track 3). Fails with kBadInteger for text that is no
// position, kOutOfRange for a track that is not on the disc, a field out of
// its range or a position past the end of the disc.
Error ParseCdPosition(const CdToc& toc, CdTimeFormat format, std::string_view text,
                      std::int32_t& sector);

} // namespace kestrune::mci
