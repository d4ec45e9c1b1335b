// The settings module: the settings file on disk, LoadSettings, and the file
// routines by the rules both platforms share. Each platform's path rules and
// special files are tested beside this file (settings_paths_*_test.cpp).
#include "host/core/Kestrune_B.h"

#include "common/kestrune_names.h"
#include "tests/support/file_identity.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kestrune {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

// The file the settings dialog writes for: BgmKind 2, BgmRepeat 0, a file.
const std::string kDialogFile = "[Section]\r\n"
                                "\x42\x47\x4D\x8B\xE6\x95\xAA= 2\r\n"
                                "\x42\x47\x4D\xD8\xCB\xDF\xB0\xC4= 0\r\n"
                                "\x42\x47\x4D\xCC\xA7\xB2\xD9=/music/\x8B\xC8.mp3\r\n";

TEST(SettingsFileTest, TheThreeKeysRoundTripInCodePage932) {
    TempFolder folder;
    const std::string ini = folder.File("Kestrune.ini");
    ASSERT_TRUE(WriteIniValue(kSettingsSection, kBgmKindKey, " 2", ini));
    ASSERT_TRUE(WriteIniValue(kSettingsSection, kBgmRepeatKey, " 0", ini));
    ASSERT_TRUE(WriteIniValue(kSettingsSection, kBgmFileKey, "/music/曲.mp3", ini));
    EXPECT_EQ(ReadBytes(ini), kDialogFile);
    EXPECT_EQ(ReadIniValue(kSettingsSection, kBgmKindKey, ini), "2");
    EXPECT_EQ(ReadIniValue(kSettingsSection, kBgmRepeatKey, ini), "0");
    EXPECT_EQ(ReadIniValue(kSettingsSection, kBgmFileKey, ini), "/music/曲.mp3");
    EXPECT_EQ(ReadIniValue("SECTION", "bgm区分", ini), "2");

    // Writing them again changes the values in place.
    ASSERT_TRUE(WriteIniValue(kSettingsSection, kBgmKindKey, "-3", ini));
    ASSERT_TRUE(WriteIniValue(kSettingsSection, kBgmFileKey, "", ini));
    EXPECT_EQ(ReadBytes(ini), "[Section]\r\n"
                              "\x42\x47\x4D\x8B\xE6\x95\xAA=-3\r\n"
                              "\x42\x47\x4D\xD8\xCB\xDF\xB0\xC4= 0\r\n"
                              "\x42\x47\x4D\xCC\xA7\xB2\xD9=\r\n");
}

TEST(SettingsFileTest, MissingFileSectionOrKeyReadsEmpty) {
    TempFolder folder;
    const std::string ini = folder.File("Kestrune.ini");
    EXPECT_EQ(ReadIniValue(kSettingsSection, kBgmKindKey, ini), "");
    EXPECT_EQ(ReadIniValue(kSettingsSection, kBgmKindKey, folder.File("no/such/Kestrune.ini")), "");
    EXPECT_EQ(ReadIniValue(kSettingsSection, kBgmKindKey, folder.Path()), ""); // a folder
    WriteBytes(ini, "[Other]\r\nBGM=1\r\n");
    EXPECT_EQ(ReadIniValue(kSettingsSection, kBgmKindKey, ini), "");
    EXPECT_EQ(ReadIniValue("Other", kBgmKindKey, ini), "");
}

TEST(SettingsFileTest, ValuesAreCutTo255CodePage932Characters) {
    TempFolder folder;
    const std::string ini = folder.File("Kestrune.ini");
    std::string kanjiBytes = "a";
    for (int i = 0; i < 150; ++i) {
        kanjiBytes += "\x88\x9F"; // "亜"
    }
    WriteBytes(ini, "[Section]\r\nascii=" + std::string(300, 'x') + "\r\nkana=" +
                        std::string(300, '\xB1') + "\r\nkanji=" + kanjiBytes + "\r\n");
    EXPECT_EQ(ReadIniValue(kSettingsSection, "ascii", ini), std::string(255, 'x'));
    // Half-width kana take one byte each; 255 of them are 765 bytes of UTF-8.
    std::string kana;
    for (int i = 0; i < 255; ++i) {
        kana += "ｱ";
    }
    EXPECT_EQ(ReadIniValue(kSettingsSection, "kana", ini), kana);
    // After "a", 127 double-byte characters fill 255 bytes exactly; the 128th
    // would not fit whole and is left out.
    std::string kanji = "a";
    for (int i = 0; i < 127; ++i) {
        kanji += "亜";
    }
    EXPECT_EQ(ReadIniValue(kSettingsSection, "kanji", ini), kanji);
    // The value written is not cut.
    ASSERT_TRUE(WriteIniValue(kSettingsSection, "long", std::string(300, 'y'), ini));
    EXPECT_NE(ReadBytes(ini).find("long=" + std::string(300, 'y') + "\r\n"), std::string::npos);
}

TEST(SettingsFileTest, AnExistingFileKeepsItsOtherLinesByteForByte) {
    TempFolder folder;
    const std::string ini = folder.File("Kestrune.ini");
    const std::string before = "; Kestrune settings, edited by hand\n"
                               "[Window]\n"
                               "left=10\n"
                               "\n"
                               "[section]\r\n"
                               "\x42\x47\x4D\x8B\xE6\x95\xAA = 1 ; note\r\n"
                               "\x42\x47\x4D\xCC\xA7\xB2\xD9=C:\\\x95\x5C\\a.mp3\n"
                               "\xFF\xFE broken bytes stay\r\n"
                               "[Section]\n"
                               "\x42\x47\x4D\x8B\xE6\x95\xAA=9\n";
    WriteBytes(ini, before);
    // Both keys in one write: each by the rules a write of its own follows.
    const IniEntry both[] = {{kBgmKindKey, " 2"}, {kBgmRepeatKey, " 5"}};
    ASSERT_TRUE(WriteIniValues(kSettingsSection, both, ini));
    EXPECT_EQ(ReadBytes(ini), "; Kestrune settings, edited by hand\n"
                              "[Window]\n"
                              "left=10\n"
                              "\n"
                              "[section]\r\n"
                              "\x42\x47\x4D\x8B\xE6\x95\xAA= 2\r\n"
                              "\x42\x47\x4D\xCC\xA7\xB2\xD9=C:\\\x95\x5C\\a.mp3\n"
                              "\xFF\xFE broken bytes stay\r\n"
                              "\x42\x47\x4D\xD8\xCB\xDF\xB0\xC4= 5\r\n"
                              "[Section]\n"
                              "\x42\x47\x4D\x8B\xE6\x95\xAA=9\n");
    EXPECT_EQ(ReadIniValue(kSettingsSection, kBgmFileKey, ini), "C:\\表\\a.mp3");
}

TEST(SettingsFileTest, AValueCodePage932CannotHoldIsRefusedAndTheFileUntouched) {
    TempFolder folder;
    const std::string ini = folder.File("Kestrune.ini");
    WriteBytes(ini, kDialogFile);
    const auto before = test::IdentityOf(ini);
    ASSERT_TRUE(before);
    EXPECT_FALSE(WriteIniValue(kSettingsSection, kBgmFileKey, "/home/zoë/música.mp3", ini));
    EXPECT_FALSE(WriteIniValue(kSettingsSection, kBgmFileKey, "/music/¥en.mp3", ini));
    EXPECT_FALSE(WriteIniValue(kSettingsSection, kBgmFileKey, "/music/a\nb.mp3", ini));
    // Several keys at once: the last one refused, the first ones not written.
    const IniEntry three[] = {
        {kBgmKindKey, " 1"}, {kBgmRepeatKey, " 3"}, {kBgmFileKey, "/home/zoë.mp3"}};
    EXPECT_FALSE(WriteIniValues(kSettingsSection, three, ini));
    const auto after = test::IdentityOf(ini);
    ASSERT_TRUE(after);
    EXPECT_EQ(ReadBytes(ini), kDialogFile);
    EXPECT_EQ(after, before);
    EXPECT_EQ(test::FolderListing(folder.Path()), "Kestrune.ini\n");
    // Nor is a new file created for it.
    EXPECT_FALSE(WriteIniValue(kSettingsSection, kBgmFileKey, "é", folder.File("new.ini")));
    EXPECT_FALSE(std::filesystem::exists(folder.File("new.ini")));
}

TEST(SettingsFileTest, SectionAndKeyHoldAtMost127Characters) {
    TempFolder folder;
    const std::string ini = folder.File("Kestrune.ini");
    ASSERT_TRUE(WriteIniValue(std::string(130, 's'), std::string(126, 'k') + "区分", "v", ini));
    EXPECT_EQ(ReadBytes(ini),
              "[" + std::string(127, 's') + "]\r\n" + std::string(126, 'k') + "\x8B\xE6=v\r\n");
}

TEST(SettingsFileTest, AFailedWriteReportsFailure) {
    TempFolder folder;
    EXPECT_FALSE(
        WriteIniValue(kSettingsSection, kBgmKindKey, " 1", folder.File("no/Kestrune.ini")));
    EXPECT_FALSE(WriteIniValue(kSettingsSection, kBgmKindKey, " 1", folder.Path()));
    EXPECT_FALSE(WriteIniValue(kSettingsSection, kBgmKindKey, " 1", ""));
}

// LoadSettings over a settings file made by the test, with a program folder
// of the test's choosing.
class LoadSettingsTest : public ::testing::Test {
protected:
    void Load(const std::string& kind, const std::string& repeat, const std::string& file) {
        std::string text = "[Section]\r\n";
        if (!kind.empty()) {
            text += "\x42\x47\x4D\x8B\xE6\x95\xAA=" + kind + "\r\n";
        }
        if (!repeat.empty()) {
            text += "\x42\x47\x4D\xD8\xCB\xDF\xB0\xC4=" + repeat + "\r\n";
        }
        if (!file.empty()) {
            text += "\x42\x47\x4D\xCC\xA7\xB2\xD9=" + file + "\r\n";
        }
        WriteBytes(m_ini, text);
        LoadSettingsFrom(m_ini, "/opt/kestrune");
    }

    TempFolder m_folder;
    std::string m_ini = m_folder.File("Kestrune.ini");
    std::string m_music = m_folder.File("song.mp3");
};

TEST_F(LoadSettingsTest, NoFileGivesTheDefaults) {
    BgmKind = 7;
    BgmRepeat = 7;
    BgmFile = "stale";
    LoadSettingsFrom(m_folder.File("missing.ini"), "/opt/kestrune");
    EXPECT_EQ(BgmKind, 0);
    EXPECT_EQ(BgmRepeat, 0);
    EXPECT_EQ(BgmFile, "");
    EXPECT_EQ(BgmFolder, "/opt/kestrune");
}

TEST_F(LoadSettingsTest, FileChoiceNeedsAFileThatOpens) {
    WriteBytes(m_music, "ID3");
    Load(" 2", " 0", m_music);
    EXPECT_EQ(BgmKind, 2);
    EXPECT_EQ(BgmFile, m_music);
    EXPECT_EQ(BgmFolder, m_folder.Path());

    Load(" 2", " 0", "");
    EXPECT_EQ(BgmKind, 0);
    EXPECT_EQ(BgmFolder, "/opt/kestrune");

    WriteBytes(m_ini, "[Section]\r\n\x42\x47\x4D\x8B\xE6\x95\xAA=2\r\n"
                      "\x42\x47\x4D\xCC\xA7\xB2\xD9=\r\n");
    LoadSettingsFrom(m_ini, "/opt/kestrune");
    EXPECT_EQ(BgmKind, 0);

    Load(" 2", " 0", m_folder.File("gone.mp3"));
    EXPECT_EQ(BgmKind, 0);
    EXPECT_EQ(BgmFile, "");
    EXPECT_EQ(BgmFolder, "/opt/kestrune");

    Load(" 2", " 0", m_folder.Path()); // a folder is no music file
    EXPECT_EQ(BgmKind, 0);
    EXPECT_EQ(BgmFile, "");

    // The CD choice does not care about the file.
    Load(" 1", " 3", m_folder.File("gone.mp3"));
    EXPECT_EQ(BgmKind, 1);
    EXPECT_EQ(BgmRepeat, 3);
    EXPECT_EQ(BgmFile, "");
    Load("1", "", m_music);
    EXPECT_EQ(BgmKind, 1);
    EXPECT_EQ(BgmFile, m_music);
}

TEST_F(LoadSettingsTest, NumbersAreRoundedDownAndRangeChecked) {
    const std::pair<const char*, int> cases[] = {
        {" 2", 2},    {"2", 2},       {"1.9", 1},         {"-1.5", -2},       {"1e1", 10},
        {"'3'", 3},   {"\" 4 \"", 4}, {"32767.9", 32767}, {"-32768", -32768}, {"-32768.5", 0},
        {"99999", 0}, {"32768", 0},   {"abc", 0},         {"&H10", 0},        {"1,5", 0},
        {"1e400", 0}, {"3 tracks", 0}};
    for (const auto& [text, expected] : cases) {
        Load(" 1", text, "");
        EXPECT_EQ(BgmRepeat, expected) << text;
        Load(text, "", "");
        EXPECT_EQ(BgmKind, expected == 2 ? 0 : expected) << text;
    }
}

TEST(FileExistsTest, OnlyRegularFilesThatOpenForReading) {
    TempFolder folder;
    const std::string separator = PathSeparator();
    const std::string file = folder.File("a.mp3");
    WriteBytes(file, "x");
    EXPECT_TRUE(FileExists(file));
    EXPECT_TRUE(FileExists(file + separator)); // one trailing separator is dropped
    EXPECT_FALSE(FileExists(file + separator + separator));
    EXPECT_FALSE(FileExists(folder.Path()));
    EXPECT_FALSE(FileExists(folder.Path() + separator));
    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(FileExists(folder.File("missing.mp3")));
}

} // namespace
} // namespace kestrune
