#include "host/music/mci_linux/cd_disc_cdio.h"

#include <cdio/cdio.h>
#include <cdio/disc.h>
#include <cdio/logging.h>
#include <cdio/read.h>
#include <cdio/track.h>

#include <cstdio>
#include <string_view>

#include <sys/stat.h>

namespace kestrune::mci {

namespace {

bool EndsWithCue(const std::string& name) {
    if (name.size() < 4) {
        return false;
    }
    std::string suffix = name.substr(name.size() - 4);
    for (char& c : suffix) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return suffix == ".cue";
}

// libcdio reports a missing drive or a broken image on standard error; the
// host shows no music failure to anyone, so only its errors of its own
// making (assertions) pass.
void QuietLog(cdio_log_level_t level, const char* message) {
    if (level >= CDIO_LOG_ASSERT) {
        std::fprintf(stderr, "libcdio: %s\n", message);
    }
}

CdIo_t* OpenCdio(const std::string& source) {
    if (source.empty()) {
        return cdio_open(nullptr, DRIVER_DEVICE);
    }
    if (EndsWithCue(source)) {
        return cdio_open(source.c_str(), DRIVER_BINCUE);
    }
    return cdio_open(source.c_str(), DRIVER_UNKNOWN);
}

std::int64_t Nanoseconds(const timespec& time) {
    constexpr std::int64_t kNanosecondsPerSecond = 1'000'000'000;
    return static_cast<std::int64_t>(time.tv_sec) * kNanosecondsPerSecond + time.tv_nsec;
}

} // namespace

std::shared_ptr<CdDisc> CdDisc::Open(const std::string& source) {
    cdio_log_set_handler(&QuietLog);
    CdIo_t* const cdio = OpenCdio(source);
    if (!cdio) {
        return nullptr;
    }
    return std::make_shared<CdDisc>(source, cdio);
}

CdDisc::CdDisc(const std::string& source, _CdIo* cdio) : m_source(source), m_cdio(cdio) {
    // libcdio names the files it reads an image from: a CUE/BIN image's cue
    // sheet and the data file beside it, or the one file of other kinds.
    const char* const mode = cdio_get_arg(cdio, "access-mode");
    if (mode && std::string_view(mode) == "image") {
        for (const char* const key : {"cue", "source"}) {
            const char* const file = cdio_get_arg(cdio, key);
            if (file && *file) {
                m_imageFiles.emplace_back(file);
            }
        }
        m_imageStamps = StampImage();
    }
    m_toc = ReadToc();
}

void CdDisc::CdioDeleter::operator()(_CdIo* cdio) const {
    cdio_destroy(cdio);
}

CdDisc::ImageStamps CdDisc::StampImage() const {
    ImageStamps stamps;
    for (const std::string& file : m_imageFiles) {
        struct stat info {};
        if (stat(file.c_str(), &info) != 0) {
            stamps.emplace_back();
            continue;
        }
        stamps.push_back(FileStamp{static_cast<std::uint64_t>(info.st_dev),
                                   static_cast<std::uint64_t>(info.st_ino),
                                   static_cast<std::int64_t>(info.st_size),
                                   Nanoseconds(info.st_mtim), Nanoseconds(info.st_ctim)});
    }
    return stamps;
}

void CdDisc::Reopen() {
    // Stamped before the files are read, so that a change made meanwhile is
    // seen at the next look.
    if (!m_imageFiles.empty()) {
        m_imageStamps = StampImage();
    }
    // libcdio keeps a table of contents once read, and an image's data file
    // open even when it was replaced: only a new handle sees a new disc.
    m_cdio.reset();
    m_cdio.reset(OpenCdio(m_source));
}

bool CdDisc::CheckMedia() {
    std::unique_lock lock(m_mutex, std::defer_lock);
    if (!m_imageFiles.empty()) {
        // An image tells by its files. Its reads are file reads, never long,
        // so the look waits for one in progress before it opens the image
        // anew.
        if (StampImage() == m_imageStamps) {
            return false;
        }
        lock.lock();
        Reopen();
    } else {
        // A drive is asked through its handle, and a read in progress may
        // take seconds on a bad disc: the look is then left to the next call.
        if (!lock.try_lock()) {
            return false;
        }
        if (!m_cdio || cdio_get_media_changed(m_cdio.get()) == 1) {
            Reopen();
        } else if (!m_toc.Empty()) {
            // The same disc. A drive without one is asked again at every
            // look, so that a disc put in later is found even where the
            // drive does not report the change.
            return false;
        }
    }
    CdToc toc = ReadToc();
    if (toc == m_toc) {
        return false;
    }
    m_toc = std::move(toc);
    return true;
}

CdToc CdDisc::ReadToc() {
    CdIo_t* const cdio = m_cdio.get();
    if (!cdio) {
        return {};
    }
    const track_t first = cdio_get_first_track_num(cdio);
    const track_t count = cdio_get_num_tracks(cdio);
    if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK || count == 0) {
        return {};
    }
    CdToc toc;
    for (track_t number = first; number < first + count; ++number) {
        const lsn_t start = cdio_get_track_lsn(cdio, number);
        if (start == CDIO_INVALID_LSN) {
            return {};
        }
        toc.tracks.push_back(
            {number, start, cdio_get_track_format(cdio, number) == TRACK_FORMAT_AUDIO});
    }
    toc.leadout = cdio_get_track_lsn(cdio, CDIO_CDROM_LEADOUT_TRACK);
    if (toc.leadout == CDIO_INVALID_LSN || toc.leadout < toc.tracks.back().start) {
        return {};
    }
    return toc;
}

bool CdDisc::ReadAudio(std::int32_t first, int count, std::uint8_t* samples) {
    const std::lock_guard lock(m_mutex);
    if (!m_cdio) {
        return false;
    }
    return cdio_read_audio_sectors(m_cdio.get(), samples, first, static_cast<uint32_t>(count)) ==
           DRIVER_OP_SUCCESS;
}

} // namespace kestrune::mci
