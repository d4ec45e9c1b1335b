#include "host/music/mci_linux/cd_player.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace kestrune::mci {

namespace {

// How far the reader runs ahead of what is heard: about 0.4 s, enough to
// ride over a slow read of a real drive without keeping a stop waiting.
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

CdPlayer::~CdPlayer() {
    StopReader();
}

void CdPlayer::StopReader() {
    {
        const std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable()) {
        m_thread.join();
    }
    const std::lock_guard lock(m_mutex);
    m_quit = false;
}

void CdPlayer::Play(const CdToc& toc, std::int32_t from, std::int32_t to) {
    StopReader();
    {
        const std::lock_guard lock(m_mutex);
        m_toc = toc;
        m_queue.clear();
        m_front_offset = 0;
        m_next_read = from;
        m_end = to;
        m_read_done = false;
        m_state = State::Playing;
    }
    m_thread = std::thread(&CdPlayer::ReadAhead, this);
}

void CdPlayer::Stop() {
    StopReader();
    const std::lock_guard lock(m_mutex);
    if (m_state != State::Stopped) {
        m_stopped_at = PositionLocked();
        m_state = State::Stopped;
    }
    m_queue.clear();
    m_front_offset = 0;
    m_read_done = true;
}

void CdPlayer::Pause() {
    const std::lock_guard lock(m_mutex);
    if (m_state == State::Playing) {
        m_state = State::Paused;
    }
}

void CdPlayer::Resume() {
    const std::lock_guard lock(m_mutex);
    if (m_state == State::Paused) {
        m_state = State::Playing;
    }
}

CdPlayer::State CdPlayer::CurrentState() {
    const std::lock_guard lock(m_mutex);
    return m_state;
}

std::int32_t CdPlayer::Position() {
    const std::lock_guard lock(m_mutex);
    return PositionLocked();
}

std::int32_t CdPlayer::PositionLocked() const {
    if (m_state == State::Stopped) {
        return m_stopped_at;
    }
    return m_queue.empty() ? m_next_read : m_queue.front().number;
}

void CdPlayer::ReadAhead() {
    std::vector<std::uint8_t> buffer;
    std::unique_lock lock(m_mutex);
    while (true) {
        m_wake.wait(lock,
                    [this] { return m_quit || (!m_read_done && m_queue.size() < kQueuedSectors); });
        if (m_quit) {
            return;
        }
        const CdRun run = m_toc.AudioRunFrom(m_next_read);
        if (run.start >= m_end) {
            m_next_read = m_end;
            m_read_done = true;
            continue;
        }
        const int count = static_cast<int>(std::min(
            {static_cast<std::int32_t>(kSectorsPerRead), run.end - run.start, m_end - run.start,
             static_cast<std::int32_t>(kQueuedSectors - m_queue.size())}));
        buffer.resize(static_cast<std::size_t>(count) * kCdSectorBytes);
        lock.unlock();
        const bool ok = m_reader(run.start, count, buffer.data());
        lock.lock();
        if (m_quit) {
            return;
        }
        if (!ok) {
            // A disc that cannot be read (taken out, scratched) ends the play
            // where the reading stopped.
            m_next_read = run.start;
            m_end = run.start;
            m_read_done = true;
            continue;
        }
        for (int i = 0; i < count; ++i) {
            Sector& sector = m_queue.emplace_back();
            sector.number = run.start + i;
            std::copy_n(buffer.begin() + static_cast<std::ptrdiff_t>(i) * kCdSectorBytes,
                        kCdSectorBytes, sector.samples.begin());
        }
        m_next_read = run.start + count;
    }
}

void CdPlayer::MixInto(std::uint8_t* stream, int length) {
    bool wake_reader = false;
    {
        const std::lock_guard lock(m_mutex);
        if (m_state != State::Playing) {
            return;
        }
        int offset = 0;
        while (offset < length && !m_queue.empty()) {
            Sector& front = m_queue.front();
            const int bytes = std::min(length - offset, kCdSectorBytes - m_front_offset);
            AddSamples(stream + offset, front.samples.data() + m_front_offset, bytes);
            offset += bytes;
            m_front_offset += bytes;
            if (m_front_offset == kCdSectorBytes) {
                m_queue.pop_front();
                m_front_offset = 0;
                wake_reader = true;
            }
        }
        if (m_queue.empty() && m_read_done) {
            m_stopped_at = m_next_read;
            m_state = State::Stopped;
        }
    }
    if (wake_reader) {
        m_wake.notify_one();
    }
}

} // namespace kestrune::mci
