// The screensaver run of the real Kestrune.scr: texture files, music, the
// renderer's start and watch, and the run's end.
#include "tests/e2e/host/host_harness.h"

#include "host/pictures/bmp_writer.h"
#include "host/pictures/texture_pictures.h"
#include "tests/host/music/music_fixtures.h"
#include "tests/support/show_check.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

namespace kestrune::test {
namespace {

using namespace std::chrono_literals;

constexpr auto kStartDeadline = 60s;
constexpr auto kEndDeadline = 30s;
constexpr int kSliceMs = 50;

// The ids of the windows the stand-in renderers reported in `report`.
std::optional<XWindow> ReportedWindow(const std::filesystem::path& report) {
    std::istringstream lines(ReadBytes(report));
    std::string word;
    XWindow window = 0;
    while (lines >> word) {
        if (word == "window" && lines >> window) {
            return window;
        }
    }
    return std::nullopt;
}

// A slice of the test's tones (amplitude 6000 or more) rather than silence.
bool Loud(int peak) {
    return peak > 3000;
}

// What reached the audio device, in 50 ms slices: how long `heard` accepted
// it, in how many separate stretches, and the longest pause between two of
// them, in milliseconds of sound (the disk driver writes in real time, and
// never faster: a busy machine cannot make a pause look shorter).
struct Hearing {
    int heardMs = 0;
    int stretches = 0;
    int longestPauseMs = 0;
};
Hearing Listen(const std::filesystem::path& output, const std::function<bool(int)>& heard) {
    Hearing hearing;
    int pause = -1; // slices since the last heard one; -1 before the first
    for (const int peak : PeaksPerWindow(ReadDiskOutput(output.string()), kSliceMs)) {
        if (!heard(peak)) {
            pause += pause >= 0 ? 1 : 0;
            continue;
        }
        hearing.heardMs += kSliceMs;
        if (pause != 0) {
            hearing.stretches += 1;
            hearing.longestPauseMs =
                std::max(hearing.longestPauseMs, std::max(pause, 0) * kSliceMs);
            pause = 0;
        }
    }
    return hearing;
}

TEST(HostRun, WritesTheTexturesPlaysTheMp3AndEndsWithTheRealRenderer) {
    HostInstall install({.renderer = HostInstall::Renderer::Real});
    ASSERT_TRUE(install.Ok());
    MusicFolder music;
    const std::string mp3 = music.File("tune.Mp3"); // the extension in any case
    ASSERT_TRUE(WriteToneMp3(mp3, 1000, 8000));
    install.WriteSettings(2, 0, mp3);
    ASSERT_TRUE(install.X11().CursorShown()) << "the screen shows no cursor to begin with";

    auto host = install.Start({"/s"});
    ASSERT_TRUE(install.WaitForWindow("Kestrune_VC", kStartDeadline)) << host->Output();
    EXPECT_TRUE(install.X11().FindWindowByTitle("Kestrune_Main")) << "the saver form is hidden";
    const auto showRuns = [&] {
        return host->Running() && install.X11().FindWindowByTitle("Kestrune_VC").has_value();
    };
    EXPECT_TRUE(WaitForTheShow(install.X11(), {}, showRuns, 120s)) << host->Output();
    EXPECT_FALSE(install.X11().CursorShown()) << "the cursor shows over the show";

    for (int index = 1; index <= 4; ++index) {
        const std::vector<std::uint8_t> expected = EncodeBmp(Pic1Picture(index));
        EXPECT_EQ(
            ReadBytes(install.TextureFolder() / ("Kestrune" + std::to_string(index) + ".bmp")),
            std::string(expected.begin(), expected.end()))
            << index;
    }

    // The one-second tone reaches the audio device while the show runs, and
    // comes back within a second of its end (the restart check runs every
    // second); the pause allows for the decoder's own start.
    EXPECT_TRUE(WaitUntil([&] { return Listen(install.AudioOutput(), Loud).stretches >= 2; },
                          kStartDeadline))
        << "heard the tone " << Listen(install.AudioOutput(), Loud).stretches << " times";
    EXPECT_LE(Listen(install.AudioOutput(), Loud).longestPauseMs, 2000);
    EXPECT_TRUE(host->Running());

    // Escape ends the show; the host notices and ends too, by itself, and
    // the cursor is back.
    const auto renderer = install.X11().FindWindowByTitle("Kestrune_VC");
    ASSERT_TRUE(renderer);
    ASSERT_TRUE(SendKeyTo(install.DisplayName(), *renderer, "Escape"));
    EXPECT_EQ(host->WaitForExit(kEndDeadline), 0) << host->Output();
    EXPECT_TRUE(install.WaitForNoWindow("Kestrune_VC", kEndDeadline));
    EXPECT_FALSE(install.X11().FindWindowByTitle("Kestrune_Main"));
    EXPECT_TRUE(install.X11().CursorShown());
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
        EXPECT_EQ(ReadBytes(install.StandInReport()).substr(0, expected.str().size()),
                  expected.str());

        // A 0.3 s clip that keeps sounding has looped.
        if (run == 0) {
            EXPECT_TRUE(
                WaitUntil([&] { return Listen(install.AudioOutput(), Loud).heardMs >= 1200; },
                          kStartDeadline));
        }
        install.X11().RequestClose(*ReportedWindow(install.StandInReport()));
        EXPECT_EQ(host->WaitForExit(kEndDeadline), 0) << host->Output();
    }
}

TEST(HostRun, RepeatsTheChosenTrackOfTheAudioCd) {
    HostInstall install;
    ASSERT_TRUE(install.Ok());
    MusicFolder music;
    const std::string cue = WriteDiscImage(music.Path(), "disc", {75, 75, 75});
    install.WriteSettings(1, 2, "");

    auto host = install.Start({"/s"}, {{"KESTRUNE_CDAUDIO_DEVICE", cue}});
    ASSERT_TRUE(install.WaitForWindow("Kestrune_VC", kStartDeadline)) << host->Output();
    // Track 2, the one to repeat, is heard (each track's square wave has its
    // own level), and again soon after its end: the watch runs five times a
    // second, so the next track plays for a moment at most.
    const auto track2 = [](int peak) { return peak == 2 * kTrackAmplitudeStep; };
    EXPECT_TRUE(WaitUntil([&] { return Listen(install.AudioOutput(), track2).stretches >= 2; },
                          kStartDeadline))
        << "heard track 2 " << Listen(install.AudioOutput(), track2).stretches << " times";
    EXPECT_LE(Listen(install.AudioOutput(), track2).longestPauseMs, 1200);
    install.X11().RequestClose(*ReportedWindow(install.StandInReport()));
    EXPECT_EQ(host->WaitForExit(kEndDeadline), 0) << host->Output();
}

TEST(HostRun, EndsWithItsOwnRendererWhateverWindowsAreLeft) {
    HostInstall install;
    ASSERT_TRUE(install.Ok());
    MusicFolder music;
    const std::string wav = music.File("loop.wav");
    WriteToneWav(wav, 300, 6000);
    install.WriteSettings(2, 0, wav);

    // A renderer that ends before it opens its window (it crashed, or the
    // user declined the windowed show): the run ends at the next watch tick,
    // half a second in, rather than playing on while it waits for a window.
    // The sound written until then tells how long it went on.
    {
        auto host = install.Start({"/s"}, {{"KESTRUNE_STAND_IN_NO_WINDOW", "1"}});
        EXPECT_EQ(host->WaitForExit(kEndDeadline), 0) << host->Output();
        const int heardMs = Listen(install.AudioOutput(), Loud).heardMs;
        EXPECT_GT(heardMs, 0) << "the music never played";
        EXPECT_LT(heardMs, 5000) << "the run went on for seconds without its renderer";
    }

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

    // A second run ends with its own renderer, although another window
    // titled as the renderer's (the first run's) is still there.
    const std::filesystem::path secondReport = install.Folder() / "second-report.txt";
    auto second = install.Start({"/s"}, {{"KESTRUNE_STAND_IN_REPORT", secondReport.string()}});
    ASSERT_TRUE(
        WaitUntil([&] { return ReportedWindow(secondReport).has_value(); }, kStartDeadline));
    ASSERT_TRUE(install.X11().RequestClose(*ReportedWindow(secondReport)));
    EXPECT_EQ(second->WaitForExit(kEndDeadline), 0) << second->Output();
    EXPECT_TRUE(install.X11().Geometry(firstRenderer));
    install.X11().RequestClose(firstRenderer);
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
