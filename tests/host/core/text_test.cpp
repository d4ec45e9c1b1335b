// The text conversions under the settings file: code page 932 at the file's
// edge and numeric text.
#include "host/core/numeric_text.h"
#include "host/core/text_codec.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kestrune {
namespace {

TEST(TextCodecTest, KeysHaveTheirCodePage932Bytes) {
    EXPECT_EQ(EncodeCp932("BGM区分"), std::string("\x42\x47\x4D\x8B\xE6\x95\xAA"));
    EXPECT_EQ(EncodeCp932("BGMﾘﾋﾟｰﾄ"), std::string("\x42\x47\x4D\xD8\xCB\xDF\xB0\xC4"));
    EXPECT_EQ(EncodeCp932("BGMﾌｧｲﾙ"), std::string("\x42\x47\x4D\xCC\xA7\xB2\xD9"));
    EXPECT_EQ(DecodeCp932("\x42\x47\x4D\x8B\xE6\x95\xAA"), "BGM区分");
    // Microsoft's table, not JIS: 0x5C is the backslash, 0x815F the full-width
    // one, and the NEC and IBM extension characters decode.
    EXPECT_EQ(DecodeCp932("C:\\\x81\x5F\x87\x54\xFA\x40"), "C:\\＼Ⅰⅰ");
    EXPECT_EQ(EncodeCp932(""), std::string());
}

TEST(TextCodecTest, RefusesWhatCodePage932CannotHoldExactly) {
    EXPECT_FALSE(EncodeCp932("/home/zoë/café.mp3"));
    EXPECT_FALSE(EncodeCp932("music \xF0\x9F\x8E\xB5"));
    // Converters write these as look-alikes (0x5C, 0x7E); that would change
    // the text, so they count as unrepresentable.
    EXPECT_FALSE(EncodeCp932("¥100"));
    EXPECT_FALSE(EncodeCp932("‾"));
    EXPECT_FALSE(EncodeCp932("bad \xFF utf-8"));
}

TEST(TextCodecTest, BrokenBytesDecodeAsReplacementCharacters) {
    // 0x85 0x40 is an unassigned pair, 0xA0 and 0xFD no character, and a lead
    // byte before a line break keeps the line break.
    EXPECT_EQ(DecodeCp932("a\x85\x40"
                          "b\xA0\xFD"
                          "c\x81\n"),
              "a\uFFFDb\uFFFD\uFFFDc\uFFFD\n");
}

TEST(TextCodecTest, PrefixNeverSplitsADoubleByteCharacter) {
    const std::string text = "ab\x8B\xE6\x95\xAA"
                             "c"; // "ab区分c"
    EXPECT_EQ(Cp932Prefix(text, 3), "ab");
    EXPECT_EQ(Cp932Prefix(text, 4), "ab\x8B\xE6");
    EXPECT_EQ(Cp932Prefix(text, 5), "ab\x8B\xE6");
    EXPECT_EQ(Cp932Prefix(text, 100), text);
    EXPECT_EQ(Cp932CharLength("\x81\n", 0), 1u);
    EXPECT_EQ(Cp932CharLength("\x95\x5D", 0), 2u); // the trail byte is "]"
}

TEST(NumericTextTest, AcceptsDecimalNumbersWithSignFractionExponentAndBlanks) {
    EXPECT_EQ(ParseNumericText("2"), 2.0);
    EXPECT_EQ(ParseNumericText(" 2"), 2.0);
    EXPECT_EQ(ParseNumericText("\t-1.5  "), -1.5);
    EXPECT_EQ(ParseNumericText("+.5"), 0.5);
    EXPECT_EQ(ParseNumericText("3."), 3.0);
    EXPECT_EQ(ParseNumericText("1e3"), 1000.0);
    EXPECT_EQ(ParseNumericText("2.5E-1"), 0.25);
    EXPECT_EQ(ParseNumericText("007"), 7.0);
    EXPECT_TRUE(std::isinf(*ParseNumericText("1e400")));
    EXPECT_EQ(ParseNumericText("1e-400"), 0.0);
    EXPECT_EQ(ParseNumericText("0.000000000000000000001e-390"), 0.0);
    EXPECT_TRUE(std::isinf(*ParseNumericText("-9999999999999999e999")));
}

TEST(NumericTextTest, RefusesEverythingElse) {
    for (const char* text : {"", " ", "+", "-", ".", "e3", "1e", "1e+", "- 1", "1 2", "1,5",
                             "1.2.3", "&H10", "0x10", "inf", "nan", "2a", "２", "1d2"}) {
        EXPECT_FALSE(ParseNumericText(text)) << '"' << text << '"';
    }
}

TEST(NumericTextTest, NumberTextHasABlankBeforePositiveDigits) {
    EXPECT_EQ(NumberText(2), " 2");
    EXPECT_EQ(NumberText(0), " 0");
    EXPECT_EQ(NumberText(-3), "-3");
    EXPECT_EQ(NumberText(-32768), "-32768");
}

} // namespace
} // namespace kestrune
