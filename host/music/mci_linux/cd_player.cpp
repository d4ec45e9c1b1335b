#include "host/music/mci_linux/cd_player.h"

#include <algorithm>
#include <array>
#include <condition_variable>
#include <deque>
#include <limits>
#include <mutex>
#include <vector>

namespace kestrune::mci {

namespace {

// How far the reader runs ahead of what is heard: about 0.4 s, enough to
// ride over a slow read of a real drive.
constexpr std::size_t kQueuedSectors = 32;
// Sectors asked of the disc at once.
constexpr int kSectorsPerRead = 8;

std::int16_t SampleAt(const std::uint8_t* bytes) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes[0]) |
                                     static_cast<std::uint16_t>(bytes[1] << 8));
}

// Adds little-endian 16-bit samples into the stream, clipping at the limits.
void AddSamples(std::uint8_t* stream, const std::uint8_t* samples, int bytes) {
    for (int i = 0; i + 1 < bytes; i += 2) {
        const int sum = SampleAt(stream + i) + SampleAt(samples + i);
        const int clipped = std::clamp(sum, int{std::numeric_limits<std::int16_t>::min()},
                                       int{std::numeric_limits<std::int16_t>::max()});
        const auto bits = static_cast<std::uint16_t>(static_cast<std::int16_t>(clipped));
        stream[i] = static_cast<std::uint8_t>(bits & 0xFF);
        stream[i + 1] = static_cast<std::uint8_t>(bits >> 8);
    }
}

} // namespace

// Everything the reader thread uses. All but the reader under `mutex`.
struct CdPlayer::Shared {
    explicit Shared(SectorReader reader) : reader(std::move(reader)) {}

    struct Sector {
        std::int32_t number;
        std::array<std::uint8_t, kCdSectorBytes> samples;
    };

    // Ends the play, dropping what was read ahead, and puts the position at
    // `sector`.
    void Halt(std::int32_t sector) {
        ++generation;
        stoppedAt = sector;
        state = State::Stopped;
        queue.clear();
        frontOffset = 0;
        readDone = true;
    }

    std::int32_t Position() const {
        if (state == State::Stopped) {
            return stoppedAt;
        }
        return queue.empty() ? nextRead : queue.front().number;
    }

    const SectorReader reader;
    std::mutex mutex;
    std::condition_variable wake;       // the reader: work, or the end
    std::condition_variable readerGone; // the player's end: the reader left
    State state = State::Stopped;
    CdToc toc;
    std::int32_t end = 0;
    std::int32_t nextRead = 0;
    std::int32_t stoppedAt = 0;
    // Counts the plays and stops: a read begun before the latest one is
    // dropped when it returns.
    std::uint64_t generation = 0;
    bool readDone = true;
    bool quit = false;
    bool readerLeft = false;
    std::deque<Sector> queue;
    int frontOffset = 0; // bytes of the front sector already heard
};

CdPlayer::CdPlayer(SectorReader reader) : m_shared(std::make_shared<Shared>(std::move(reader))) {}

CdPlayer::~CdPlayer() {
    if (!m_reader.joinable()) {
        return;
    }
    std::unique_lock lock(m_shared->mutex);
    m_shared->quit = true;
    m_shared->wake.notify_all();
    const bool left = m_shared->readerGone.wait_for(lock, kReaderExitWait,
                                                    [this] { return m_shared->readerLeft; });
    lock.unlock();
    if (left) {
        m_reader.join();
    } else {
        // Still inside a read: it ends on its own, with its own share of
        // the state and of the disc.
        m_reader.detach();
    }
}

void CdPlayer::Play(const CdToc& toc, std::int32_t from, std::int32_t to) {
    {
        const std::lock_guard lock(m_shared->mutex);
        Shared& shared = *m_shared;
        ++shared.generation;
        shared.toc = toc;
        shared.queue.clear();
        shared.frontOffset = 0;
        shared.nextRead = from;
        shared.end = to;
        shared.readDone = false;
        shared.state = State::Playing;
    }
    if (!m_reader.joinable()) {
        m_reader = std::thread(&CdPlayer::ReadAhead, m_shared);
    }
    m_shared->wake.notify_all();
}

void CdPlayer::Stop() {
    const std::lock_guard lock(m_shared->mutex);
    m_shared->Halt(m_shared->Position());
}

void CdPlayer::Reset(std::int32_t sector) {
    const std::lock_guard lock(m_shared->mutex);
    m_shared->Halt(sector);
}

void CdPlayer::Pause() {
    const std::lock_guard lock(m_shared->mutex);
    if (m_shared->state == State::Playing) {
        m_shared->state = State::Paused;
    }
}

void CdPlayer::Resume() {
    const std::lock_guard lock(m_shared->mutex);
    if (m_shared->state == State::Paused) {
        m_shared->state = State::Playing;
    }
}

CdPlayer::State CdPlayer::CurrentState() {
    const std::lock_guard lock(m_shared->mutex);
    return m_shared->state;
}

std::int32_t CdPlayer::Position() {
    const std::lock_guard lock(m_shared->mutex);
    return m_shared->Position();
}

void CdPlayer::ReadAhead(std::shared_ptr<Shared> sharedState) {
    Shared& shared = *sharedState;
    std::vector<std::uint8_t> buffer;
    std::unique_lock lock(shared.mutex);
    while (true) {
        shared.wake.wait(lock, [&shared] {
            return shared.quit || (!shared.readDone && shared.queue.size() < kQueuedSectors);
        });
        if (shared.quit) {
            break;
        }
        const CdRun run = shared.toc.AudioRunFrom(shared.nextRead);
        if (run.start >= shared.end) {
            shared.nextRead = shared.end;
            shared.readDone = true;
            continue;
        }
        const int count = static_cast<int>(
            std::min({static_cast<std::int32_t>(kSectorsPerRead), run.end - run.start,
                      shared.end - run.start,
                      static_cast<std::int32_t>(kQueuedSectors - shared.queue.size())}));
        const std::uint64_t generation = shared.generation;
        buffer.resize(static_cast<std::size_t>(count) * kCdSectorBytes);
        lock.unlock();
        const bool ok = shared.reader(run.start, count, buffer.data());
        lock.lock();
        if (shared.quit) {
            break;
        }
        if (shared.generation != generation) {
            continue; // stopped or played elsewhere meanwhile
        }
        if (!ok) {
            // Sectors that cannot be read (a scratch, a failing drive) are
            // heard as silence and the play goes on past them, as a drive's
            // own player does. A disc taken out is noticed by the device,
            // which then stops the play.
            std::fill(buffer.begin(), buffer.end(), std::uint8_t{0});
        }
        for (int i = 0; i < count; ++i) {
            Shared::Sector& sector = shared.queue.emplace_back();
            sector.number = run.start + i;
            std::copy_n(buffer.begin() + static_cast<std::ptrdiff_t>(i) * kCdSectorBytes,
                        kCdSectorBytes, sector.samples.begin());
        }
        shared.nextRead = run.start + count;
    }
    shared.readerLeft = true;
    shared.readerGone.notify_all();
}

void CdPlayer::MixInto(std::uint8_t* stream, int length) {
    bool wakeReader = false;
    {
        const std::lock_guard lock(m_shared->mutex);
        Shared& shared = *m_shared;
        if (shared.state != State::Playing) {
            return;
        }
        int offset = 0;
        while (offset < length && !shared.queue.empty()) {
            Shared::Sector& front = shared.queue.front();
            const int bytes = std::min(length - offset, kCdSectorBytes - shared.frontOffset);
            AddSamples(stream + offset, front.samples.data() + shared.frontOffset, bytes);
            offset += bytes;
            shared.frontOffset += bytes;
            if (shared.frontOffset == kCdSectorBytes) {
                shared.queue.pop_front();
                shared.frontOffset = 0;
                wakeReader = true;
            }
        }
        if (shared.queue.empty() && shared.readDone) {
            shared.stoppedAt = shared.nextRead;
            shared.state = State::Stopped;
        }
    }
    if (wakeReader) {
        m_shared->wake.notify_one();
    }
}

} // namespace kestrune::mci
