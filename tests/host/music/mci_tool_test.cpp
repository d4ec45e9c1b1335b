// kestrune-tool mci: command strings from the command line or standard
// input, sent in order in one process, one result line each.

#include "tests/host/music/music_fixtures.h"
#include "tests/support/child_process.h"

#include <gtest/gtest.h>

namespace kestrune::test {
namespace {

using namespace std::chrono_literals;

const std::string kTool = std::string(KESTRUNE_BIN_DIR) + "/kestrune-tool";
// Long enough for the tool to start and end on a loaded machine.
constexpr auto kDeadline = 30s;

class MciToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_folder.Path().empty());
        m_cue = WriteDiscImage(m_folder.Path(), "disc", {40, 30, 50});
    }

    ChildProcess::Options Options(std::vector<std::string> arguments) {
        ChildProcess::Options options;
        options.arguments = std::move(arguments);
        options.environment = {{"SDL_AUDIODRIVER", "dummy"}, {"KESTRUNE_CDAUDIO_DEVICE", m_cue}};
        options.outputPath = m_folder.File("out.txt");
        return options;
    }

    std::string Output() const { return ReadText(m_folder.File("out.txt")); }

    static std::string ReadText(const std::string& path) {
        std::FILE* file = std::fopen(path.c_str(), "rb");
        std::string text;
        if (file) {
            char buffer[4096];
            std::size_t count = 0;
            while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
                text.append(buffer, count);
            }
            std::fclose(file);
        }
        return text;
    }

    MusicFolder m_folder;
    std::string m_cue;
};

TEST_F(MciToolTest, SendsEachArgumentInOneProcess) {
    const ChildProcess::Options options = Options(
        {"mci", "open cdaudio", "set cdaudio time format tmsf", "status cdaudio number of tracks",
         "status cdaudio position track 2", "play cdaudio from 3", "status cdaudio mode",
         "status cdaudio current track", "bogus", ""});
    const auto code = RunProgram(kTool, options, kDeadline);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 1) << "some commands failed";
    EXPECT_EQ(Output(), "0\t\n"
                        "0\t\n"
                        "0\t3\n"
                        "0\t02:00:00:00\n"
                        "0\t\n"
                        "0\tplaying\n"
                        "0\t3\n"
                        "261\tThe command is not recognized.\n"
                        "-1\tコマンド文字列が指定されていません\n");
}

TEST_F(MciToolTest, ReadsCommandsFromStandardInput) {
    ChildProcess::Options options = Options({"-c",
                                             "printf 'open cdaudio\\r\\nstatus cdaudio "
                                             "current track\\nclose cdaudio\\n' | \"$0\" mci -",
                                             kTool});
    const auto code = RunProgram("/bin/sh", options, kDeadline);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0);
    EXPECT_EQ(Output(), "0\t\n0\t1\n0\t\n");

    const auto usage = RunProgram(kTool, Options({"mci"}), kDeadline);
    ASSERT_TRUE(usage.has_value());
    EXPECT_EQ(*usage, 2);
}

} // namespace
} // namespace kestrune::test
