#include "host/core/command_line.h"

#include <gtest/gtest.h>

namespace kestrune {
namespace {

TEST(CommandLine, ModeLetterIsTheSecondCharacterUpperCased) {
    EXPECT_EQ(ModeLetter("/s"), "S");
    EXPECT_EQ(ModeLetter("-s"), "S");
    EXPECT_EQ(ModeLetter("/S"), "S");
    EXPECT_EQ(ModeLetter("/p:1234"), "P");
    EXPECT_EQ(ModeLetter("/c:99"), "C");
    // Too short to have a mode letter: a bare "s" ends like /x.
    EXPECT_EQ(ModeLetter("s"), "");
    EXPECT_EQ(ModeLetter(""), "");
    // Characters, not bytes: a multi-byte first character moves nothing.
    EXPECT_EQ(ModeLetter("／s"), "S");
    EXPECT_EQ(ModeLetter("/ｓ"), "ｓ");
}

TEST(CommandLine, ParentWindowTextStartsAtTheFourthCharacter) {
    EXPECT_EQ(ParentWindowText("/p 1234"), "1234");
    EXPECT_EQ(ParentWindowText("/P:1234"), "1234");
    EXPECT_EQ(ParentWindowText("/p"), "");
    EXPECT_EQ(ParentWindowText("/p×56"), "56");
}

TEST(CommandLine, ParentWindowHandleIsReadLeniently) {
    EXPECT_EQ(ParentWindowHandle("1234"), 1234);
    EXPECT_EQ(ParentWindowHandle("  12 34\t5"), 12345); // blanks anywhere are skipped
    EXPECT_EQ(ParentWindowHandle("77x9"), 77);          // stops where the number cannot go on
    EXPECT_EQ(ParentWindowHandle("-42"), -42);
    EXPECT_EQ(ParentWindowHandle("+8"), 8);
    EXPECT_EQ(ParentWindowHandle("1e3"), 1000);
    EXPECT_EQ(ParentWindowHandle("5e"), 5);  // a dangling exponent is not read
    EXPECT_EQ(ParentWindowHandle("2.5"), 2); // halves to even
    EXPECT_EQ(ParentWindowHandle("3.5"), 4);
    EXPECT_EQ(ParentWindowHandle("1.2.3"), 1);
    EXPECT_EQ(ParentWindowHandle("2147483647"), 2147483647);
    EXPECT_EQ(ParentWindowHandle("-2147483648"), -2147483647 - 1);
    // No digits, or a number no 32-bit handle can hold, give 0.
    EXPECT_EQ(ParentWindowHandle(""), 0);
    EXPECT_EQ(ParentWindowHandle("abc"), 0);
    EXPECT_EQ(ParentWindowHandle("-"), 0);
    EXPECT_EQ(ParentWindowHandle("&H10"), 0);
    EXPECT_EQ(ParentWindowHandle("2147483648"), 0);
    EXPECT_EQ(ParentWindowHandle("1e300"), 0);
}

} // namespace
} // namespace kestrune
