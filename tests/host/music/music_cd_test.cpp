// The audio CD on the Linux device layer: a three-track CUE/BIN image made
// here, opened as "cdaudio", played in real time into SDL's disk audio
// driver, and watched by the saver's CD routine as its timer would. The
// tests wait for what they look at and judge what was heard from the output
// file, so a busy machine that plays late changes nothing.

#include "host/core/Kestrune_B.h"
#include "host/music/Kestrune_BGM.h"
#include "tests/host/music/music_fixtures.h"
#include "tests/support/child_process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <thread>
#include <utility>

namespace kestrune::test {
namespace {

using namespace std::chrono_literals;

// Track lengths in sectors: 0.53 s, 0.4 s and 0.67 s.
const std::vector<int> kTracks = {40, 30, 50};
constexpr int kFramesPerSector = 588;
// Long enough for any wait on a loaded machine; the clips last a second.
constexpr auto kDeadline = 30s;

std::string Status(const std::string& item) {
    return QueryMci("status cdaudio " + item);
}

// Waits until the sectors heard have gone a few into track 3: the track
// before it was then heard to its end.
bool WaitUntilTrack3IsHeard() {
    return WaitUntil([] { return Status("position") >= "03:00:00:05"; }, kDeadline);
}

// The track a sample belongs to: each track's samples are +-1000 times its
// number. 0 for silence; minus the level for a sample of no track.
int TrackOf(std::int16_t sample) {
    const int level = std::abs(static_cast<int>(sample));
    return level % kTrackAmplitudeStep == 0 ? level / kTrackAmplitudeStep : -level;
}

// Which tracks were heard.
std::set<int> TracksHeard(const std::vector<std::int16_t>& samples) {
    std::set<int> tracks;
    for (const std::int16_t sample : samples) {
        if (const int track = TrackOf(sample); track != 0) {
            tracks.insert(track);
        }
    }
    return tracks;
}

// The tracks heard in turn, each with the number of its frames heard in a
// row (silence between plays left out).
std::vector<std::pair<int, int>> TrackRuns(const std::vector<std::int16_t>& samples) {
    std::vector<std::pair<int, int>> runs;
    for (const std::int16_t sample : samples) {
        const int track = TrackOf(sample);
        if (track == 0) {
            continue;
        }
        if (runs.empty() || runs.back().first != track) {
            runs.emplace_back(track, 0);
        }
        ++runs.back().second;
    }
    return runs;
}

class MusicCdTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_folder.Path().empty());
        m_output = m_folder.File("output.raw");
        UseDiskAudio(m_output);
        m_cue = WriteDiscImage(m_folder.Path(), "disc", kTracks);
        setenv("KESTRUNE_CDAUDIO_DEVICE", m_cue.c_str(), 1);
        BgmKind = 1;
        BgmRepeat = 0;
        CdWatchOk = false;
    }
    void TearDown() override {
        std::string reply;
        SendMci("close all", reply);
        unsetenv("KESTRUNE_CDAUDIO_DEVICE");
    }

    std::set<int> Heard() const { return TracksHeard(ReadDiskOutput(m_output)); }

    MusicFolder m_folder;
    std::string m_output;
    std::string m_cue;
};

TEST_F(MusicCdTest, AnswersTrackAndPositionQueries) {
    CdOpen();
    EXPECT_EQ(Status("number of tracks"), "3");
    EXPECT_EQ(Status("current track"), "1");
    EXPECT_EQ(Status("mode"), "stopped");
    EXPECT_EQ(Status("time format"), "tmsf");
    EXPECT_EQ(Status("position track 2"), "02:00:00:00");
    EXPECT_EQ(Status("position track 3"), "03:00:00:00");
    EXPECT_EQ(Status("position track 4"), "Error:282");
    EXPECT_EQ(Status("position track 0"), "Error:282");
    EXPECT_EQ(Status("position track two"), "Error:270");
    EXPECT_EQ(Status("length"), "00:01:45");
    EXPECT_EQ(Status("length track 2"), "00:00:30");
    EXPECT_EQ(Status("Current Track"), "1") << "keywords in any case";

    std::string reply;
    EXPECT_EQ(SendMci("set cdaudio time format msf", reply), 0);
    EXPECT_EQ(Status("position track 2"), "00:02:40");
    EXPECT_EQ(SendMci("set cdaudio time format frames", reply), 293);
    EXPECT_EQ(SendMci("set cdaudio time format tmsf", reply), 0);
    EXPECT_EQ(SendMci("open cdaudio", reply), 265);
    EXPECT_EQ(SendMci("status cdrom mode", reply), 263);
    EXPECT_EQ(SendMci("eject cdaudio", reply), 261);

    // From the first track to the second: only the first is heard, and the
    // position stops where the second begins.
    ASSERT_EQ(PlayDevice("cdaudio", "1", "2"), 0);
    EXPECT_EQ(Status("mode"), "playing");
    ASSERT_TRUE(WaitUntil([] { return Status("mode") == "stopped"; }, kDeadline));
    EXPECT_EQ(Status("position"), "02:00:00:00");
    EXPECT_EQ(Status("current track"), "2");
    EXPECT_EQ(PlayDevice("cdaudio", "2", "2"), 282);
    CdClose();
    EXPECT_EQ(Status("mode"), "Error:263");
    EXPECT_EQ(Heard(), std::set<int>{1});
}

TEST_F(MusicCdTest, WatchRepeatsTheChosenTrack) {
    BgmRepeat = 2;
    CdOpen();
    EXPECT_EQ(Status("mode"), "stopped") << "nothing plays before the first tick";
    CdWatch();
    EXPECT_TRUE(CdWatchOk);
    EXPECT_EQ(Status("mode"), "playing");
    EXPECT_EQ(Status("current track"), "2");

    // Playing runs on into track 3; the next tick goes back to track 2, which
    // then plays from its start (the heard runs below show it).
    ASSERT_TRUE(WaitUntilTrack3IsHeard());
    CdWatch();
    EXPECT_TRUE(CdWatchOk);
    EXPECT_EQ(Status("current track"), "2");
    ASSERT_TRUE(WaitUntilTrack3IsHeard());

    // Stopped from outside: the next tick starts the track again.
    std::string reply;
    ASSERT_EQ(SendMci("stop cdaudio", reply), 0);
    EXPECT_EQ(Status("mode"), "stopped");
    CdWatch();
    EXPECT_EQ(Status("mode"), "playing");
    EXPECT_EQ(Status("current track"), "2");

    // As the saver's timer runs it: track 1 is never heard.
    for (int tick = 0; tick < 6; ++tick) {
        std::this_thread::sleep_for(200ms);
        CdWatch();
        ASSERT_TRUE(CdWatchOk);
        EXPECT_NE(Status("current track"), "1");
    }
    CdClose();
    const std::set<int> heard = Heard();
    EXPECT_TRUE(heard.count(2));
    EXPECT_FALSE(heard.count(1));
    for (const int track : heard) {
        EXPECT_TRUE(track == 2 || track == 3) << track;
    }
    // Track 2 whole, into 3, and after the tick again track 2 whole, from its
    // start, into 3.
    const std::vector<std::pair<int, int>> runs = TrackRuns(ReadDiskOutput(m_output));
    ASSERT_GE(runs.size(), 4u);
    const int wholeTrack2 = kTracks[1] * kFramesPerSector;
    EXPECT_EQ(runs[0], std::make_pair(2, wholeTrack2));
    EXPECT_EQ(runs[1].first, 3);
    EXPECT_EQ(runs[2], std::make_pair(2, wholeTrack2));
    EXPECT_EQ(runs[3].first, 3);
}

TEST_F(MusicCdTest, WatchWithoutATrackPlaysTheDiscOn) {
    BgmRepeat = 0;
    CdOpen();
    CdWatch();
    EXPECT_EQ(Status("mode"), "playing");
    EXPECT_EQ(Status("current track"), "1");
    ASSERT_TRUE(WaitUntil([] { return Status("position") > "01:00:00:05"; }, kDeadline));

    // Paused from outside: the watch leaves it paused (a while passes to show
    // that nothing moves).
    std::string reply;
    ASSERT_EQ(SendMci("pause cdaudio", reply), 0);
    const std::string pausedAt = Status("position");
    CdWatch();
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(Status("mode"), "paused");
    EXPECT_EQ(Status("position"), pausedAt);
    EXPECT_GT(pausedAt, "01:00:00:05");
    EXPECT_EQ(pausedAt.substr(0, 3), "01:") << "paused in the first track, where it began";

    // Stopped: the watch plays on from where it stopped, not from the start.
    ASSERT_EQ(SendMci("stop cdaudio", reply), 0);
    const std::string stoppedAt = Status("position");
    CdWatch();
    EXPECT_EQ(Status("mode"), "playing");
    EXPECT_GE(Status("position"), stoppedAt);

    // At the end of the disc the watch's plain play starts it again.
    ASSERT_TRUE(WaitUntil([] { return Status("mode") == "stopped"; }, kDeadline));
    EXPECT_EQ(Status("current track"), "3");
    CdWatch();
    EXPECT_EQ(Status("mode"), "playing");
    EXPECT_EQ(Status("current track"), "1");
    CdClose();
    EXPECT_EQ(Heard(), (std::set<int>{1, 2, 3}));
}

TEST_F(MusicCdTest, FailingTrackQueriesEndTheWatch) {
    setenv("KESTRUNE_CDAUDIO_DEVICE", m_folder.File("missing.cue").c_str(), 1);
    CdOpen();
    std::string reply;
    EXPECT_EQ(SendMci("open cdaudio", reply), 266);
    BgmRepeat = 1;
    CdWatch();
    EXPECT_FALSE(CdWatchOk);

    // Closed by someone else while the watch runs.
    setenv("KESTRUNE_CDAUDIO_DEVICE", m_cue.c_str(), 1);
    CdOpen();
    CdWatch();
    EXPECT_TRUE(CdWatchOk);
    ASSERT_EQ(SendMci("close cdaudio", reply), 0);
    CdWatch();
    EXPECT_FALSE(CdWatchOk);
}

TEST_F(MusicCdTest, TrackNotOnTheDiscPlaysNothingAndTheWatchGoesOn) {
    CdOpen();
    for (const std::int16_t track : {std::int16_t{7}, std::int16_t{-1}}) {
        BgmRepeat = track;
        for (int tick = 0; tick < 3; ++tick) {
            CdWatch();
            EXPECT_TRUE(CdWatchOk) << track;
            EXPECT_EQ(Status("mode"), "stopped") << track;
        }
    }
    EXPECT_EQ(Status("position"), "01:00:00:00");
}

TEST_F(MusicCdTest, ADiscTakenOutOrChangedIsNoticed) {
    CdOpen();
    CdWatch();
    EXPECT_EQ(Status("mode"), "playing");

    // Taken out while it plays: the device is not ready, as the system's is
    // without a disc, and the watch ends at its next tick.
    std::filesystem::remove(m_cue);
    std::filesystem::remove(m_folder.File("disc.bin"));
    EXPECT_EQ(Status("mode"), "not ready");
    EXPECT_EQ(Status("media present"), "false");
    EXPECT_EQ(Status("current track"), "Error:276");
    EXPECT_EQ(PlayDevice("cdaudio", "", ""), 276);
    CdWatch();
    EXPECT_FALSE(CdWatchOk);

    // Another disc put in: its own table of contents, stopped at its start.
    WriteDiscImage(m_folder.Path(), "disc", {20, 20, 20, 20});
    EXPECT_EQ(Status("mode"), "stopped");
    EXPECT_EQ(Status("number of tracks"), "4");
    EXPECT_EQ(Status("position"), "01:00:00:00");

    // Changed while it plays: the old disc's play ends there.
    ASSERT_EQ(PlayDevice("cdaudio", "2", ""), 0);
    WriteDiscImage(m_folder.Path(), "disc", {30, 30});
    EXPECT_EQ(Status("mode"), "stopped");
    EXPECT_EQ(Status("number of tracks"), "2");
    EXPECT_EQ(Status("position"), "01:00:00:00");
    CdClose();
}

} // namespace
} // namespace kestrune::test
