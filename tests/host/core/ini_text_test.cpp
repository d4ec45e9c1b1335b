// The profile rules of the settings file, on file text in memory.
#include "host/core/ini_text.h"

#include "host/core/text_codec.h"

#include <gtest/gtest.h>

#include <utility>

namespace kestrune {
namespace {

// File text is code page 932; the test writes it as UTF-8 and converts.
std::string Sjis(std::string_view utf8) {
    return EncodeCp932(utf8).value();
}

std::string Read(std::string_view text, std::string_view section, std::string_view key) {
    return FindProfileValue(text, section, key).value_or("<missing>");
}

std::string Set(std::string_view text, std::string_view section, std::string_view key,
                std::string_view value) {
    const ProfileEdit edit = SetProfileValue(text, section, key, value);
    EXPECT_EQ(edit.status, ProfileEditStatus::Changed);
    return edit.text;
}

TEST(IniTextTest, MatchesNamesWithoutRegardToCaseAndTrimsBlanks) {
    const std::string text = Sjis(" \t[ Section\t]\r\n\t BGM区分 \v=\t 2 \r\n");
    EXPECT_EQ(Read(text, "Section", "BGM区分"), "2");
    EXPECT_EQ(Read(text, "SECTION", "bgm区分"), "2");
    EXPECT_EQ(Read(text, "  section  ", "  Bgm区分 "), "2");    // spaces around the names asked for
    EXPECT_EQ(Read(text, "\tSection", "BGM区分"), "<missing>"); // but not tabs
    EXPECT_EQ(Read(text, "Sect", "BGM区分"), "<missing>");
    EXPECT_EQ(Read(text, "Section", "BGM"), "<missing>");
    // Only ASCII letters fold: full-width (or Greek, Cyrillic) letters must
    // match in case too, as with the profile calls.
    EXPECT_EQ(Read(Sjis("[ｓｅｃ]\nＫＥＹ=1\n"), "ＳＥＣ", "ｋｅｙ"), "<missing>");
    EXPECT_EQ(Read(Sjis("[ｓｅｃ]\nＫＥＹ=1\n"), "ｓｅｃ", "ＫＥＹ"), "1");
    EXPECT_EQ(Read(Sjis("[дом]\nΑ=1\n"), "ДОМ", "Α"), "<missing>");
}

TEST(IniTextTest, FormFeedAndCtrlZAreBlanksTheIdeographicSpaceIsNot) {
    const std::string text = Sjis("\f[\x1A s\f]\r\n"
                                  "\vk\f=\x1A"
                                  "1\x1A\r\n"
                                  "　j　=　2　\r\n"
                                  "=empty key\r\n"
                                  "\x1A");
    EXPECT_EQ(Read(text, "s", "k"), "1");
    EXPECT_EQ(Read(text, "s", "j"), "<missing>");
    EXPECT_EQ(Read(text, "s", "　j　"), Sjis("　2　"));
    EXPECT_EQ(Read(text, "s", ""), "empty key");
    EXPECT_EQ(Read(text, "s", " "), "empty key");
    // A write after an end-of-file mark leaves the mark where it was.
    EXPECT_EQ(Set(text, "s", "n", "3"), text.substr(0, text.size() - 1) + "n=3\r\n\x1A");
}

TEST(IniTextTest, OnlyTheLittleEndianUtf16MarkMakesAUnicodeFile) {
    const std::string unicode = "\xFF\xFE" + Utf8ToUtf16Le("[Section]\r\nBGM区分=€ 2\r\n");
    EXPECT_EQ(Read(unicode, "section", "bgm区分"), "? 2");
    // Written back as UTF-16, the other lines untouched.
    EXPECT_EQ(Set(unicode, "Section", "BGMﾌｧｲﾙ", "曲"),
              "\xFF\xFE" + Utf8ToUtf16Le("[Section]\r\nBGM区分=€ 2\r\nBGMﾌｧｲﾙ=曲\r\n"));
    EXPECT_EQ(Utf16LeToUtf8(Utf8ToUtf16Le("a😀曲")), "a😀曲");
    // An unpaired surrogate survives a round trip.
    EXPECT_EQ(Utf8ToUtf16Le(Utf16LeToUtf8(std::string("\x00\xD8x\x00", 4))),
              std::string("\x00\xD8x\x00", 4));

    // A UTF-8 mark is text at the start of the first line: no header there.
    EXPECT_EQ(Read("\xEF\xBB\xBF[s]\r\nk=1\r\n[t]\r\nk=2\r\n", "s", "k"), "<missing>");
    EXPECT_EQ(Read("\xEF\xBB\xBF[s]\r\nk=1\r\n[t]\r\nk=2\r\n", "t", "k"), "2");
    // The big-endian mark makes no Unicode file: its NUL bytes match nothing.
    std::string bigEndian = "\xFE\xFF" + Utf8ToUtf16Le("[s]\r\nk=1\r\n");
    for (std::size_t at = 2; at + 1 < bigEndian.size(); at += 2) {
        std::swap(bigEndian[at], bigEndian[at + 1]);
    }
    EXPECT_EQ(Read(bigEndian, "s", "k"), "<missing>");
}

TEST(IniTextTest, StripsOneMatchingPairOfQuotes) {
    EXPECT_EQ(Read("[s]\nk=  \"  v  \"  \n", "s", "k"), "  v  ");
    EXPECT_EQ(Read("[s]\nk='v'\n", "s", "k"), "v");
    EXPECT_EQ(Read("[s]\nk=\"'v'\"\n", "s", "k"), "'v'");
    EXPECT_EQ(Read("[s]\nk=\"\"\n", "s", "k"), "");
    EXPECT_EQ(Read("[s]\nk=\"v'\n", "s", "k"), "\"v'");
    EXPECT_EQ(Read("[s]\nk=\"\n", "s", "k"), "\"");
    EXPECT_EQ(Read("[s]\nk=a \"b\"\n", "s", "k"), "a \"b\"");
}

TEST(IniTextTest, FirstSectionAndFirstKeyWin) {
    const std::string text = "[s]\nk=first\nk=second\n[other]\nk=x\n[S]\nk=third\nonly=here\n";
    EXPECT_EQ(Read(text, "s", "k"), "first");
    EXPECT_EQ(Read(text, "s", "only"), "<missing>");
    // A write changes that same first occurrence and nothing else.
    EXPECT_EQ(Set(text, "s", "k", "new"),
              "[s]\nk=new\r\nk=second\n[other]\nk=x\n[S]\nk=third\nonly=here\n");
}

TEST(IniTextTest, CommentsSectionsAndLinesWithoutEquals) {
    const std::string text = "k=outside\n"
                             "[s]trailing k=behind the bracket\n"
                             ";k=comment\n"
                             "   ;k=indented comment\n"
                             "#k=hash\n"
                             "a;b=semicolon inside\n"
                             "v=value ;not a comment\n"
                             "bare\n"
                             "[unclosed  \n"
                             "u=1\n";
    EXPECT_EQ(Read(text, "", "k"), "<missing>"); // before any section
    EXPECT_EQ(Read(text, "s", "k"), "<missing>");
    EXPECT_EQ(Read(text, "s", ";k"), "<missing>");
    EXPECT_EQ(Read(text, "s", "#k"), "hash");
    EXPECT_EQ(Read(text, "s", "a;b"), "semicolon inside");
    EXPECT_EQ(Read(text, "s", "v"), "value ;not a comment");
    EXPECT_EQ(Read(text, "s", "bare"), "");
    EXPECT_EQ(Read(text, "unclosed", "u"), "1");
    // A key without "=" is replaced, not repeated.
    EXPECT_EQ(Set("[s]\nbare\n", "s", "BARE", "x"), "[s]\nbare=x\r\n");
}

TEST(IniTextTest, DoubleByteTrailBytesAreNeverStructure) {
    // "評" is 0x95 0x5D and "表" 0x95 0x5C: their trail bytes are "]" and "\".
    // The section name runs past such a trail byte to the real bracket.
    const std::string text = "[\x95\x5D\x95\x5C]\r\n\x95\x5D=\x95\x5C\r\n";
    EXPECT_EQ(Read(text, "評表", "評"), "\x95\x5C");
    const std::string written = Set("", "評", "表", "x");
    EXPECT_EQ(written, "[\x95\x5D]\r\n\x95\x5C=x\r\n");
    EXPECT_EQ(Read(written, "評", "表"), "x");
    // "評" holds a "]" byte, yet it is a valid section name to write.
    EXPECT_EQ(SetProfileValue("", "ゾ評", "k", "v").status, ProfileEditStatus::Changed);
}

TEST(IniTextTest, WritesKeepEveryOtherLineByteForByte) {
    const std::string text = Sjis("; settings\n"
                                  "[Other]\r\n"
                                  "x = 1\n"
                                  "[Section]\r\n"
                                  "  bgm区分 = 1   \n"
                                  "unknown=keep me\r"
                                  "; trailer\r\n"
                                  "\r\n"
                                  "[Last]\n"
                                  "z=9");
    // An existing key keeps its spelling and gets a fresh CR LF line.
    EXPECT_EQ(Set(text, "section", "BGM区分", " 2"),
              Sjis("; settings\n[Other]\r\nx = 1\n[Section]\r\nbgm区分= 2\r\nunknown=keep me\r"
                   "; trailer\r\n\r\n[Last]\n"
                   "z=9"));
    // A new key goes after the section's last entry, above its comments.
    EXPECT_EQ(Set(text, "Section", "new", "v"),
              Sjis("; settings\n[Other]\r\nx = 1\n[Section]\r\n  bgm区分 = 1   \nunknown=keep me\r"
                   "new=v\r\n; trailer\r\n\r\n[Last]\n"
                   "z=9"));
    // A last line without a line break gets one before anything follows it.
    EXPECT_EQ(Set(text, "Last", "y", "8"), text + "\r\ny=8\r\n");
    EXPECT_EQ(Set(text, "Fresh", "k", ""), text + "\r\n[Fresh]\r\nk=\r\n");
    EXPECT_EQ(Set("[Empty]", "Empty", "k", "v"), "[Empty]\r\nk=v\r\n");
    // A value is written exactly as given.
    EXPECT_EQ(Set("", "Section", "BGMﾌｧｲﾙ", "  'a b'  "),
              Sjis("[Section]\r\nBGMﾌｧｲﾙ=  'a b'  \r\n"));
}

TEST(IniTextTest, RefusesWritesThatWouldBreakTheFile) {
    const std::string text = "[s]\nk=v\n";
    for (const auto& [section, key, value] :
         std::initializer_list<std::tuple<std::string_view, std::string_view, std::string_view>>{
             {"s", "k", "two\nlines"},
             {"s", "k", "cr\r"},
             {"s", "k", std::string_view("nul\0", 4)},
             {"s", "a=b", "v"},
             {"s", ";k", "v"},
             {"s", "\t[k", "v"},
             {"s", "", "v"},
             {"s", "  ", "v"},
             {"s]x", "k", "v"},
             {"s\n", "k", "v"}}) {
        EXPECT_EQ(SetProfileValue(text, section, key, value).status, ProfileEditStatus::InvalidName)
            << section << "/" << key;
    }
    EXPECT_EQ(SetProfileValue(text, "s", "k", "café").status, ProfileEditStatus::Unrepresentable);
    EXPECT_EQ(SetProfileValue(text, "séction", "k", "v").status,
              ProfileEditStatus::Unrepresentable);
}

} // namespace
} // namespace kestrune
