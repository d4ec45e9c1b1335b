#include "renderer/shell/frame_clock.h"

#include <gtest/gtest.h>

#include <limits>

namespace kestrune {
namespace {

TEST(FrameClock, ElapsedTimeSurvivesTheTickCountWrap) {
    constexpr TickCount kMax = std::numeric_limits<TickCount>::max();
    // 256 ms before the wrap to 256 ms after it.
    EXPECT_EQ(ElapsedMilliseconds(kMax - 255, 256), 512);
    // Ordinary spans, an empty one, and the longest one measurable.
    EXPECT_EQ(ElapsedMilliseconds(1000, 3500), 2500);
    EXPECT_EQ(ElapsedMilliseconds(77, 77), 0);
    EXPECT_EQ(ElapsedMilliseconds(0, kMax), static_cast<std::int64_t>(kMax));
    // A reading one tick "before" the start is a full span less one, never negative.
    EXPECT_EQ(ElapsedMilliseconds(10, 9), static_cast<std::int64_t>(kMax));
}

TEST(FrameClock, TickCountAdvancesInMilliseconds) {
    const TickCount first = GetTickCount32();
    timespec pause{0, 30'000'000};
    nanosleep(&pause, nullptr);
    const std::int64_t elapsed = ElapsedMilliseconds(first, GetTickCount32());
    EXPECT_GE(elapsed, 29);
    EXPECT_LT(elapsed, 5000);
}

} // namespace
} // namespace kestrune
