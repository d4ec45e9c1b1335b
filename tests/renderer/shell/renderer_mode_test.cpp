#include "renderer/shell/renderer_mode.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

namespace kestrune {
namespace {

RendererMode Choose(std::initializer_list<std::string_view> arguments,
                    const char* screensaverWindow = nullptr) {
    const std::vector<std::string_view> list(arguments);
    return ChooseRendererMode(list, screensaverWindow);
}

TEST(RendererMode, NoArgumentsIsTheFullscreenShowWhateverTheEnvironment) {
    const RendererMode mode = Choose({}, "0x400001");
    EXPECT_FALSE(mode.embedded);
    EXPECT_TRUE(mode.error.empty());
}

TEST(RendererMode, RootDrawsIntoTheScreensaversWindowOrElseTheRoot) {
    for (const char* root : {"-root", "--root"}) {
        const RendererMode given = Choose({root}, "0x1a00007");
        ASSERT_TRUE(given.embedded) << given.error;
        EXPECT_EQ(given.embedded->window, 0x1a00007u);
        EXPECT_EQ(given.embedded->frameDelayMicroseconds, kDefaultFrameDelayMicroseconds);

        for (const char* unset : {static_cast<const char*>(nullptr), ""}) {
            const RendererMode bare = Choose({root}, unset);
            ASSERT_TRUE(bare.embedded) << bare.error;
            EXPECT_FALSE(bare.embedded->window) << "the root window";
        }
    }
    // A value that names no window is not quietly taken for the desktop.
    EXPECT_FALSE(Choose({"-root"}, "window").error.empty());
}

TEST(RendererMode, WindowIdWinsOverRootInEitherOrderAndDelayIsKept) {
    for (const auto& mode : {Choose({"--root", "--window-id", "0x2c00003"}, "0x400001"),
                             Choose({"-window-id", "46137347", "-root", "-delay", "0"})}) {
        ASSERT_TRUE(mode.embedded) << mode.error;
        EXPECT_EQ(mode.embedded->window, 0x2c00003u);
    }
    const RendererMode slow = Choose({"-delay", "10000000", "-window-id", "0X2A"});
    ASSERT_TRUE(slow.embedded) << slow.error;
    EXPECT_EQ(slow.embedded->window, 42u);
    EXPECT_EQ(slow.embedded->frameDelayMicroseconds, kLongestFrameDelayMicroseconds);
    const RendererMode none = Choose({"-root", "--delay", "0"});
    ASSERT_TRUE(none.embedded) << none.error;
    EXPECT_EQ(none.embedded->frameDelayMicroseconds, 0u);
}

TEST(RendererMode, RefusesWhatItCannotDoWithAReason) {
    const std::vector<std::vector<std::string_view>> refused = {
        {"-window"},                     // its own window: not a mode of the renderer
        {"/s"},                          // the host's arguments are not the renderer's
        {"-delay", "20000"},             // no window to draw into
        {"-root", "-delay"},             // a value is missing
        {"-root", "-delay", "10000001"}, // beyond the longest pause
        {"-root", "-delay", "-5"},       // no negative pause
        {"-root", "-delay", "2e4"},      // digits only
        {"-window-id", "0"},             // names no window
        {"-window-id", "0x"},            // no digits
        {"-window-id", "12ab"},          // decimal with stray letters
        {"-window-id", "0x100000000"},   // beyond 32 bits
        {"-window-id", " 42"},           // no blanks
        {"-root", "---root"},            // not an option
    };
    for (const auto& arguments : refused) {
        const RendererMode mode = ChooseRendererMode(arguments, nullptr);
        EXPECT_FALSE(mode.embedded) << arguments.back();
        EXPECT_FALSE(mode.error.empty()) << arguments.back();
    }
}

TEST(RendererMode, WindowIdsAreDecimalOrHexadecimalUpTo32Bits) {
    EXPECT_EQ(ParseWindowId("4294967295"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseWindowId("0xffffffff"), 0xFFFFFFFFu);
    EXPECT_FALSE(ParseWindowId("4294967296"));
    EXPECT_FALSE(ParseWindowId("0x0"));
    EXPECT_FALSE(ParseWindowId("+5"));
    EXPECT_FALSE(ParseWindowId("0x-5"));
    EXPECT_FALSE(ParseWindowId(""));
}

} // namespace
} // namespace kestrune
