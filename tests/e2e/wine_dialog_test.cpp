// Kestrune.scr /c under Wine: the settings dialog with its caption, size and
// painted look, a choice saved with the mouse and the keyboard, Cancel, and
// its Japanese labels drawn the same on a Western system as on a Japanese
// one.

#include "tests/e2e/wine_host_install.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace kestrune::test {
namespace {

using namespace std::chrono_literals;
using Environment = std::vector<std::pair<std::string, std::string>>;

constexpr const char* kDialogTitle = "<Kestrune>";
constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;

// Places in the dialog's client area, in pixels (the layout's twips / 15).
struct Area {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};
constexpr Area kCdLabel{56, 72, 48, 14};        // "音楽CD"
constexpr Area kNoneLabel{56, 92, 30, 14};      // "なし"
constexpr Area kFileLabel{56, 112, 70, 14};     // "MP3、WAV"
constexpr Area kFileButton{40, 132, 41, 21};    // "..."
constexpr Area kRepeatBox{124, 68, 41, 20};     // the track to repeat
constexpr Area kSaveButton{324, 200, 77, 25};   // "設定"
constexpr Area kCancelButton{404, 200, 77, 25}; // "ｷｬﾝｾﾙ"
// The Japanese labels in black on the panel, and the credit line in white.
constexpr Area kJapaneseLabels[] = {kCdLabel, kNoneLabel, kFileLabel, {168, 72, 80, 14}};
constexpr Area kCreditLine{12, 192, 200, 14};

struct Pixel {
    int red = 0;
    int green = 0;
    int blue = 0;
};

// The dialog on the screen: its client area's corner and a screenshot.
struct Shown {
    int left = 0;
    int top = 0;
    std::vector<std::uint8_t> screen;

    Pixel At(int x, int y) const {
        const std::size_t at = (static_cast<std::size_t>(top + y) * kScreenWidth +
                                static_cast<std::size_t>(left + x)) *
                               3;
        return Pixel{screen[at], screen[at + 1], screen[at + 2]};
    }

    // The pixels of an area, row by row.
    std::vector<std::uint8_t> Crop(const Area& area) const {
        std::vector<std::uint8_t> pixels;
        for (int y = area.y; y < area.y + area.height; ++y) {
            const auto begin = screen.begin() + static_cast<std::ptrdiff_t>(
                                                    ((top + y) * kScreenWidth + left + area.x) * 3);
            pixels.insert(pixels.end(), begin, begin + area.width * 3);
        }
        return pixels;
    }
};

// How many pixels of the area are nearly black: the ink of black text on
// the light grey panel.
template <typename Test> int CountIn(const Shown& shown, const Area& area, Test test) {
    int count = 0;
    for (int y = area.y; y < area.y + area.height; ++y) {
        for (int x = area.x; x < area.x + area.width; ++x) {
            count += test(shown.At(x, y)) ? 1 : 0;
        }
    }
    return count;
}

int InkIn(const Shown& shown, const Area& area) {
    return CountIn(shown, area, [](Pixel p) { return p.red < 80 && p.green < 80 && p.blue < 80; });
}

// Whether a button shows its focus ring (the ring's bottom row colour).
bool ShowsFocus(const Shown& shown, const Area& button) {
    return CountIn(shown, button,
                   [](Pixel p) { return p.red == 105 && p.green == 130 && p.blue == 238; }) > 0;
}

bool XDoTool(const WineDesktop& desktop, const std::vector<std::string>& arguments) {
    ChildProcess::Options options;
    options.arguments = arguments;
    options.environment = {{"DISPLAY", desktop.DisplayName()}};
    const std::optional<int> code = RunProgram("/usr/bin/xdotool", options, 10s);
    return code && *code == 0;
}

class WineDialogTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_install.Ok()) << m_desktop.Problem(); }

    // Starts /c and waits for the dialog, painted: its caption and client
    // size as the system reports them, its gradient and panel on the screen.
    Shown Open(const Environment& environment) {
        m_host = m_install.Start({"/c"}, environment);
        Shown shown;
        const std::optional<std::string> facts = m_desktop.FindShownWindow(kDialogTitle, 60);
        if (!facts) {
            ADD_FAILURE() << "Kestrune.scr /c showed no settings dialog\n" << m_host->Output();
            return shown;
        }
        EXPECT_EQ(FactOf(*facts, "text"), kDialogTitle);
        EXPECT_EQ(FactOf(*facts, "client"), "496x246") << *facts;
        const std::string origin = FactOf(*facts, "origin");
        shown.left = std::stoi(origin);
        shown.top = std::stoi(origin.substr(origin.find(',') + 1));
        EXPECT_TRUE(WaitUntil(
            [&] {
                shown.screen = m_desktop.X11().ScreenshotRgb();
                const Pixel top = shown.At(4, 0);
                const Pixel middle = shown.At(4, 123);
                const Pixel panel = shown.At(412, 46);
                return top.red == 0 && top.blue == 30 && middle.red == 220 && middle.blue == 250 &&
                       panel.red == panel.blue && panel.red >= 160 && panel.red <= 224;
            },
            30s))
            << "no gradient and panel on the screen";
        return shown;
    }

    bool Click(const Shown& shown, const Area& area) {
        return XDoTool(m_desktop,
                       {"mousemove", "--sync", std::to_string(shown.left + area.x + 10),
                        std::to_string(shown.top + area.y + area.height / 2), "click", "1"});
    }

    WineDesktop m_desktop;
    WineHostInstall m_install{m_desktop, WineHostInstall::Renderer::StandIn};
    std::unique_ptr<ChildProcess> m_host;
};

TEST_F(WineDialogTest, SavesAChoiceMadeWithMouseAndKeysCancelsAndReadsOnAnyLocale) {
    const char* japanese = std::getenv("KESTRUNE_WINE_JA_LOCPATH");
    ASSERT_TRUE(japanese && *japanese)
        << "KESTRUNE_WINE_JA_LOCPATH names no compiled ja_JP locale; "
           "scripts/test-windows.sh makes one";

    // First on a Japanese system: "音楽CD", track 12 typed into the box,
    // then "設定".
    const Shown onJapanese = Open({{"LOCPATH", japanese}, {"LC_ALL", "ja_JP.UTF-8"}});
    ASSERT_FALSE(onJapanese.screen.empty());
    EXPECT_TRUE(WritePpm(m_desktop.BuildFile("wine-settings-dialog.ppm").string(), kScreenWidth,
                         kScreenHeight, onJapanese.screen));
    ASSERT_TRUE(Click(onJapanese, kCdLabel));
    ASSERT_TRUE(Click(onJapanese, kRepeatBox));
    ASSERT_TRUE(XDoTool(m_desktop, {"key", "ctrl+a"}));
    ASSERT_TRUE(XDoTool(m_desktop, {"type", "--delay", "50", "12"}));
    ASSERT_TRUE(Click(onJapanese, kSaveButton));
    ASSERT_EQ(m_host->WaitForExit(30s), 0) << m_host->Output();
    const std::string saved = "[Section]\r\n"
                              "\x42\x47\x4D\x8B\xE6\x95\xAA= 1\r\n"
                              "\x42\x47\x4D\xD8\xCB\xDF\xB0\xC4= 12\r\n"
                              "\x42\x47\x4D\xCC\xA7\xB2\xD9=\r\n";
    EXPECT_EQ(ReadBytes(m_install.SettingsFile()), saved);

    // Then on a Western one (code page 1252): the labels are drawn pixel for
    // pixel as they were, and Cancel writes nothing.
    const Shown onWestern = Open({{"LC_ALL", "C.UTF-8"}});
    ASSERT_FALSE(onWestern.screen.empty());
    for (const Area& label : kJapaneseLabels) {
        EXPECT_GT(InkIn(onWestern, label), 20) << "no text at " << label.x << "," << label.y;
        EXPECT_EQ(onWestern.Crop(label), onJapanese.Crop(label))
            << "the label at " << label.x << "," << label.y << " differs";
    }
    EXPECT_EQ(onWestern.Crop(kCreditLine), onJapanese.Crop(kCreditLine));
    ASSERT_TRUE(Click(onWestern, kCancelButton));
    ASSERT_EQ(m_host->WaitForExit(30s), 0) << m_host->Output();
    EXPECT_EQ(ReadBytes(m_install.SettingsFile()), saved);
}

TEST_F(WineDialogTest, TheFileButtonClicksAfterItsFocusWentAndTakesALongPath) {
    // A music file chosen before: "..." is enabled and, as the first control
    // that takes the focus, has it when the dialog opens.
    m_install.WriteSettings(2, 0, WineDesktop::WindowsPathOf(m_install.Folder() / "Kestrune.scr"));
    Shown shown = Open({});
    ASSERT_FALSE(shown.screen.empty());
    // The focus ring comes with the activation, which may reach the dialog
    // after its first paint: watch the screen for it.
    ASSERT_TRUE(WaitUntil(
        [&] {
            shown.screen = m_desktop.X11().ScreenshotRgb();
            return ShowsFocus(shown, kFileButton);
        },
        30s))
        << "\"...\" has not got the focus";

    // なし disables "..." (which loses the focus) and MP3、WAV enables it
    // again: the first click opens the file chooser.
    ASSERT_TRUE(Click(shown, kNoneLabel));
    ASSERT_TRUE(Click(shown, kFileLabel));
    ASSERT_TRUE(Click(shown, kFileButton));
    ASSERT_TRUE(m_desktop.X11().WaitForWindow("ﾌｧｲﾙを開く", 30s)) << "no file chooser";

    // A typed path of 258 characters comes back from the chooser, and the
    // dialog refuses it with its message instead of keeping it.
    const std::string folder = WineDesktop::WindowsPathOf(m_install.Folder()) + "\\";
    const std::string name = std::string(258 - folder.size() - 4, 'a') + ".mp3";
    ASSERT_TRUE(XDoTool(m_desktop, {"type", "--delay", "5", folder + name}));
    ASSERT_TRUE(XDoTool(m_desktop, {"key", "Return"}));
    const std::optional<std::string> message = m_desktop.FindShownWindow("Kestrune", 30);
    ASSERT_TRUE(message) << "no message about the long path";
    EXPECT_NE(message->find(name), std::string::npos) << *message;
    ASSERT_TRUE(XDoTool(m_desktop, {"key", "Return"}));
    ASSERT_TRUE(m_desktop.WindowGone("Kestrune", 30));
    ASSERT_TRUE(Click(shown, kCancelButton));
    ASSERT_EQ(m_host->WaitForExit(30s), 0) << m_host->Output();
}

} // namespace
} // namespace kestrune::test
