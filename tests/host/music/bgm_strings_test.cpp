// The music module's command strings, their order and the handling of the
// replies, recorded through a platform that answers as the test tells it.

#include "host/music/Kestrune_BGM.h"
#include "host/music/mci_platform.h"
#include "host/startup/Kestrune_B.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace kestrune::test {
namespace {

class RecordingPlatform final : public MciPlatform {
public:
    struct Answer {
        std::uint32_t code = 0;
        std::string reply;
    };

    std::vector<std::string> sent;
    std::vector<std::size_t> reply_lengths;
    std::map<std::string, Answer> answers; // by command; others succeed with ""
    std::map<std::uint32_t, std::string> error_texts;
    std::uint32_t devices = 1;
    std::vector<std::pair<std::string, std::uint32_t>> sounds;

    std::uint32_t SendString(const char* command, char* reply, std::size_t length) override {
        sent.emplace_back(command);
        reply_lengths.push_back(reply ? length : 0);
        const auto found = answers.find(command);
        const Answer answer = found == answers.end() ? Answer{} : found->second;
        if (answer.code == 0 && reply && length > 0) {
            const std::size_t count = std::min(answer.reply.size(), length - 1);
            std::memcpy(reply, answer.reply.data(), count);
            reply[count] = '\0';
        }
        return answer.code;
    }

    bool GetErrorString(std::uint32_t code, char* buffer, std::size_t length) override {
        const auto found = error_texts.find(code);
        if (found == error_texts.end()) {
            return false;
        }
        std::snprintf(buffer, length, "%s", found->second.c_str());
        return true;
    }

    std::uint32_t WaveOutDeviceCount() override { return devices; }

    bool PlayWaveSound(const char* name, std::uint32_t flags) override {
        sounds.emplace_back(name ? name : "(none)", flags);
        return true;
    }
};

class BgmStringsTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetMciPlatform(&platform);
        BgmKind = 0;
        BgmRepeat = 0;
        BgmFile.clear();
    }
    void TearDown() override { SetMciPlatform(nullptr); }

    // Runs one CD watch tick on the given replies and returns what it sent.
    std::vector<std::string> WatchTick(const std::string& current, const std::string& mode) {
        platform.answers["status cdaudio current track"] = {0, current};
        platform.answers["status cdaudio number of tracks"] = {0, "5"};
        platform.answers["status cdaudio mode"] = {0, mode};
        platform.sent.clear();
        CdWatch();
        return platform.sent;
    }

    RecordingPlatform platform;
};

using Strings = std::vector<std::string>;

TEST_F(BgmStringsTest, SendMciRepliesAndErrorTexts) {
    std::string reply = "old";
    EXPECT_EQ(SendMci("", reply), -1);
    EXPECT_EQ(reply, "コマンド文字列が指定されていません");
    EXPECT_TRUE(platform.sent.empty()) << "an empty command is never sent";

    platform.answers["status cdaudio mode"] = {0, "playing"};
    EXPECT_EQ(SendMci("status cdaudio mode", reply), 0);
    EXPECT_EQ(reply, "playing");
    EXPECT_EQ(platform.reply_lengths.back(), 512u);

    platform.answers["play x"] = {263, ""};
    platform.error_texts[263] = "not open";
    EXPECT_EQ(SendMci("play x", reply), 263);
    EXPECT_EQ(reply, "not open");

    platform.answers["play y"] = {999, ""};
    EXPECT_EQ(SendMci("play y", reply), 999);
    EXPECT_EQ(reply, "Error (文字列が取れません)");
}

TEST_F(BgmStringsTest, QueryMciGivesTheReplyOrTheErrorCode) {
    EXPECT_EQ(QueryMci(""), "Error:-1");
    platform.answers["status a mode"] = {263, ""};
    platform.error_texts[263] = "not open";
    EXPECT_EQ(QueryMci("status a mode"), "Error:263");
    platform.answers["status b mode"] = {0, "stopped"};
    EXPECT_EQ(QueryMci("status b mode"), "stopped");
}

TEST_F(BgmStringsTest, PlayDeviceLeavesOutEmptyStartAndEnd) {
    PlayDevice("cdaudio", "", "");
    PlayDevice("cdaudio", "03:00:00:00", "");
    PlayDevice("cdaudio", "", "04");
    PlayDevice("cdaudio", "02", "03");
    EXPECT_EQ(platform.sent, (Strings{"play cdaudio", "play cdaudio from 03:00:00:00",
                                      "play cdaudio to 04", "play cdaudio from 02 to 03"}));
    platform.answers["play cdaudio"] = {282, ""};
    EXPECT_EQ(PlayDevice("cdaudio", "", ""), 282);
}

TEST_F(BgmStringsTest, Mp3StartPlaysOnlyWhatOpened) {
    BgmFile = "/music/a b.mp3";
    Mp3Start();
    EXPECT_EQ(platform.sent,
              (Strings{"open \"/music/a b.mp3\" type MPEGVideo Alias MP3Play", "play MP3Play"}));
    EXPECT_EQ(platform.reply_lengths, (std::vector<std::size_t>{0, 0}));

    platform.sent.clear();
    platform.answers["open \"/music/a b.mp3\" type MPEGVideo Alias MP3Play"] = {275, ""};
    Mp3Start();
    EXPECT_EQ(platform.sent, (Strings{"open \"/music/a b.mp3\" type MPEGVideo Alias MP3Play"}));

    // A name with a double quote would end the quoted name early: refused.
    platform.sent.clear();
    BgmFile = "/music/x\" alias other.mp3";
    Mp3Start();
    EXPECT_TRUE(platform.sent.empty());
}

TEST_F(BgmStringsTest, Mp3RepeatRestartsWhateverIsNotPlaying) {
    const Strings restart = {"status MP3Play mode", "stop MP3Play", "play MP3Play from 0"};
    platform.answers["status MP3Play mode"] = {0, "playing"};
    Mp3Repeat();
    EXPECT_EQ(platform.sent, Strings{"status MP3Play mode"});
    EXPECT_EQ(platform.reply_lengths.back(), 30u);

    for (const char* mode : {"stopped", "paused", "not ready"}) {
        platform.sent.clear();
        platform.answers["status MP3Play mode"] = {0, mode};
        Mp3Repeat();
        EXPECT_EQ(platform.sent, restart) << mode;
    }

    // A failed query leaves the answer before it: "playing" holds.
    platform.answers["status MP3Play mode"] = {0, "playing"};
    EXPECT_TRUE(Mp3IsPlaying());
    platform.answers["status MP3Play mode"] = {263, ""};
    platform.sent.clear();
    Mp3Repeat();
    EXPECT_EQ(platform.sent, Strings{"status MP3Play mode"});
    // ...and so does "stopped": a file that never opened is asked to play
    // every second.
    platform.answers["status MP3Play mode"] = {0, "stopped"};
    EXPECT_FALSE(Mp3IsPlaying());
    platform.answers["status MP3Play mode"] = {263, ""};
    platform.sent.clear();
    Mp3Repeat();
    EXPECT_EQ(platform.sent, restart);
}

TEST_F(BgmStringsTest, OpenAndCloseStrings) {
    Mp3Close();
    CdOpen();
    CdClose();
    EXPECT_EQ(platform.sent,
              (Strings{"stop MP3Play", "close MP3Play", "open cdaudio",
                       "set cdaudio time format tmsf", "stop cdaudio", "close cdaudio"}));
}

TEST_F(BgmStringsTest, WavPlaysLoopingOnlyWithAnOutputDevice) {
    BgmFile = "/music/loop.wav";
    platform.devices = 0;
    WavStart();
    EXPECT_TRUE(platform.sounds.empty());
    platform.devices = 0x80000000u; // reads as negative, as the count's signed view
    WavStart();
    EXPECT_TRUE(platform.sounds.empty());
    platform.devices = 2;
    WavStart();
    WavStop();
    EXPECT_EQ(platform.sounds, (std::vector<std::pair<std::string, std::uint32_t>>{
                                   {"/music/loop.wav", 9}, {"(none)", 0}}));
}

TEST_F(BgmStringsTest, CdWatchRepeatsTheChosenTrack) {
    BgmRepeat = 3;
    platform.answers["status cdaudio position track 3"] = {0, "03:00:00:00"};
    const Strings queries = {"status cdaudio current track", "status cdaudio number of tracks",
                             "status cdaudio mode"};
    Strings replay = queries;
    replay.push_back("status cdaudio position track 3");
    replay.push_back("play cdaudio from 03:00:00:00");

    EXPECT_EQ(WatchTick("1", "stopped"), replay) << "first tick starts the track";
    EXPECT_TRUE(CdWatchOk);
    EXPECT_EQ(WatchTick("3", "playing"), queries);
    EXPECT_EQ(WatchTick("4", "playing"), replay) << "moved on to the next track";
    EXPECT_EQ(WatchTick("3", "stopped"), replay) << "the disc stopped";
    EXPECT_EQ(WatchTick("3", "paused"), queries);
    EXPECT_EQ(platform.reply_lengths[2], 255u);
    EXPECT_TRUE(CdWatchOk);

    // A failed mode query leaves the previous answer: "stopped" holds.
    WatchTick("3", "stopped");
    platform.answers["status cdaudio mode"] = {263, ""};
    platform.sent.clear();
    CdWatch();
    EXPECT_EQ(platform.sent, replay);
}

TEST_F(BgmStringsTest, CdWatchPlaysOnWithoutATrack) {
    BgmRepeat = 0;
    EXPECT_EQ(WatchTick("2", "paused").size(), 3u) << "a paused disc stays paused";
    EXPECT_EQ(WatchTick("2", "playing").size(), 3u);
    const Strings sent = WatchTick("2", "stopped");
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(sent[3], "play cdaudio");
    EXPECT_TRUE(CdWatchOk);
}

TEST_F(BgmStringsTest, CdWatchEndsOnErrors) {
    BgmRepeat = 2;
    platform.error_texts[276] = "not ready";
    platform.answers["status cdaudio current track"] = {276, ""};
    platform.sent.clear();
    CdWatch();
    EXPECT_FALSE(CdWatchOk);
    EXPECT_EQ(platform.sent, Strings{"status cdaudio current track"});

    platform.answers["status cdaudio current track"] = {0, "2"};
    platform.answers["status cdaudio number of tracks"] = {266, ""};
    platform.sent.clear();
    CdWatch();
    EXPECT_FALSE(CdWatchOk);
    EXPECT_EQ(platform.sent.size(), 2u);

    // "ERR" is looked for in any case, anywhere in a reply.
    EXPECT_EQ(WatchTick("terrible", "playing").size(), 1u);
    EXPECT_FALSE(CdWatchOk);

    // A track reply that is no number cannot be compared: the watch ends.
    EXPECT_EQ(WatchTick("abc", "playing").size(), 3u);
    EXPECT_FALSE(CdWatchOk);
    EXPECT_EQ(WatchTick(" 2 ", "playing").size(), 3u);
    EXPECT_TRUE(CdWatchOk);
}

TEST_F(BgmStringsTest, CdWatchGoesOnWhenTheTrackIsNotOnTheDisc) {
    BgmRepeat = -1;
    platform.answers["status cdaudio position track -1"] = {282, ""};
    platform.answers["play cdaudio from Error:282"] = {270, ""};
    const Strings sent = WatchTick("1", "stopped");
    ASSERT_EQ(sent.size(), 5u);
    EXPECT_EQ(sent[3], "status cdaudio position track -1");
    EXPECT_EQ(sent[4], "play cdaudio from Error:282");
    EXPECT_TRUE(CdWatchOk) << "the failing play does not end the watch";
}

} // namespace
} // namespace kestrune::test
