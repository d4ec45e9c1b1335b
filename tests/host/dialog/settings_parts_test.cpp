// The settings dialog's parts that need no window: its pictures, the track
// box's text, and the save with its checks, down to the settings file's
// bytes. What the dialog paints is tested on the form itself.
#include "host/core/Kestrune_B.h"
#include "host/dialog/repeat_text.h"
#include "host/dialog/settings_pictures.h"
#include "host/dialog/settings_save.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <set>

namespace kestrune {
namespace {

using forms::Rgb;
using test::ReadBytes;
using test::TempFolder;

Rgb PixelOf(const Picture& picture, int x, int y) {
    const std::uint8_t* p = picture.PixelAt(x, y);
    return Rgb{p[0], p[1], p[2]};
}

// The three keys in code page 932, as the file holds them.
const std::string kKindKey = "\x42\x47\x4D\x8B\xE6\x95\xAA";
const std::string kRepeatKey = "\x42\x47\x4D\xD8\xCB\xDF\xB0\xC4";
const std::string kFileKey = "\x42\x47\x4D\xCC\xA7\xB2\xD9";

TEST(SettingsPicturesTest, GrainMarksIconAndHand) {
    const Picture grain = MakeGrainTexture();
    ASSERT_EQ(grain.width, 556);
    ASSERT_EQ(grain.height, 20);
    std::set<int> levels;
    int seamStep = 0; // the largest step across the edges where copies meet
    int innerStep = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 556; ++x) {
            const Rgb p = PixelOf(grain, x, y);
            ASSERT_EQ(p.red, p.green);
            ASSERT_EQ(p.red, p.blue);
            ASSERT_GE(p.red, 160);
            ASSERT_LE(p.red, 224);
            levels.insert(p.red);
        }
    }
    for (int y = 0; y < 20; ++y) {
        seamStep =
            std::max(seamStep, std::abs(PixelOf(grain, 555, y).red - PixelOf(grain, 0, y).red));
    }
    for (int x = 0; x < 556; ++x) {
        seamStep =
            std::max(seamStep, std::abs(PixelOf(grain, x, 19).red - PixelOf(grain, x, 0).red));
        innerStep =
            std::max(innerStep, std::abs(PixelOf(grain, x, 10).red - PixelOf(grain, x, 9).red));
    }
    EXPECT_GT(levels.size(), 30u);  // a grain, not a flat grey
    EXPECT_LE(seamStep, innerStep); // copies meet without a visible seam
    EXPECT_EQ(MakeGrainTexture().rgb, grain.rgb);

    // The marks: white in the middle when not selected, a dark dot when
    // selected; the same outside the dot.
    const Picture off = MakeChoiceMark(false);
    const Picture on = MakeChoiceMark(true);
    ASSERT_EQ(off.width, 12);
    ASSERT_EQ(on.height, 12);
    EXPECT_EQ(PixelOf(off, 6, 6), (Rgb{255, 255, 255}));
    EXPECT_EQ(PixelOf(on, 6, 6), (Rgb{0, 60, 116}));
    EXPECT_EQ(PixelOf(off, 0, 0), PixelOf(on, 0, 0));
    EXPECT_EQ(PixelOf(off, 6, 0), PixelOf(on, 6, 0));

    const Picture icon = MakeDialogIcon();
    ASSERT_EQ(icon.width, 32);
    ASSERT_EQ(icon.height, 32);
    EXPECT_EQ(PixelOf(icon, 16, 3), (Rgb{255, 212, 96}));   // the triangle's top
    EXPECT_EQ(PixelOf(icon, 16, 22), PixelOf(icon, 1, 22)); // the middle is cut out

    // The hand's fingertip is its hot spot: black there, and nothing above.
    const forms::MonoCursor hand = MakeHandCursor();
    ASSERT_EQ(hand.width, 32);
    ASSERT_EQ(hand.height, 32);
    ASSERT_EQ(hand.pixels.size(), 32u * 32u);
    EXPECT_EQ(hand.hotX, 12);
    EXPECT_EQ(hand.hotY, 10);
    EXPECT_EQ(hand.pixels[10 * 32 + 12], forms::MonoCursor::Black);
    for (int y = 0; y < 10; ++y) {
        EXPECT_EQ(hand.pixels[static_cast<std::size_t>(y * 32 + 12)],
                  forms::MonoCursor::Transparent);
    }
}

TEST(RepeatTextTest, FormatsAndReadsTheTrackBox) {
    EXPECT_EQ(FormatHashes(0), "");
    EXPECT_EQ(FormatHashes(7), "7");
    EXPECT_EQ(FormatHashes(30), "30");
    EXPECT_EQ(FormatHashes(-3), "-3");

    EXPECT_EQ(RepeatFromText("2.5"), 2);
    EXPECT_EQ(RepeatFromText("3.5"), 4);
    EXPECT_EQ(RepeatFromText(" -2.5 "), -2);
    EXPECT_EQ(RepeatFromText("12"), 12);
    EXPECT_EQ(RepeatFromText("1e1"), 10);
    EXPECT_EQ(RepeatFromText(""), 0);
    EXPECT_EQ(RepeatFromText("abc"), 0);
    EXPECT_EQ(RepeatFromText("&H10"), 0);
    EXPECT_EQ(RepeatFromText("1,000"), 0);
    EXPECT_EQ(RepeatFromText("¥5"), 0);
    EXPECT_EQ(RepeatFromText("99999"), 32767);
    EXPECT_EQ(RepeatFromText("-99999"), -32768);
    EXPECT_EQ(RepeatFromText("1e400"), 32767);
}

TEST(SettingsSaveTest, QuotesOnlyPathsWithBlanksAtTheEndsAndReportsFailures) {
    TempFolder folder;
    const std::string ini = folder.File("Kestrune.ini");
    // Blanks at a path's ends survive the next read inside quotes; other
    // paths are written as they are.
    const std::string song = folder.File("song.mp3 ");
    ASSERT_EQ(SaveSettings(ini, 2, -3, song), SaveResult::Saved);
    EXPECT_EQ(ReadBytes(ini), "[Section]\r\n" + kKindKey + "= 2\r\n" + kRepeatKey + "=-3\r\n" +
                                  kFileKey + "=\"" + song + "\"\r\n");
    EXPECT_EQ(ReadIniValue(kSettingsSection, kBgmFileKey, ini), song);
    EXPECT_EQ(FileValueText("/a b/c.mp3"), "/a b/c.mp3");
    EXPECT_EQ(FileValueText("\t/c.mp3"), "\"\t/c.mp3\"");

    // A file name code page 932 cannot hold: nothing is saved, not even the
    // numbers before it, and the message says why and where.
    const std::string saved = ReadBytes(ini);
    const std::string unicode = "/music/Ünïcödé.mp3";
    ASSERT_EQ(SaveSettings(ini, 1, 0, unicode), SaveResult::Unrepresentable);
    EXPECT_EQ(ReadBytes(ini), saved);
    std::string message = SaveFailureMessage(SaveResult::Unrepresentable, unicode, ini);
    for (const std::string& part : {std::string("元のまま"), "BGMﾌｧｲﾙ = " + unicode, ini}) {
        EXPECT_NE(message.find(part), std::string::npos) << part;
    }
    // A settings file that cannot be replaced (here a folder).
    EXPECT_EQ(SaveSettings(folder.Path(), 1, 0, song), SaveResult::FileError);
    message = SaveFailureMessage(SaveResult::FileError, song, folder.Path());
    EXPECT_NE(message.find("書き込めません"), std::string::npos);
}

TEST(SettingsSaveTest, PathsLongerThanTheFileKeepsAreRefused) {
    // 255 bytes of code page 932 are kept: 1 + 127 double-byte characters.
    std::string fits = "/";
    for (int i = 0; i < 127; ++i) {
        fits += "曲";
    }
    EXPECT_FALSE(RefusedPathMessage(fits));
    const std::optional<std::string> refused = RefusedPathMessage(fits + "a");
    ASSERT_TRUE(refused);
    EXPECT_NE(refused->find(fits + "a"), std::string::npos);
    EXPECT_FALSE(RefusedPathMessage("/Ünïcödé.mp3")); // left to the save to report
}

} // namespace
} // namespace kestrune
