#pragma once

#include "host/music/cd_positions.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

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
    // Null when nothing could be opened. The table of contents is read here.
    static std::shared_ptr<CdDisc> Open(const std::string& source);

    CdDisc(const std::string& source, _CdIo* cdio);

    // Looks whether the disc was taken out or another one put in, and reads
    // the table of contents again when so. A drive says when its medium
    // changed; an image has changed when one of its files was replaced,
    // changed or removed. Returns whether the table differs from the last
    // one (a disc that is gone has an empty table). The look never waits for
    // a drive's sector read in progress, which may take long on a bad disc:
    // it is then left to the next call.
    bool CheckMedia();

    // The table of contents as of the last look; empty while there is no
    // disc.
    const CdToc& Toc() const { return m_toc; }

    // Reads `count` audio sectors from `first` into `samples`
    // (count * kCdSectorBytes bytes, little-endian). Any thread.
    bool ReadAudio(std::int32_t first, int count, std::uint8_t* samples);

private:
    struct CdioDeleter {
        void operator()(_CdIo* cdio) const;
    };
    // What tells one version of an image file from another.
    struct FileStamp {
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        std::int64_t size = 0;
        std::int64_t modifiedNs = 0;
        std::int64_t changedNs = 0;
        bool operator==(const FileStamp&) const = default;
    };
    using ImageStamps = std::vector<std::optional<FileStamp>>;

    ImageStamps StampImage() const;
    void Reopen();
    CdToc ReadToc();

    const std::string m_source;
    std::unique_ptr<_CdIo, CdioDeleter> m_cdio; // null while an image is gone
    std::mutex m_mutex;
    // An image's files (the cue sheet and the data file), empty for a drive,
    // and their stamps when the image was last opened.
    std::vector<std::string> m_imageFiles;
    ImageStamps m_imageStamps;
    CdToc m_toc;
};

} // namespace kestrune::mci
