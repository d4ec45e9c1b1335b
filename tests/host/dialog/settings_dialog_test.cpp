// The settings dialog on a real form under Qt's offscreen platform: its
// layout in pixels, what it paints, the marks and enabled states that follow
// the music choice, and what Save and Cancel leave in the settings file. The
// desktop's file chooser, message box and link opener are stand-ins that
// record what the dialog asked of them.
#include "host/dialog/Kestrune_P.h"

#include "host/core/Kestrune_B.h"
#include "host/dialog/settings_pictures.h"
#include "host/forms/qt/control_impl.h"
#include "tests/host/controls/qt_test_support.h"
#include "tests/support/temporary_folder.h"

#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>

namespace kestrune {
namespace {

using forms::Rgb;
using test::ProcessEventsUntil;
using test::ReadBytes;

const std::string kKindKey = "\x42\x47\x4D\x8B\xE6\x95\xAA";
const std::string kRepeatKey = "\x42\x47\x4D\xD8\xCB\xDF\xB0\xC4";
const std::string kFileKey = "\x42\x47\x4D\xCC\xA7\xB2\xD9";

QWidget& WidgetOf(const forms::Control& control) {
    return *control.ControlImpl().widget;
}

// A click as a user makes one: the mouse arrives first, then the button.
void Click(const forms::Control& control, Qt::MouseButton button = Qt::LeftButton) {
    test::MouseClick(WidgetOf(control), button);
}

forms::Box BoxOf(const forms::Control& control) {
    return forms::Box{control.Left(), control.Top(), control.Width(), control.Height()};
}

class SettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        BgmKind = 0;
        BgmRepeat = 0;
        BgmFile.clear();
        BgmFolder = m_folder.Path();
        m_services.chooseFile = [this](const forms::Form&, const forms::OpenFileOptions& options) {
            m_fileOptions = options;
            return m_chosenFile;
        };
        m_services.showMessage = [this](const std::string& text) { m_messages.push_back(text); };
        m_services.openDocument = [this](const forms::Form&, const std::string& target) {
            m_opened.push_back(target);
            return true;
        };
    }

    std::unique_ptr<Kestrune_P> Open(const std::string& settingsFile) {
        auto dialog = std::make_unique<Kestrune_P>(
            SettingsDialogPlace{settingsFile, m_folder.Path()}, m_services);
        dialog->Show();
        ProcessEventsUntil([&] { return WidgetOf(dialog->Cmd_Set).isVisible(); });
        return dialog;
    }
    std::unique_ptr<Kestrune_P> Open() { return Open(Ini()); }

    std::string Ini() const { return m_folder.File("Kestrune.ini"); }

    // The dialog as it shows on screen, and whether the mark of a choice
    // shows as selected (the dot in its middle).
    static bool MarkSelected(Kestrune_P& dialog, int index) {
        const QImage image = WidgetOf(dialog.Pic_C).grab().toImage();
        const QColor middle =
            image.pixelColor(dialog.Img_BGM[index].Left() + 6, dialog.Img_BGM[index].Top() + 6);
        if (middle == QColor(255, 255, 255)) {
            return false;
        }
        EXPECT_EQ(middle, QColor(0, 60, 116));
        return true;
    }

    test::TempFolder m_folder;
    SettingsDialogServices m_services;
    std::optional<std::string> m_chosenFile;
    forms::OpenFileOptions m_fileOptions;
    std::vector<std::string> m_messages;
    std::vector<std::string> m_opened;
};

TEST_F(SettingsDialogTest, LayoutPaintingAndLoadedValues) {
    BgmRepeat = 5;
    BgmFile = "/music/曲.mp3";
    const auto dialog = Open();
    EXPECT_EQ(dialog->Caption(), "<Kestrune>");
    EXPECT_EQ(dialog->ClientWidth(), 496);
    EXPECT_EQ(dialog->ClientHeight(), 246);
    // Every control at its twips position, at 15 twips a pixel.
    EXPECT_EQ(BoxOf(dialog->Pic_C), (forms::Box{12, 16, 469, 165}));
    EXPECT_EQ(BoxOf(dialog->Shape3), (forms::Box{20, 20, 113, 21}));
    EXPECT_EQ(BoxOf(dialog->lbl[15]), (forms::Box{20, 24, 111, 13}));
    EXPECT_EQ(BoxOf(dialog->Img_BGM[1]), (forms::Box{28, 56, 13, 13}));
    EXPECT_EQ(BoxOf(dialog->Img_BGM[0]), (forms::Box{28, 76, 13, 13}));
    EXPECT_EQ(BoxOf(dialog->Img_BGM[2]), (forms::Box{28, 96, 13, 13}));
    EXPECT_EQ(BoxOf(dialog->BGM_Repeat), (forms::Box{112, 52, 41, 20}));
    EXPECT_EQ(BoxOf(dialog->Cmd_File[0]), (forms::Box{28, 116, 41, 21}));
    EXPECT_EQ(BoxOf(dialog->lbl_Fname[0]), (forms::Box{72, 116, 373, 33}));
    EXPECT_EQ(BoxOf(dialog->Cmd_Set), (forms::Box{324, 200, 77, 25}));
    EXPECT_EQ(BoxOf(dialog->Cmd_Can), (forms::Box{404, 200, 77, 25}));
    for (const auto& [label, left, top] :
         {std::tuple{&dialog->lbl_BGM[1], 44, 56}, std::tuple{&dialog->lbl_BGM[0], 44, 76},
          std::tuple{&dialog->lbl_BGM[2], 44, 96}, std::tuple{&dialog->lbl[14], 156, 56},
          std::tuple{&dialog->lbl[7], 12, 192}, std::tuple{&dialog->lbl_URL, 12, 208}}) {
        EXPECT_EQ(label->Left(), left) << label->Caption();
        EXPECT_EQ(label->Top(), top) << label->Caption();
        EXPECT_GT(label->Width(), 0) << label->Caption();
        EXPECT_LT(label->Left() + label->Width(), dialog->Cmd_Set.Left()) << label->Caption();
    }
    EXPECT_EQ(dialog->lbl_BGM[1].Caption(), "音楽CD");
    EXPECT_EQ(dialog->lbl[14].Caption(), "曲目をﾘﾋﾟｰﾄ");
    EXPECT_NE(dialog->lbl[7].Caption().find("Ver.1.0.0"), std::string::npos);
    EXPECT_EQ(dialog->Cmd_Set.Caption(), "設定");
    EXPECT_EQ(dialog->Cmd_Can.Caption(), "ｷｬﾝｾﾙ");
    EXPECT_EQ(dialog->Cmd_File[0].Caption(), "...");

    // The gradient, row by row, and the panel covered with the grain.
    const forms::Surface& window = dialog->Canvas();
    EXPECT_EQ(window.PixelAt(0, 0), (Rgb{0, 0, 30}));
    EXPECT_EQ(window.PixelAt(495, 123), (Rgb{220, 220, 250}));
    EXPECT_EQ(window.PixelAt(300, 1), (Rgb{3, 3, 33}));
    const Picture grain = MakeGrainTexture();
    const forms::Surface& panel = dialog->Pic_C.Canvas();
    ASSERT_EQ(panel.Width(), 469);
    ASSERT_EQ(panel.Height(), 165);
    for (int y = 0; y < 165; y += 7) {
        for (int x = 0; x < 469; x += 3) {
            const std::uint8_t* p = grain.PixelAt(x, y % 20);
            ASSERT_EQ(panel.PixelAt(x, y), (Rgb{p[0], p[1], p[2]})) << x << "," << y;
        }
    }

    // The loaded values: the track as "##" text, 31 entries, the file.
    EXPECT_EQ(dialog->BGM_Repeat.Text(), "5");
    ASSERT_EQ(dialog->BGM_Repeat.ListCount(), 31);
    EXPECT_EQ(dialog->BGM_Repeat.List(0), "");
    EXPECT_EQ(dialog->BGM_Repeat.List(1), "1");
    EXPECT_EQ(dialog->BGM_Repeat.List(30), "30");
    EXPECT_EQ(dialog->lbl_Fname[0].Caption(), "/music/曲.mp3");

    // The link opens the README beside the programs.
    Click(dialog->lbl_URL);
    ASSERT_EQ(m_opened.size(), 1u);
    EXPECT_EQ(m_opened[0], "file://" + m_folder.Path() + "/README.md");
}

TEST_F(SettingsDialogTest, MarksAndEnabledStatesFollowTheChoice) {
    struct Expected {
        int kind;
        bool repeatEnabled;
        bool fileEnabled;
    };
    for (const Expected expected : {Expected{0, false, false}, Expected{1, true, false},
                                    Expected{2, false, true}, Expected{7, false, false}}) {
        BgmKind = static_cast<std::int16_t>(expected.kind);
        const auto dialog = Open();
        for (int index = 0; index < 3; ++index) {
            EXPECT_EQ(MarkSelected(*dialog, index), index == expected.kind)
                << expected.kind << " " << index;
        }
        EXPECT_EQ(dialog->BGM_Repeat.Enabled(), expected.repeatEnabled) << expected.kind;
        EXPECT_EQ(WidgetOf(dialog->Cmd_File[0]).isEnabled(), expected.fileEnabled) << expected.kind;
    }

    // Clicking a label or a mark chooses, with any mouse button.
    BgmKind = 0;
    const auto dialog = Open();
    Click(dialog->lbl_BGM[1]);
    EXPECT_EQ(BgmKind, 1);
    EXPECT_TRUE(MarkSelected(*dialog, 1));
    EXPECT_FALSE(MarkSelected(*dialog, 0));
    EXPECT_TRUE(dialog->BGM_Repeat.Enabled());
    Click(dialog->Img_BGM[2], Qt::RightButton);
    EXPECT_EQ(BgmKind, 2);
    EXPECT_FALSE(dialog->BGM_Repeat.Enabled());
    EXPECT_TRUE(WidgetOf(dialog->Cmd_File[0]).isEnabled());
}

TEST_F(SettingsDialogTest, SaveWritesTheThreeKeysAndCancelNothing) {
    // Cancel after changing the choice writes nothing.
    {
        const auto dialog = Open();
        Click(dialog->lbl_BGM[2]);
        Click(dialog->Cmd_Can);
        EXPECT_FALSE(dialog->IsLoaded());
        EXPECT_FALSE(std::filesystem::exists(Ini()));
    }
    // Halves round to the even track.
    for (const auto& [text, saved] : {std::pair{"2.5", " 2"}, std::pair{"3.5", " 4"}}) {
        BgmKind = 0;
        BgmFile = "/music/曲.mp3";
        const auto dialog = Open();
        Click(dialog->lbl_BGM[1]);
        dialog->BGM_Repeat.SetText(text);
        Click(dialog->Cmd_Set);
        EXPECT_FALSE(dialog->IsLoaded());
        EXPECT_TRUE(m_messages.empty());
        EXPECT_EQ(ReadBytes(Ini()), "[Section]\r\n" + kKindKey + "= 1\r\n" + kRepeatKey + "=" +
                                        saved + "\r\n" + kFileKey + "=/music/\x8B\xC8.mp3\r\n");
    }
}

TEST_F(SettingsDialogTest, FileChoiceAndItsChecks) {
    BgmKind = 2;
    const auto dialog = Open();

    // "..." focused, then disabled by なし and enabled again by MP3、WAV:
    // the first click opens the chooser, with the title, the filter and the
    // start folder.
    dialog->Cmd_File[0].SetFocus();
    ASSERT_TRUE(ProcessEventsUntil([&] { return dialog->Cmd_File[0].HasFocus(); }));
    Click(dialog->lbl_BGM[0]);
    Click(dialog->lbl_BGM[2]);
    m_chosenFile = m_folder.File(" song.mp3 ");
    Click(dialog->Cmd_File[0]);
    EXPECT_EQ(m_fileOptions.title, "ﾌｧｲﾙを開く");
    EXPECT_EQ(m_fileOptions.filterDescription, "BGMﾌｧｲﾙ (MP3 WAV)");
    EXPECT_EQ(m_fileOptions.patterns, (std::vector<std::string>{"*.MP3", "*.WAV"}));
    EXPECT_EQ(m_fileOptions.initialFolder, m_folder.Path());
    EXPECT_EQ(BgmFile, *m_chosenFile);
    EXPECT_EQ(dialog->lbl_Fname[0].Caption(), *m_chosenFile);
    EXPECT_EQ(BgmFolder, m_folder.Path());

    // Cancelled: nothing changes. Too long to keep: refused with a message.
    m_chosenFile.reset();
    Click(dialog->Cmd_File[0]);
    m_chosenFile = "/" + std::string(255, 'a');
    Click(dialog->Cmd_File[0]);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_NE(m_messages[0].find(*m_chosenFile), std::string::npos);
    EXPECT_EQ(BgmFile, m_folder.File(" song.mp3 "));
    EXPECT_EQ(dialog->lbl_Fname[0].Caption(), BgmFile);

    // Saved, the blanks around the chosen path are kept inside quotes.
    Click(dialog->Cmd_Set);
    EXPECT_FALSE(dialog->IsLoaded());
    const std::string saved = ReadBytes(Ini());
    EXPECT_NE(saved.find(kFileKey + "=\"" + BgmFile + "\"\r\n"), std::string::npos);

    // A file name the settings file cannot hold, after another choice: the
    // save says so, the dialog stays open, and the file keeps the previous
    // choice whole, byte for byte.
    const auto blocked = Open();
    m_chosenFile = "/music/Ünïcödé.mp3";
    Click(blocked->Cmd_File[0]);
    Click(blocked->lbl_BGM[1]);
    Click(blocked->Cmd_Set);
    ASSERT_EQ(m_messages.size(), 2u);
    EXPECT_NE(m_messages[1].find("元のまま"), std::string::npos);
    EXPECT_EQ(ReadBytes(Ini()), saved);
    EXPECT_TRUE(blocked->IsLoaded());
    Click(blocked->Cmd_Can);
    EXPECT_FALSE(blocked->IsLoaded());
}

} // namespace
} // namespace kestrune
