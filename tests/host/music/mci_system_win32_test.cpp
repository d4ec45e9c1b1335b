// The music module on the system's own media control interface (under Wine
// in the test command: MPEGVideo through GStreamer into a silent sound card,
// and no CD drive at all). The clip is made by scripts/test-windows.sh and
// named by KESTRUNE_TEST_MP3: an MP3 of about one second.

#include "host/core/Kestrune_B.h"
#include "host/music/Kestrune_BGM.h"
#include "host/music/mci_errors.h"
#include "host/music/mci_platform.h"
#include "tests/support/child_process.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace kestrune {
namespace {

using namespace std::chrono_literals;

std::filesystem::path PathOf(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

class MciSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* clip = std::getenv("KESTRUNE_TEST_MP3");
        if (!clip || !*clip) {
            GTEST_SKIP()
                << "KESTRUNE_TEST_MP3 names no MP3 clip (scripts/test-windows.sh makes one)";
        }
        BgmKind = 2;
        BgmRepeat = 0;
        BgmFile = clip;
    }
    void TearDown() override {
        Mp3Close();
        BgmFile.clear();
    }
};

TEST_F(MciSystemTest, AnMp3PlaysIsReportedRestartsAfterItsEndAndCloses) {
    Mp3Start();
    ASSERT_TRUE(test::WaitUntil([] { return Mp3IsPlaying(); }, 10s))
        << QueryMci("status MP3Play mode");
    EXPECT_EQ(QueryMci("status MP3Play mode"), "playing");

    // The clip ends by itself; the repeat then starts it from the beginning.
    ASSERT_TRUE(test::WaitUntil([] { return QueryMci("status MP3Play mode") != "playing"; }, 15s));
    Mp3Repeat();
    EXPECT_TRUE(test::WaitUntil([] { return Mp3IsPlaying(); }, 10s))
        << QueryMci("status MP3Play mode");

    Mp3Close();
    // The alias went with the device: the system answers with an error of
    // its own (under Wine it takes the name for a file of unknown type).
    std::string reply;
    EXPECT_NE(SendMci("status MP3Play mode", reply), 0);
    EXPECT_FALSE(reply.empty());
    EXPECT_NE(SendMci("play MP3Play", reply), 0);
}

TEST_F(MciSystemTest, AFileThatCannotBeOpenedIsNeverPlayed) {
    BgmFile = std::string(std::getenv("KESTRUNE_TEST_MP3")) + ".missing.mp3";
    Mp3Start();
    // Nothing was opened under the alias, so there is nothing to play or ask.
    EXPECT_EQ(QueryMci("status MP3Play mode").rfind("Error:", 0), 0u);
    std::string reply;
    EXPECT_NE(SendMci("play MP3Play from 0", reply), 0);
}

// A music file named in Japanese plays whatever the system's code page is:
// the test runs under Wine's default Western locale (code page 1252), which
// cannot name these files through the ANSI calls.
TEST_F(MciSystemTest, MusicFilesNamedInJapanesePlayOnAWesternSystem) {
    const char* wave = std::getenv("KESTRUNE_TEST_WAV");
    ASSERT_TRUE(wave && *wave)
        << "KESTRUNE_TEST_WAV names no clip; scripts/test-windows.sh makes one";
    const test::TempFolder scratch("kestrune-music");
    ASSERT_TRUE(scratch.Ok());
    const std::filesystem::path folder = PathOf(scratch.Path());
    const std::filesystem::path mp3 = folder / L"曲ﾃｽﾄ.mp3";
    const std::filesystem::path wav = folder / L"曲ﾃｽﾄ.wav";
    std::filesystem::copy_file(PathOf(BgmFile), mp3);
    std::filesystem::copy_file(PathOf(wave), wav);

    BgmFile = Utf8Of(mp3);
    Mp3Start();
    EXPECT_TRUE(test::WaitUntil([] { return Mp3IsPlaying(); }, 10s))
        << QueryMci("status MP3Play mode");
    Mp3Close();

    // Played to its end before the call returns; without a file of that name
    // the call fails (no default sound stands in).
    MciPlatform& platform = SystemMciPlatform();
    EXPECT_TRUE(platform.PlayWaveSound(Utf8Of(wav).c_str(), kSoundSync | kSoundNoDefault));
    EXPECT_FALSE(
        platform.PlayWaveSound(Utf8Of(folder / L"曲.wav").c_str(), kSoundSync | kSoundNoDefault));
    // A WAV cut short (its headers claim twice what it holds) plays as far
    // as it goes, and no further.
    const std::filesystem::path half = folder / L"曲ﾃｽﾄ半分.wav";
    const std::string whole = test::ReadBytes(wav);
    std::ofstream(half, std::ios::binary).write(whole.data(), std::streamsize(whole.size() / 2));
    EXPECT_TRUE(platform.PlayWaveSound(Utf8Of(half).c_str(), kSoundSync | kSoundNoDefault));
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

TEST_F(MciSystemTest, WithoutACdDriveTheWatchEndsAtOnce) {
    std::string reply;
    // The system's own code for a device it cannot load, and its own text.
    EXPECT_EQ(SendMci("open cdaudio", reply), static_cast<std::int32_t>(mci::kCannotLoadDriver));
    EXPECT_FALSE(reply.empty());
    EXPECT_EQ(QueryMci("status cdaudio current track").rfind("Error:", 0), 0u);

    BgmKind = 1;
    BgmRepeat = 3;
    CdOpen();
    CdWatchOk = true;
    CdWatch();
    EXPECT_FALSE(CdWatchOk);
    CdClose();
}

} // namespace
} // namespace kestrune
