// The CD player on its own, fed by sector readers of the test's making and
// mixed by the test as the audio thread would: a read that hangs holds up
// neither a stop, nor a new play, nor the player's end; sectors that cannot
// be read are heard as silence and the play goes on.

#include "host/music/mci_linux/cd_player.h"
#include "tests/support/child_process.h"

#include <gtest/gtest.h>

#include <array>
#include <condition_variable>
#include <mutex>

namespace kestrune::mci {
namespace {

using namespace std::chrono_literals;

constexpr std::uint8_t kSampleByte = 0x11;
constexpr auto kDeadline = 30s;

CdToc OneTrack(std::int32_t sectors) {
    CdToc toc;
    toc.tracks.push_back({1, 0, true});
    toc.leadout = sectors;
    return toc;
}

// Holds every read until the test opens it. Should the player wait for a
// read, the gate gives way after the deadline, so the test fails instead of
// hanging.
class Gate {
public:
    bool Pass() {
        std::unique_lock lock(m_mutex);
        ++m_entered;
        m_changed.notify_all();
        if (!m_changed.wait_for(lock, kDeadline, [this] { return m_open; })) {
            m_gaveWay = true;
        }
        return true;
    }
    void Open() {
        const std::lock_guard lock(m_mutex);
        m_open = true;
        m_changed.notify_all();
    }
    int Entered() {
        const std::lock_guard lock(m_mutex);
        return m_entered;
    }
    bool GaveWay() {
        const std::lock_guard lock(m_mutex);
        return m_gaveWay;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_entered = 0;
    bool m_open = false;
    bool m_gaveWay = false;
};

TEST(CdPlayerTest, AHangingReadHoldsUpNeitherStopNorPlayNorTheEnd) {
    const auto gate = std::make_shared<Gate>();
    auto player = std::make_unique<CdPlayer>(
        [gate](std::int32_t, int, std::uint8_t*) { return gate->Pass(); });
    const CdToc toc = OneTrack(750);
    player->Play(toc, 0, 750);
    ASSERT_TRUE(test::WaitUntil([&gate] { return gate->Entered() == 1; }, kDeadline));

    player->Stop();
    EXPECT_EQ(player->CurrentState(), PlayState::Stopped);
    player->Play(toc, 100, 750);
    EXPECT_EQ(player->CurrentState(), PlayState::Playing);
    EXPECT_EQ(player->Position(), 100);
    player.reset();
    EXPECT_FALSE(gate->GaveWay());

    // The read ends on its own later and lets go of what it shared.
    gate->Open();
    EXPECT_TRUE(test::WaitUntil([&gate] { return gate.use_count() == 1; }, kDeadline));
}

TEST(CdPlayerTest, SectorsThatCannotBeReadAreHeardAsSilence) {
    constexpr std::int32_t kBadFrom = 8;
    constexpr std::int32_t kBadTo = 16;
    CdPlayer player([](std::int32_t first, int count, std::uint8_t* out) {
        std::fill_n(out, count * kCdSectorBytes, kSampleByte);
        return first + count <= kBadFrom || first >= kBadTo;
    });
    constexpr std::int32_t kSectors = 32;
    player.Play(OneTrack(kSectors), 0, kSectors);

    // One sector a pass: what each sector brought to the output.
    std::array<int, kSectors> heard{};
    heard.fill(-1);
    ASSERT_TRUE(test::WaitUntil(
        [&] {
            const std::int32_t sector = player.Position();
            std::array<std::uint8_t, kCdSectorBytes> stream{};
            player.MixInto(stream.data(), kCdSectorBytes);
            if (player.Position() == sector + 1) {
                heard[static_cast<std::size_t>(sector)] = stream[0];
            }
            return player.CurrentState() == PlayState::Stopped;
        },
        kDeadline, 1ms));
    for (std::int32_t sector = 0; sector < kSectors; ++sector) {
        const bool bad = sector >= kBadFrom && sector < kBadTo;
        EXPECT_EQ(heard[static_cast<std::size_t>(sector)], bad ? 0 : kSampleByte) << sector;
    }
    EXPECT_EQ(player.Position(), kSectors);
}

} // namespace
} // namespace kestrune::mci
