#pragma once

#include "host/music/cd_positions.h"
#include "host/music/mci_linux/audio_output_sdl.h"
#include "host/music/mci_linux/cd_disc_cdio.h"

#include <array>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

// Plays a stretch of an audio disc: a reader thread reads the sectors ahead
// into a short queue, and the audio thread takes them from there as the
// output needs them. The position is the first sector not yet heard.
namespace kestrune::mci {

class CdPlayer final : public PcmSource {
public:
    enum class State { Stopped, Playing, Paused };

    // Reads `count` sectors from `first`; called on the reader thread.
    using SectorReader = std::function<bool(std::int32_t first, int count, std::uint8_t* out)>;

    explicit CdPlayer(SectorReader reader) : m_reader(std::move(reader)) {}
    ~CdPlayer() override;
    CdPlayer(const CdPlayer&) = delete;
    CdPlayer& operator=(const CdPlayer&) = delete;

    // Plays the audio of `toc` from `from` up to (not including) `to`,
    // passing over data tracks.
    void Play(const CdToc& toc, std::int32_t from, std::int32_t to);
    // Stops where it is; the position stays.
    void Stop();
    void Pause();
    void Resume();

    // Stopped once every sector up to the end was heard (or could not be read).
    State CurrentState();
    std::int32_t Position();

    void MixInto(std::uint8_t* stream, int length) override;

private:
    struct Sector {
        std::int32_t number;
        std::array<std::uint8_t, kCdSectorBytes> samples;
    };

    void ReadAhead();
    void StopReader();
    std::int32_t PositionLocked() const;

    SectorReader m_reader;
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    // All below under m_mutex.
    State m_state = State::Stopped;
    CdToc m_toc;
    std::int32_t m_end = 0;
    std::int32_t m_next_read = 0;
    std::int32_t m_stopped_at = 0;
    bool m_read_done = true;
    bool m_quit = false;
    std::deque<Sector> m_queue;
    int m_front_offset = 0; // bytes of the front sector already heard
};

} // namespace kestrune::mci
