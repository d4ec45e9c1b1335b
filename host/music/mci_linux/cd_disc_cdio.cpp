#include "host/music/mci_linux/cd_disc_cdio.h"

#include <cdio/cdio.h>
#include <cdio/disc.h>
#include <cdio/logging.h>
#include <cdio/read.h>
#include <cdio/track.h>

#include <cstdio>

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

} // namespace

std::unique_ptr<CdDisc> CdDisc::Open(const std::string& source) {
    cdio_log_set_handler(&QuietLog);
    CdIo_t* cdio = nullptr;
    if (source.empty()) {
        cdio = cdio_open(nullptr, DRIVER_DEVICE);
    } else if (EndsWithCue(source)) {
        cdio = cdio_open(source.c_str(), DRIVER_BINCUE);
    } else {
        cdio = cdio_open(source.c_str(), DRIVER_UNKNOWN);
    }
    if (!cdio) {
        return nullptr;
    }
    return std::make_unique<CdDisc>(cdio);
}

void CdDisc::CdioDeleter::operator()(_CdIo* cdio) const {
    cdio_destroy(cdio);
}

const CdToc& CdDisc::Toc() {
    if (!m_toc.Empty()) {
        return m_toc;
    }
    const std::lock_guard lock(m_mutex);
    CdIo_t* const cdio = m_cdio.get();
    const track_t first = cdio_get_first_track_num(cdio);
    const track_t count = cdio_get_num_tracks(cdio);
    if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK || count == 0) {
        return m_toc;
    }
    CdToc toc;
    for (track_t number = first; number < first + count; ++number) {
        const lsn_t start = cdio_get_track_lsn(cdio, number);
        if (start == CDIO_INVALID_LSN) {
            return m_toc;
        }
        toc.tracks.push_back(
            {number, start, cdio_get_track_format(cdio, number) == TRACK_FORMAT_AUDIO});
    }
    toc.leadout = cdio_get_track_lsn(cdio, CDIO_CDROM_LEADOUT_TRACK);
    if (toc.leadout == CDIO_INVALID_LSN || toc.leadout < toc.tracks.back().start) {
        return m_toc;
    }
    m_toc = std::move(toc);
    return m_toc;
}

bool CdDisc::ReadAudio(std::int32_t first, int count, std::uint8_t* samples) {
    const std::lock_guard lock(m_mutex);
    return cdio_read_audio_sectors(m_cdio.get(), samples, first, static_cast<uint32_t>(count)) ==
           DRIVER_OP_SUCCESS;
}

} // namespace kestrune::mci
