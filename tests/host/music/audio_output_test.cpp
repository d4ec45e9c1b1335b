// The audio output that every music device shares: once it could not be
// opened, it is not tried again (SDL's audio subsystem started anew on the
// caller's thread) before its retry time has passed.

#include "host/music/mci_linux/audio_output_sdl.h"
#include "tests/host/music/music_fixtures.h"
#include "tests/support/child_process.h"

#include <gtest/gtest.h>

namespace kestrune::mci {
namespace {

using namespace std::chrono_literals;

TEST(AudioOutputTest, AFailedOpenIsTriedAgainOnlyAfterTheRetryTime) {
    AudioOutput patient(1h);
    AudioOutput eager(50ms);
    test::UseNoAudio();
    EXPECT_FALSE(patient.Acquire());
    EXPECT_FALSE(eager.Acquire());

    test::UseDummyAudio();
    EXPECT_FALSE(patient.Acquire()) << "the failure is remembered";
    ASSERT_TRUE(test::WaitUntil([&eager] { return eager.Acquire(); }, 30s));
    eager.Release();
    EXPECT_FALSE(patient.Acquire());
}

} // namespace
} // namespace kestrune::mci
