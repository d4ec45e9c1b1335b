#pragma once

#include "host/music/cd_positions.h"
#include "host/music/mci_linux/audio_output_sdl.h"
#include "host/music/mci_linux/cd_disc_cdio.h"
#include "host/music/mci_linux/mci_device.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

// Plays a stretch of an audio disc: a reader thread reads the sectors ahead
// into a short queue, and the audio thread takes them from there as the
// output needs them. The position is the first sector not yet heard.
//
// A read from a real drive can take seconds on a bad disc, so the calling
// thread never waits for one: a stop or a new play only tells the reader
// that what it reads now is no longer wanted, and the player's end waits for
// the reader a short while (kReaderExitWait) before it leaves the reader to
// finish its read alone. Everything the reader uses is shared with it, so it
// outlives the player when need be.
namespace kestrune::mci {

inline constexpr std::chrono::milliseconds kReaderExitWait{250};

class CdPlayer final : public PcmSource {
public:
    using State = PlayState;

    // Reads `count` sectors from `first`; called on the reader thread.
    using SectorReader = std::function<bool(std::int32_t first, int count, std::uint8_t* out)>;

    explicit CdPlayer(SectorReader reader);
    ~CdPlayer() override;
    CdPlayer(const CdPlayer&) = delete;
    CdPlayer& operator=(const CdPlayer&) = delete;

    // Plays the audio of `toc` from `from` up to (not including) `to`,
    // passing over data tracks.
    void Play(const CdToc& toc, std::int32_t from, std::int32_t to);
    // Stops where it is; the position stays.
    void Stop();
    // Stops and puts the position at `sector`: the disc was changed.
    void Reset(std::int32_t sector);
    void Pause();
    void Resume();

    // Stopped once every sector up to the end was heard.
    State CurrentState();
    std::int32_t Position();

    void MixInto(std::uint8_t* stream, int length) override;

private:
    struct Shared;

    static void ReadAhead(std::shared_ptr<Shared> shared);

    std::shared_ptr<Shared> m_shared;
    std::thread m_reader; // started by the first play
};

} // namespace kestrune::mci
