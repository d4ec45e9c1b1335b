#include "renderer/shell/shell_input.h"

#include <gtest/gtest.h>

namespace kestrune {
namespace {

using Action = ShellInput::IdleAction;

TEST(ShellInput, EscapeEndsTheLoopOnlyWhileActive) {
    ShellInput input;
    EXPECT_EQ(input.OnIdle(), Action::DrawFrame);

    // Other keys never end the renderer.
    input.KeyDown('A');
    input.KeyDown(0x0D);
    EXPECT_EQ(input.OnIdle(), Action::DrawFrame);

    // Escape while minimised is not looked at; once restored, if the key is
    // still marked down, the next idle pass ends the loop.
    input.SetMinimised(true);
    input.KeyDown(kVkEscape);
    EXPECT_EQ(input.OnIdle(), Action::Skip);
    input.SetMinimised(false);
    EXPECT_EQ(input.OnIdle(), Action::EndLoop);

    // Released again before the restore: the show goes on.
    input.SetMinimised(true);
    input.KeyUp(kVkEscape);
    input.SetMinimised(false);
    EXPECT_EQ(input.OnIdle(), Action::DrawFrame);
}

TEST(ShellInput, AnEscapeTapBetweenTwoFramesStillEndsTheLoop) {
    // Key-down and key-up both handled before the loop looks: a slow frame
    // must not lose the key.
    ShellInput input;
    input.KeyDown(kVkEscape);
    input.KeyUp(kVkEscape);
    EXPECT_FALSE(input.IsKeyDown(kVkEscape));
    EXPECT_EQ(input.OnIdle(), Action::EndLoop);

    // A tap of another key, or a tap while minimised, ends nothing, and the
    // tap is forgotten by the time the window is restored.
    ShellInput other;
    other.KeyDown('Q');
    other.KeyUp('Q');
    EXPECT_EQ(other.OnIdle(), Action::DrawFrame);
    other.SetMinimised(true);
    other.KeyDown(kVkEscape);
    other.KeyUp(kVkEscape);
    EXPECT_EQ(other.OnIdle(), Action::Skip);
    other.SetMinimised(false);
    EXPECT_EQ(other.OnIdle(), Action::DrawFrame);
}

TEST(ShellInput, KeyTableTracksDownAndUpAndIgnoresCodesOutOfRange) {
    ShellInput input;
    input.KeyDown(0x41);
    EXPECT_TRUE(input.IsKeyDown(0x41));
    EXPECT_FALSE(input.IsKeyDown(0x42));
    input.KeyUp(0x41);
    EXPECT_FALSE(input.IsKeyDown(0x41));

    input.KeyDown(255);
    EXPECT_TRUE(input.IsKeyDown(255));
    input.KeyDown(256);
    input.KeyDown(100000);
    EXPECT_FALSE(input.IsKeyDown(256));
    EXPECT_FALSE(input.IsKeyDown(100000));
}

} // namespace
} // namespace kestrune
