#pragma once

#include "host/music/cd_positions.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

struct _CdIo;

// An audio disc in a drive, or a CUE/BIN disc image, read through libcdio.
// The player's thread reads sectors while the device answers queries, so
// every libcdio call is made under one lock.
namespace kestrune::mci {

inline constexpr int kCdSectorBytes = 2352;

class CdDisc {
public:
    // `source` empty: the default drive. A name ending in ".cue" is a CUE/BIN
    // image; any other name is a drive or another image kind libcdio knows.
    // Null when nothing could be opened.
    static std::unique_ptr<CdDisc> Open(const std::string& source);

    explicit CdDisc(_CdIo* cdio) : m_cdio(cdio) {}

    // The table of contents. A drive that had no disc is asked again, so a
    // disc inserted later is found; empty while there is none.
    const CdToc& Toc();

    // Reads `count` audio sectors from `first` into `samples`
    // (count * kCdSectorBytes bytes, little-endian). Any thread.
    bool ReadAudio(std::int32_t first, int count, std::uint8_t* samples);

private:
    struct CdioDeleter {
        void operator()(_CdIo* cdio) const;
    };

    std::unique_ptr<_CdIo, CdioDeleter> m_cdio;
    std::mutex m_mutex;
    CdToc m_toc;
};

} // namespace kestrune::mci
