// The screensaver run of the real Kestrune.scr: texture files, music, the
// renderer's start and watch, and the run's end.
#include "tests/e2e/host/host_harness.h"

#include "host/pictures/bmp_writer.h"
#include "host/pictures/texture_pictures.h"
#include "tests/host/music/music_fixtures.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

namespace kestrune::test {
namespace {

using namespace std::chrono_literals;

constexpr auto kStartDeadline = 60s;
constexpr auto kEndDeadline = 30s;

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The ids of the windows the stand-in renderers reported in `report`.
std::optional<XWindow> ReportedWindow(const std::filesystem::path& report) {
    std::istringstream lines(ReadFile(report));
    std::string word;
    XWindow window = 0;
    while (lines >> word) {
        if (word == "window" && lines >> window) {
            return window;
        }
    }
    return std::nullopt;
}

// How many `windowMs` slices of what reached the audio device are loud,
// that is hold a sample above `level`.
int LoudWindows(const std::filesystem::path& output, int windowMs, int level) {
    int loud = 0;
    for (const int peak : PeaksPerWindow(ReadDiskOutput(output.string()), windowMs)) {
        loud += peak > level ? 1 : 0;
    }
    return loud;
}

TEST(HostRun, WritesTheTexturesPlaysTheMp3AndEndsWithTheRealRenderer) {
    HostInstall install({.renderer = HostInstall::Renderer::Real});
    ASSERT_TRUE(install.Ok());
    MusicFolder music;
    const std::string mp3 = music.File("tune.Mp3"); // the extension in any case
    ASSERT_TRUE(WriteToneMp3(mp3, 1000, 8000));
    install.WriteSettings(2, 0, mp3);

    auto host = install.Start({"/s"});
    const auto renderer = install.WaitForWindow("Kestrune_VC", kStartDeadline);
    ASSERT_TRUE(renderer) << host->Output();
    EXPECT_TRUE(install.X11().FindWindowByTitle("Kestrune_Main")) << "the saver form is hidden";

    for (int index = 1; index <= 4; ++index) {
        const std::vector<std::uint8_t> expected = EncodeBmp(Pic1Picture(index));
        EXPECT_EQ(ReadFile(install.TextureFolder() / ("Kestrune" + std::to_string(index) + ".bmp")),
                  std::string(expected.begin(), expected.end()))
            << index;
    }

    // The tone reaches the audio device while the show runs, and comes back
    // after its end: the file restarts within a second of ending.
    EXPECT_TRUE(WaitUntil([&] { return LoudWindows(install.AudioOutput(), 100, 4000) >= 15; },
                          kStartDeadline))
        << "loud tenths of a second: " << LoudWindows(install.AudioOutput(), 100, 4000);
    EXPECT_TRUE(host->Running());

    // Escape ends the show; the host notices and ends too, by itself.
    ASSERT_TRUE(SendKeyTo(install.DisplayName(), *renderer, "Escape"));
    EXPECT_EQ(host->WaitForExit(kEndDeadline), 0) << host->Output();
    EXPECT_TRUE(install.WaitForNoWindow("Kestrune_VC", kEndDeadline));
    EXPECT_FALSE(install.X11().FindWindowByTitle("Kestrune_Main"));
}

TEST(HostRun, WritesTheTexturesBeforeTheRendererOnEveryRunAndLoopsAWav) {
    HostInstall install;
    ASSERT_TRUE(install.Ok());
    MusicFolder music;
    const std::string wav = music.File("loop.wav");
    WriteToneWav(wav, 300, 6000);
    install.WriteSettings(2, 0, wav);
    // A texture file that a run must replace, not keep.
    std::filesystem::create_directories(install.TextureFolder());
    std::ofstream(install.TextureFolder() / "Kestrune3.bmp") << "stale";

    for (int run = 0; run < 2; ++run) {
        std::filesystem::remove(install.StandInReport());
        auto host = install.Start({"/s"});
        ASSERT_TRUE(WaitUntil([&] { return ReportedWindow(install.StandInReport()).has_value(); },
                              kStartDeadline))
            << host->Output();
        // What the renderer found at its start: all four files, whole.
        std::ostringstream expected;
        for (int index = 1; index <= 4; ++index) {
            expected << "Kestrune" << index << ".bmp " << EncodeBmp(Pic1Picture(index)).size()
                     << '\n';
        }
        EXPECT_EQ(ReadFile(install.StandInReport()).substr(0, expected.str().size()),
                  expected.str());

        // A 0.3 s clip that keeps sounding has looped.
        if (run == 0) {
            EXPECT_TRUE(
                WaitUntil([&] { return LoudWindows(install.AudioOutput(), 100, 3000) >= 12; },
                          kStartDeadline));
        }
        install.X11().RequestClose(*ReportedWindow(install.StandInReport()));
        EXPECT_EQ(host->WaitForExit(kEndDeadline), 0) << host->Output();
    }
}

TEST(HostRun, PlaysTheAudioCd) {
    HostInstall install;
    ASSERT_TRUE(install.Ok());
    MusicFolder music;
    const std::string cue = WriteDiscImage(music.Path(), "disc", {75, 75, 75});
    install.WriteSettings(1, 2, "");

    auto host = install.Start({"/s"}, {{"KESTRUNE_CDAUDIO_DEVICE", cue}});
    ASSERT_TRUE(install.WaitForWindow("Kestrune_VC", kStartDeadline)) << host->Output();
    // Track 2, the one to repeat, is heard: each track's square wave has its
    // own level.
    const auto track2Windows = [&] {
        int count = 0;
        for (const int peak : PeaksPerWindow(ReadDiskOutput(install.AudioOutput().string()), 100)) {
            count += peak == 2 * kTrackAmplitudeStep ? 1 : 0;
        }
        return count;
    };
    EXPECT_TRUE(WaitUntil([&] { return track2Windows() >= 5; }, kStartDeadline));
    install.X11().RequestClose(*ReportedWindow(install.StandInReport()));
    EXPECT_EQ(host->WaitForExit(kEndDeadline), 0) << host->Output();
}

TEST(HostRun, WatchesOnlyTheTitleAndLeavesTheRendererAloneWhenClosed) {
    HostInstall install;
    ASSERT_TRUE(install.Ok());

    // The window system closes the saver form (the session ends): the run
    // ends as after the show, and the renderer is not touched.
    auto first = install.Start({"/s"});
    ASSERT_TRUE(WaitUntil([&] { return ReportedWindow(install.StandInReport()).has_value(); },
                          kStartDeadline))
        << first->Output();
    const XWindow firstRenderer = *ReportedWindow(install.StandInReport());
    const auto saverForm = install.WaitForWindow("Kestrune_Main", kStartDeadline);
    ASSERT_TRUE(saverForm);
    ASSERT_TRUE(install.X11().RequestClose(*saverForm));
    EXPECT_EQ(first->WaitForExit(kEndDeadline), 0) << first->Output();
    EXPECT_TRUE(install.X11().Geometry(firstRenderer)) << "the renderer was closed";

    // A second run: its own renderer ends, but another window titled as the
    // renderer's (the first run's) keeps it watching.
    const std::filesystem::path secondReport = install.Folder() / "second-report.txt";
    auto second = install.Start({"/s"}, {{"KESTRUNE_STAND_IN_REPORT", secondReport.string()}});
    ASSERT_TRUE(
        WaitUntil([&] { return ReportedWindow(secondReport).has_value(); }, kStartDeadline));
    ASSERT_TRUE(install.X11().RequestClose(*ReportedWindow(secondReport)));
    ASSERT_TRUE(WaitUntil([&] { return !install.X11().Geometry(*ReportedWindow(secondReport)); },
                          kEndDeadline));
    EXPECT_FALSE(second->WaitForExit(3s)) << "ended while a window titled Kestrune_VC was there";
    ASSERT_TRUE(install.X11().RequestClose(firstRenderer));
    EXPECT_EQ(second->WaitForExit(kEndDeadline), 0) << second->Output();
}

TEST(HostRun, WaitsForARendererThatOpensItsWindowLate) {
    HostInstall install;
    ASSERT_TRUE(install.Ok());
    auto host = install.Start({"/s"}, {{"KESTRUNE_STAND_IN_DELAY_MS", "2500"}});
    const auto renderer = install.WaitForWindow("Kestrune_VC", kStartDeadline);
    ASSERT_TRUE(renderer);
    EXPECT_TRUE(host->Running()) << "the run gave up before the renderer's window opened";
    install.X11().RequestClose(*renderer);
    EXPECT_EQ(host->WaitForExit(kEndDeadline), 0) << host->Output();
}

} // namespace
} // namespace kestrune::test
