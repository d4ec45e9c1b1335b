// The Windows renderer, Kestrune.dll, under Wine on a virtual X server: its
// window as the host finds it (FindWindowA), its frames on the screen, and
// every way it ends: Escape, a close request from another program, and the
// answers to the question asked when the display has no 1024 x 768 mode.

#include "common/kestrune_names.h"
#include "tests/e2e/wine_desktop.h"
#include "tests/support/show_check.h"

#include <gtest/gtest.h>

namespace kestrune::test {
namespace {

using namespace std::chrono_literals;

constexpr const char* kTitle = "Kestrune_VC";
constexpr const char* kQuestionTitle = "Tarq GL";
constexpr const char* kQuestionText =
    "The requested fullscreen mode is not supported by\\nyour video card. Use windowed mode "
    "instead?";
// The styles the shell gives its window, as GetWindowLongA reports them with
// WS_VISIBLE: a popup over the whole screen, or an overlapped window with a
// frame, both clipping siblings and children.
constexpr const char* kFullscreenStyle = "0x96000000";
constexpr const char* kWindowedStyle = "0x16CF0000";

// The renderer started under Wine, with the saver's pictures written into
// C:\r_vosk of the prefix by the Windows tool beforehand.
class WineRendererTest : public ::testing::Test {
protected:
    void Start(WineDesktop& desktop) {
        ASSERT_TRUE(desktop.Problem().empty()) << desktop.Problem();
        const auto folder = desktop.DriveC() / "r_vosk";
        std::filesystem::create_directories(folder);
        const auto pictures = desktop.Run(desktop.BuildFile("bin/kestrune-tool.exe"),
                                          {"pictures", "C:\\r_vosk"}, 60s);
        ASSERT_EQ(pictures.code, 0) << pictures.output;
        for (int number = 1; number <= kTextureFileCount; ++number) {
            ASSERT_TRUE(std::filesystem::is_regular_file(
                folder / ("Kestrune" + std::to_string(number) + ".bmp")))
                << pictures.output;
        }
        m_output = (desktop.Scratch() / "renderer.txt").string();
        m_renderer = desktop.Start(desktop.BuildFile("bin/Kestrune.dll"), {}, m_output);
        ASSERT_TRUE(m_renderer->Started());
    }

    // Waits for the renderer to end by itself; its exit code.
    std::optional<int> Ended() { return m_renderer->WaitForExit(30s); }

    // Waits until `area` of the screen shows the show the renderer draws.
    ::testing::AssertionResult ShowsTheShow(WineDesktop& desktop, const ScreenArea& area) {
        return WaitForTheShow(
            desktop.X11(), area, [&] { return m_renderer->Running(); }, 120s);
    }

    std::string m_output;
    std::unique_ptr<ChildProcess> m_renderer;
};

TEST_F(WineRendererTest, DrawsFullscreenUntilEscapeThenEndsWithCodeZero) {
    WineDesktop desktop;
    ASSERT_NO_FATAL_FAILURE(Start(desktop));
    // The host's check: the window exists (it may not be shown yet).
    ASSERT_TRUE(desktop.FindWindow(kTitle, 60)) << m_renderer->Output();
    const auto facts = desktop.FindShownWindow(kTitle, 30);
    ASSERT_TRUE(facts) << m_renderer->Output();
    // The window class registered as "OpenGL" and created as "OpenGl": one
    // class, whose name keeps the spelling it was registered with.
    EXPECT_EQ(FactOf(*facts, "class"), "OpenGL") << *facts;
    EXPECT_EQ(FactOf(*facts, "style"), kFullscreenStyle) << *facts;
    EXPECT_EQ(FactOf(*facts, "window"), "0,0,1024,768") << *facts;
    EXPECT_EQ(FactOf(*facts, "client"), "1024x768") << *facts;
    EXPECT_EQ(FactOf(*facts, "visible"), "1") << *facts;
    // The X server sees it too, by the same title.
    ASSERT_TRUE(desktop.X11().FindWindowByTitle(kTitle));

    EXPECT_TRUE(ShowsTheShow(desktop, {})) << m_renderer->Output();
    // No loader message: the Windows tool's pictures all load.
    EXPECT_FALSE(desktop.FindWindow("Error", 0));

    ASSERT_TRUE(SendKey(desktop.DisplayName(), "Escape"));
    const auto code = Ended();
    ASSERT_TRUE(code) << "still running after Escape";
    EXPECT_EQ(*code, 0) << m_renderer->Output();
    // The tear-down leaves no window behind, for Windows nor for X.
    EXPECT_TRUE(desktop.WindowGone(kTitle, 5));
    EXPECT_FALSE(desktop.X11().FindWindowByTitle(kTitle));
}

// A close request from another program, and Alt+F4 (a system command that
// takes its usual way), end it as Escape does. (That the screen saver's and
// monitor power-down's system commands are refused cannot be seen under Wine,
// which starts neither; on Linux the X server's screen saver is checked.)
TEST_F(WineRendererTest, ACloseRequestAndAltF4EndIt) {
    for (const bool altF4 : {false, true}) {
        WineDesktop desktop;
        ASSERT_NO_FATAL_FAILURE(Start(desktop));
        ASSERT_TRUE(ShowsTheShow(desktop, {})) << m_renderer->Output(); // well into the loop
        ASSERT_TRUE(altF4 ? SendKey(desktop.DisplayName(), "alt+F4") : desktop.PostClose(kTitle));
        const auto code = Ended();
        ASSERT_TRUE(code) << "still running after " << (altF4 ? "Alt+F4" : "the close request");
        EXPECT_EQ(*code, 0) << m_renderer->Output();
        EXPECT_TRUE(desktop.WindowGone(kTitle, 5));
        EXPECT_FALSE(desktop.X11().FindWindowByTitle(kTitle));
    }
}

// On a screen larger than the window, Yes gives the whole 1024 x 768 client
// area. (On a smaller one the system itself caps a framed window at the
// screen's size plus its frame, as it does for every window it creates.)
TEST_F(WineRendererTest, WithoutA1024By768ScreenAsksAndYesRunsInAWindow) {
    WineDesktop desktop(1280, 1024);
    ASSERT_NO_FATAL_FAILURE(Start(desktop));
    const auto question = desktop.FindShownWindow(kQuestionTitle, 60);
    ASSERT_TRUE(question) << m_renderer->Output();
    EXPECT_EQ(FactOf(*question, "text"), kQuestionText) << *question;
    // The question comes before the window.
    EXPECT_FALSE(desktop.FindWindow(kTitle, 0));

    const auto box = desktop.X11().FindWindowByTitle(kQuestionTitle);
    ASSERT_TRUE(box);
    ASSERT_TRUE(SendKeyTo(desktop.DisplayName(), *box, "Return")); // Yes, the default button
    const auto facts = desktop.FindShownWindow(kTitle, 60);
    ASSERT_TRUE(facts) << m_renderer->Output();
    EXPECT_EQ(FactOf(*facts, "style"), kWindowedStyle) << *facts;
    EXPECT_EQ(FactOf(*facts, "client"), "1024x768") << *facts;
    // The display kept its size: windowed mode changes no display mode.
    EXPECT_EQ(desktop.X11().ScreenWidth(), 1280);
    EXPECT_EQ(desktop.X11().ScreenHeight(), 1024);
    // And the show is drawn in it (well inside its frame).
    EXPECT_TRUE(ShowsTheShow(desktop, {100, 100, 800, 600})) << m_renderer->Output();

    const auto window = desktop.X11().FindWindowByTitle(kTitle);
    ASSERT_TRUE(window);
    ASSERT_TRUE(SendKeyTo(desktop.DisplayName(), *window, "Escape"));
    const auto code = Ended();
    ASSERT_TRUE(code) << "still running after Escape";
    EXPECT_EQ(*code, 0) << m_renderer->Output();
    EXPECT_TRUE(desktop.WindowGone(kTitle, 5));
}

TEST_F(WineRendererTest, WithoutA1024By768ScreenNoEndsWithoutAWindow) {
    WineDesktop desktop(800, 600);
    ASSERT_NO_FATAL_FAILURE(Start(desktop));
    ASSERT_TRUE(desktop.FindShownWindow(kQuestionTitle, 60)) << m_renderer->Output();
    const auto box = desktop.X11().FindWindowByTitle(kQuestionTitle);
    ASSERT_TRUE(box);
    ASSERT_TRUE(SendKeyTo(desktop.DisplayName(), *box, "n")); // the No button's key
    const auto code = Ended();
    ASSERT_TRUE(code) << "still running after No";
    EXPECT_EQ(*code, 0) << m_renderer->Output();
    EXPECT_FALSE(desktop.FindWindow(kTitle, 0));
    EXPECT_EQ(desktop.X11().ScreenWidth(), 800);
}

} // namespace
} // namespace kestrune::test
