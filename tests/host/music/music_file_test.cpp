// The music file on the Linux device layer, in real time through SDL's disk
// audio driver: an MP3 played, reported, restarted after its end and after a
// pause; a WAV looping until stopped; a machine without audio output; and
// paths that are no regular file. The tests wait for what they look at, so a
// busy machine that plays late changes nothing.

#include "host/core/Kestrune_B.h"
#include "host/music/Kestrune_BGM.h"
#include "host/music/mci_platform.h"
#include "tests/host/music/music_fixtures.h"
#include "tests/support/child_process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include <sys/stat.h>

namespace kestrune::test {
namespace {

using namespace std::chrono_literals;

constexpr int kToneAmplitude = 8000;
constexpr int kWindowMs = 50;
// Long enough for any wait on a loaded machine; the clips last a second or two.
constexpr auto kDeadline = 30s;
// How far the reported position of a music file may run ahead of the time
// it has played: the samples decoded ahead into the output's buffers. A file
// restarted from its beginning is no further on than the time since.
constexpr long kDecodedAheadMs = 250;

std::string Mode() {
    return QueryMci("status MP3Play mode");
}

long PositionMs() {
    return std::stol(QueryMci("status MP3Play position"));
}

long MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now() - start)
                                 .count());
}

// Windows of the output that carry the tone.
int LoudWindows(const std::vector<int>& peaks, std::size_t from, std::size_t to) {
    int count = 0;
    for (std::size_t i = from; i < std::min(to, peaks.size()); ++i) {
        count += peaks[i] > kToneAmplitude / 2 ? 1 : 0;
    }
    return count;
}

class MusicFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_folder.Path().empty());
        m_output = m_folder.File("output.raw");
        UseDiskAudio(m_output);
        BgmKind = 2;
        BgmRepeat = 0;
        BgmFile.clear();
    }
    void TearDown() override {
        // Everything closed, so the output file is complete and the next test
        // opens the audio driver afresh.
        WavStop();
        std::string reply;
        SendMci("close all", reply);
    }

    MusicFolder m_folder;
    std::string m_output;
};

TEST_F(MusicFileTest, Mp3PlaysAndIsRestartedWithinOneCallAfterItsEnd) {
    BgmFile = m_folder.File("tone.mp3");
    ASSERT_TRUE(WriteToneMp3(BgmFile, 1000, kToneAmplitude)) << "lame could not encode";

    Mp3Start();
    EXPECT_EQ(Mode(), "playing");
    EXPECT_TRUE(Mp3IsPlaying());
    ASSERT_TRUE(WaitUntil([] { return PositionMs() > 100; }, kDeadline));
    const long before = PositionMs();
    EXPECT_GT(before, 100);
    Mp3Repeat(); // playing: left alone
    EXPECT_GE(PositionMs(), before);

    ASSERT_TRUE(WaitUntil([] { return Mode() == "stopped"; }, kDeadline)) << "the file never ended";
    EXPECT_FALSE(Mp3IsPlaying());
    const auto restart = std::chrono::steady_clock::now();
    Mp3Repeat();
    EXPECT_EQ(Mode(), "playing") << "one call restarts it";
    const long restartedAt = PositionMs();
    EXPECT_LE(restartedAt, MillisecondsSince(restart) + kDecodedAheadMs) << "from its beginning";
    ASSERT_TRUE(WaitUntil([] { return PositionMs() > 400; }, kDeadline));
    Mp3Close();
    EXPECT_EQ(QueryMci("status MP3Play mode"), "Error:263");

    // The tone reached the output: about a second of it, then the restart.
    const std::vector<int> peaks = PeaksPerWindow(ReadDiskOutput(m_output), kWindowMs);
    EXPECT_GE(LoudWindows(peaks, 0, peaks.size()), 20);
}

TEST_F(MusicFileTest, PausedMp3RestartsFromItsBeginning) {
    BgmFile = m_folder.File("tone.mp3");
    ASSERT_TRUE(WriteToneMp3(BgmFile, 2000, kToneAmplitude));
    Mp3Start();
    ASSERT_TRUE(WaitUntil([] { return PositionMs() > 1000; }, kDeadline));
    std::string reply;
    ASSERT_EQ(SendMci("pause MP3Play", reply), 0);
    EXPECT_EQ(Mode(), "paused");
    EXPECT_GT(PositionMs(), 1000);
    const auto restart = std::chrono::steady_clock::now();
    Mp3Repeat();
    EXPECT_EQ(Mode(), "playing");
    const long restartedAt = PositionMs();
    EXPECT_LE(restartedAt, MillisecondsSince(restart) + kDecodedAheadMs) << "from its beginning";
    Mp3Close();
}

TEST_F(MusicFileTest, Mp3ThatCannotBeOpenedNeverPlays) {
    BgmFile = m_folder.File("missing.mp3");
    Mp3Start();
    Mp3Repeat();
    EXPECT_EQ(Mode(), "Error:263");

    // Not music at all.
    BgmFile = m_folder.File("text.mp3");
    std::FILE* text = std::fopen(BgmFile.c_str(), "w");
    ASSERT_NE(text, nullptr);
    std::fputs("not music\n", text);
    std::fclose(text);
    std::string reply;
    EXPECT_EQ(SendMci("open \"" + BgmFile + "\" type MPEGVideo Alias MP3Play", reply), 296);
    Mp3Start();
    EXPECT_EQ(Mode(), "Error:263");

    // A real file whose name holds a double quote is refused, never opened
    // as something else.
    const std::string real = m_folder.File("tone.mp3");
    ASSERT_TRUE(WriteToneMp3(real, 300, kToneAmplitude));
    for (const char* name : {"a\"b.mp3", "a\" type MPEGVideo Alias MP3Play \"b.mp3"}) {
        BgmFile = m_folder.File(name);
        std::filesystem::copy_file(real, BgmFile);
        Mp3Start();
        EXPECT_EQ(Mode(), "Error:263") << name;
        EXPECT_NE(SendMci("open \"" + BgmFile + "\" type MPEGVideo Alias MP3Play", reply), 0);
        EXPECT_EQ(Mode(), "Error:263") << name;
    }
    EXPECT_EQ(
        SendMci("open \"" + m_folder.File("a\"b.mp3") + "\" type MPEGVideo Alias MP3Play", reply),
        305);
}

TEST_F(MusicFileTest, WavLoopsUntilStopped) {
    BgmFile = m_folder.File("short.wav");
    WriteToneWav(BgmFile, 250, kToneAmplitude);
    // An open music file keeps the output running after the sound stops, so
    // the silence after WavStop reaches the output file too.
    const std::string keeper = m_folder.File("keeper.wav");
    WriteToneWav(keeper, 100, 1);
    std::string reply;
    ASSERT_EQ(SendMci("open \"" + keeper + "\" type MPEGVideo alias keeper", reply), 0);

    const auto peaks = [this] { return PeaksPerWindow(ReadDiskOutput(m_output), kWindowMs); };
    ASSERT_GT(SystemMciPlatform().WaveOutDeviceCount(), 0u);
    WavStart();
    // 0.9 s heard of a 0.25 s sound: it looped (a single play gives 5 windows).
    ASSERT_TRUE(WaitUntil(
        [&peaks] {
            const std::vector<int> heard = peaks();
            return LoudWindows(heard, 0, heard.size()) >= 18;
        },
        kDeadline));
    WavStop();
    const std::size_t stopped = peaks().size();
    ASSERT_TRUE(WaitUntil([&] { return peaks().size() >= stopped + 12; }, kDeadline));
    ASSERT_EQ(SendMci("close keeper", reply), 0);

    const std::vector<int> heard = peaks();
    ASSERT_GE(heard.size(), 30u);
    EXPECT_EQ(LoudWindows(heard, heard.size() - 8, heard.size()), 0) << "silent after WavStop";
}

TEST_F(MusicFileTest, NoAudioDeviceFailsQuietly) {
    UseNoAudio();
    EXPECT_EQ(SystemMciPlatform().WaveOutDeviceCount(), 0u);
    BgmFile = m_folder.File("short.wav");
    WriteToneWav(BgmFile, 250, kToneAmplitude);
    WavStart();
    WavStop();
    EXPECT_FALSE(SystemMciPlatform().PlayWaveSound(BgmFile.c_str(), kSoundAsync | kSoundLoop));

    std::string reply;
    EXPECT_EQ(SendMci("open \"" + BgmFile + "\" type MPEGVideo Alias MP3Play", reply), 326);
    EXPECT_EQ(reply, "No audio output device can be opened.");
    Mp3Start();
    Mp3Repeat();
    EXPECT_EQ(Mode(), "Error:263");
    Mp3Close();

    // The disc opens and answers; only playing needs the output.
    const std::string cue = WriteDiscImage(m_folder.Path(), "disc", {20, 20});
    setenv("KESTRUNE_CDAUDIO_DEVICE", cue.c_str(), 1);
    CdOpen();
    BgmRepeat = 1;
    CdWatch();
    EXPECT_TRUE(CdWatchOk);
    EXPECT_EQ(QueryMci("status cdaudio mode"), "stopped");
    EXPECT_EQ(PlayDevice("cdaudio", "", ""), 326);
    CdClose();
    unsetenv("KESTRUNE_CDAUDIO_DEVICE");

    // With an output again, it is tried again a few seconds after it failed.
    UseDummyAudio();
    EXPECT_GT(SystemMciPlatform().WaveOutDeviceCount(), 0u);
    EXPECT_TRUE(WaitUntil(
        [this] { return SystemMciPlatform().PlayWaveSound(BgmFile.c_str(), kSoundAsync); },
        kDeadline, 500ms));
    WavStop();
}

TEST_F(MusicFileTest, APipeOrAFolderAtTheMusicPathIsRefusedWithoutWaiting) {
    // Nothing ever writes into the pipe: an open that waited would hang here.
    const std::string pipe = m_folder.File("pipe.mp3");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& path : {pipe, m_folder.Path()}) {
        BgmFile = path;
        Mp3Start();
        EXPECT_EQ(Mode(), "Error:263") << path;
        std::string reply;
        EXPECT_EQ(SendMci("open \"" + path + "\" type MPEGVideo Alias MP3Play", reply), 275);
        EXPECT_FALSE(SystemMciPlatform().PlayWaveSound(path.c_str(), kSoundAsync | kSoundLoop));
    }
}

} // namespace
} // namespace kestrune::test
