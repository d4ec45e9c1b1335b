// The music module's command strings, their order and the handling of the
// replies, recorded through a platform that answers as the test tells it.

#include "host/core/Kestrune_B.h"
#include "host/music/Kestrune_BGM.h"
#include "host/music/mci_platform.h"

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
    std::vector<std::size_t> replyLengths;
    std::map<std::string, Answer> answers; // by command; others succeed with ""
    std::map<std::uint32_t, std::string> errorTexts;
    std::uint32_t devices = 1;
    std::vector<std::pair<std::string, std::uint32_t>> sounds;

    std::uint32_t SendString(const char* command, char* reply, std::size_t length) override {
        sent.emplace_back(command);
        replyLengths.push_back(reply ? length : 0);
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
        const auto found = errorTexts.find(code);
        if (found == errorTexts.end()) {
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
        SetMciPlatform(&m_platform);
        BgmKind = 0;
        BgmRepeat = 0;
        BgmFile.clear();
    }
    void TearDown() override { SetMciPlatform(nullptr); }

    // Runs one CD watch tick on the given replies and returns what it sent.
    std::vector<std::string> WatchTick(const std::string& current, const std::string& mode) {
        m_platform.answers["status cdaudio current track"] = {0, current};
        m_platform.answers["status cdaudio number of tracks"] = {0, "5"};
        m_platform.answers["status cdaudio mode"] = {0, mode};
        m_platform.sent.clear();
        CdWatch();
        return m_platform.sent;
    }

    RecordingPlatform m_platform;
};

using Strings = std::vector<std::string>;

TEST_F(BgmStringsTest, SendMciRepliesAndErrorTexts) {
    std::string reply = "old";
    EXPECT_EQ(SendMci("", reply), -1);
    EXPECT_EQ(reply, "コマンド文字列が指定されていません");
    EXPECT_TRUE(m_platform.sent.empty()) << "an empty command is never sent";

    m_platform.answers["status cdaudio mode"] = {0, "playing"};
    EXPECT_EQ(SendMci("status cdaudio mode", reply), 0);
    EXPECT_EQ(reply, "playing");
    EXPECT_EQ(m_platform.replyLengths.back(), 512u);

    m_platform.answers["play x"] = {263, ""};
    m_platform.errorTexts[263] = "not open";
    EXPECT_EQ(SendMci("play x", reply), 263);
    EXPECT_EQ(reply, "not open");

    m_platform.answers["play y"] = {999, ""};
    EXPECT_EQ(SendMci("play y", reply), 999);
    EXPECT_EQ(reply, "Error (文字列が取れません)");
}

TEST_F(BgmStringsTest, QueryMciGivesTheReplyOrTheErrorCode) {
    EXPECT_EQ(QueryMci(""), "Error:-1");
    m_platform.answers["status a mode"] = {263, ""};
    m_platform.errorTexts[263] = "not open";
    EXPECT_EQ(QueryMci("status a mode"), "Error:263");
    m_platform.answers["status b mode"] = {0, "stopped"};
    EXPECT_EQ(QueryMci("status b mode"), "stopped");
}

TEST_F(BgmStringsTest, PlayDeviceLeavesOutEmptyStartAndEnd) {
    PlayDevice("cdaudio", "", "");
    PlayDevice("cdaudio", "03:00:00:00", "");
    PlayDevice("cdaudio", "", "04");
    PlayDevice("cdaudio", "02", "03");
    EXPECT_EQ(m_platform.sent, (Strings{"play cdaudio", "play cdaudio from 03:00:00:00",
                                        "play cdaudio to 04", "play cdaudio from 02 to 03"}));
    m_platform.answers["play cdaudio"] = {282, ""};
    EXPECT_EQ(PlayDevice("cdaudio", "", ""), 282);
}

TEST_F(BgmStringsTest, Mp3StartPlaysOnlyWhatOpened) {
    BgmFile = "/music/a b.mp3";
    Mp3Start();
    EXPECT_EQ(m_platform.sent,
              (Strings{"open \"/music/a b.mp3\" type MPEGVideo Alias MP3Play", "play MP3Play"}));
    EXPECT_EQ(m_platform.replyLengths, (std::vector<std::size_t>{0, 0}));

    m_platform.sent.clear();
    m_platform.answers["open \"/music/a b.mp3\" type MPEGVideo Alias MP3Play"] = {275, ""};
    Mp3Start();
    EXPECT_EQ(m_platform.sent, (Strings{"open \"/music/a b.mp3\" type MPEGVideo Alias MP3Play"}));

    // A name with a double quote would end the quoted name early: refused.
    m_platform.sent.clear();
    BgmFile = "/music/x\" alias other.mp3";
    Mp3Start();
    EXPECT_TRUE(m_platform.sent.empty());
}

TEST_F(BgmStringsTest, Mp3RepeatRestartsWhateverIsNotPlaying) {
    const Strings restart = {"status MP3Play mode", "stop MP3Play", "play MP3Play from 0"};
    m_platform.answers["status MP3Play mode"] = {0, "playing"};
    Mp3Repeat();
    EXPECT_EQ(m_platform.sent, Strings{"status MP3Play mode"});
    EXPECT_EQ(m_platform.replyLengths.back(), 30u);

    for (const char* mode : {"stopped", "paused", "not ready"}) {
        m_platform.sent.clear();
        m_platform.answers["status MP3Play mode"] = {0, mode};
        Mp3Repeat();
        EXPECT_EQ(m_platform.sent, restart) << mode;
    }

    // A failed query leaves the answer before it: "playing" holds.
    m_platform.answers["status MP3Play mode"] = {0, "playing"};
    EXPECT_TRUE(Mp3IsPlaying());
    m_platform.answers["status MP3Play mode"] = {263, ""};
    m_platform.sent.clear();
    Mp3Repeat();
    EXPECT_EQ(m_platform.sent, Strings{"status MP3Play mode"});
    // ...and so does "stopped": a file that never opened is asked to play
    // every second.
    m_platform.answers["status MP3Play mode"] = {0, "stopped"};
    EXPECT_FALSE(Mp3IsPlaying());
    m_platform.answers["status MP3Play mode"] = {263, ""};
    m_platform.sent.clear();
    Mp3Repeat();
    EXPECT_EQ(m_platform.sent, restart);
}

TEST_F(BgmStringsTest, OpenAndCloseStrings) {
    Mp3Close();
    CdOpen();
    CdClose();
    EXPECT_EQ(m_platform.sent,
              (Strings{"stop MP3Play", "close MP3Play", "open cdaudio",
                       "set cdaudio time format tmsf", "stop cdaudio", "close cdaudio"}));
}

TEST_F(BgmStringsTest, WavPlaysLoopingOnlyWithAnOutputDevice) {
    BgmFile = "/music/loop.wav";
    m_platform.devices = 0;
    WavStart();
    EXPECT_TRUE(m_platform.sounds.empty());
    m_platform.devices = 0x80000000u; // reads as negative, as the count's signed view
    WavStart();
    EXPECT_TRUE(m_platform.sounds.empty());
    m_platform.devices = 2;
    WavStart();
    WavStop();
    EXPECT_EQ(m_platform.sounds,
              (std::vector<std::pair<std::string, std::uint32_t>>{
                  {"/music/loop.wav", kSoundAsync | kSoundNoDefault | kSoundLoop},
                  {"(none)", kSoundSync}}));
}

TEST_F(BgmStringsTest, CdWatchRepeatsTheChosenTrack) {
    BgmRepeat = 3;
    m_platform.answers["status cdaudio position track 3"] = {0, "03:00:00:00"};
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
    EXPECT_EQ(m_platform.replyLengths[2], 255u);
    EXPECT_TRUE(CdWatchOk);

    // A failed mode query leaves the previous answer: "stopped" holds.
    WatchTick("3", "stopped");
    m_platform.answers["status cdaudio mode"] = {263, ""};
    m_platform.sent.clear();
    CdWatch();
    EXPECT_EQ(m_platform.sent, replay);
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
    m_platform.errorTexts[276] = "not ready";
    m_platform.answers["status cdaudio current track"] = {276, ""};
    m_platform.sent.clear();
    CdWatch();
    EXPECT_FALSE(CdWatchOk);
    EXPECT_EQ(m_platform.sent, Strings{"status cdaudio current track"});

    m_platform.answers["status cdaudio current track"] = {0, "2"};
    m_platform.answers["status cdaudio number of tracks"] = {266, ""};
    m_platform.sent.clear();
    CdWatch();
    EXPECT_FALSE(CdWatchOk);
    EXPECT_EQ(m_platform.sent.size(), 2u);

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
    m_platform.answers["status cdaudio position track -1"] = {282, ""};
    m_platform.answers["play cdaudio from Error:282"] = {270, ""};
    const Strings sent = WatchTick("1", "stopped");
    ASSERT_EQ(sent.size(), 5u);
    EXPECT_EQ(sent[3], "status cdaudio position track -1");
    EXPECT_EQ(sent[4], "play cdaudio from Error:282");
    EXPECT_TRUE(CdWatchOk) << "the failing play does not end the watch";
}

} // namespace
} // namespace kestrune::test
