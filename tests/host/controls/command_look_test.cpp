// The command button's look without a window: its state pictures and the
// skin painted into a backing image in twips arithmetic. Its states and
// Click rules are tested on a real form (command_control_test.cpp).
#include "host/controls/command_pictures.h"
#include "host/controls/command_skin.h"

#include <gtest/gtest.h>

namespace kestrune {
namespace {

using forms::Rgb;

Rgb PixelOf(const Picture& picture, int x, int y) {
    const std::uint8_t* p = picture.PixelAt(x, y);
    return Rgb{p[0], p[1], p[2]};
}

constexpr Rgb kOutline{0, 60, 116};

TEST(CommandPicturesTest, EachLookHasItsFrame) {
    const Picture& normal = CommandLookPicture(CommandLook::Normal);
    ASSERT_EQ(normal.width, 64);
    ASSERT_EQ(normal.height, 25);
    // The outline one pixel inside the edge, rounded at the corners.
    EXPECT_EQ(PixelOf(normal, 30, 1), kOutline);
    EXPECT_EQ(PixelOf(normal, 1, 12), kOutline);
    EXPECT_EQ(PixelOf(normal, 62, 12), kOutline);
    EXPECT_EQ(PixelOf(normal, 30, 23), kOutline);
    EXPECT_NE(PixelOf(normal, 1, 1), kOutline);
    EXPECT_EQ(PixelOf(normal, 2, 2), kOutline);
    EXPECT_NE(PixelOf(normal, 30, 0), kOutline);

    // Hover: an amber ring inside the outline, pale at the top, deep amber at
    // the bottom; hover with focus looks the same.
    const Picture& hover = CommandLookPicture(CommandLook::HighLight);
    EXPECT_EQ(PixelOf(hover, 30, 1), kOutline);
    const Rgb hoverTop = PixelOf(hover, 30, 2);
    const Rgb hoverBottom = PixelOf(hover, 30, 22);
    EXPECT_GT(hoverTop.blue, 150);
    EXPECT_LT(hoverBottom.blue, 30);
    EXPECT_GT(hoverBottom.red, 220);
    EXPECT_EQ(hover.rgb, CommandLookPicture(CommandLook::HighLightSelect).rgb);

    // Focus: a light-blue ring, deeper blue at the bottom.
    const Picture& focus = CommandLookPicture(CommandLook::Selected);
    EXPECT_EQ(PixelOf(focus, 30, 2), (Rgb{206, 231, 255}));
    EXPECT_LT(PixelOf(focus, 30, 22).red, 120);

    // Pressed: the outline a pixel further in.
    const Picture& pressed = CommandLookPicture(CommandLook::Pressed);
    EXPECT_NE(PixelOf(pressed, 30, 1), kOutline);
    EXPECT_EQ(PixelOf(pressed, 30, 2), kOutline);
    EXPECT_EQ(PixelOf(pressed, 2, 12), kOutline);

    // Disabled: a grey outline and no blue anywhere in the frame.
    const Picture& disabled = CommandLookPicture(CommandLook::Disable);
    EXPECT_EQ(PixelOf(disabled, 30, 1), (Rgb{201, 199, 186}));

    // The same pictures on every call and every run.
    EXPECT_EQ(MakeCommandLookPicture(CommandLook::Pressed).rgb, pressed.rgb);
}

TEST(CommandSkinTest, GradientColoursAreTheHighBytesOfTheirTexts) {
    const std::optional<GradientVertex> tint = VertexColour(kGradientTint);
    ASSERT_TRUE(tint);
    EXPECT_EQ(tint->red, 198 << 8);
    EXPECT_EQ(tint->green, 197 << 8);
    EXPECT_EQ(tint->blue, 215 << 8);
    EXPECT_EQ(tint->alpha, 0);
    EXPECT_EQ(VertexColour(kGradientWhite)->blue, 0xFF00);
    EXPECT_FALSE(VertexColour("&HC6C5D"));
    EXPECT_FALSE(VertexColour("#C6C5D7X"));
}

TEST(CommandSkinTest, PaintsTheFrameOverTheGradient) {
    // The dialog's Save button: 1155 x 375 twips, 77 x 25 pixels.
    const SkinMetrics metrics{1155, 375, 15, 15};
    const Rgb background{1, 2, 3};
    for (const bool tintTop : {true, false}) {
        forms::Surface surface(77, 25, Rgb{});
        PaintSkin(surface, CommandLookPicture(CommandLook::HighLight), metrics, background,
                  tintTop);
        const Picture& picture = CommandLookPicture(CommandLook::HighLight);
        // The frame's 4 pixels on every side come from the picture: corners
        // as they are, edges stretched.
        for (int x = 0; x < 4; ++x) {
            for (int y = 0; y < 4; ++y) {
                EXPECT_EQ(surface.PixelAt(x, y), PixelOf(picture, x, y));
                EXPECT_EQ(surface.PixelAt(76 - x, 24 - y), PixelOf(picture, 63 - x, 24 - y));
            }
            EXPECT_EQ(surface.PixelAt(38, x), PixelOf(picture, 30, x));
            EXPECT_EQ(surface.PixelAt(38, 24 - x), PixelOf(picture, 30, 24 - x));
        }
        EXPECT_EQ(surface.PixelAt(1, 12), kOutline);
        EXPECT_EQ(surface.PixelAt(75, 12), kOutline);
        // Inside, the gradient runs from the tint to white or the reverse,
        // the same across each row.
        const Rgb top = surface.PixelAt(38, 4);
        const Rgb bottom = surface.PixelAt(38, 20);
        EXPECT_EQ(surface.PixelAt(5, 4), top);
        const Rgb& tintSide = tintTop ? top : bottom;
        const Rgb& whiteSide = tintTop ? bottom : top;
        EXPECT_LT(tintSide.red, whiteSide.red);
        EXPECT_LT(tintSide.blue, whiteSide.blue);
        EXPECT_GE(tintSide.red, 198);
        EXPECT_GT(tintSide.blue, tintSide.red); // the tint is bluish
        for (int x = 0; x < 77; ++x) {
            for (int y = 0; y < 25; ++y) {
                EXPECT_NE(surface.PixelAt(x, y), background) << x << "," << y;
            }
        }
    }

    // The gradient alone puts exactly the tint on the first row.
    forms::Surface surface(77, 25, Rgb{});
    FillGradient(surface, metrics, true);
    EXPECT_EQ(surface.PixelAt(0, 0), (Rgb{198, 197, 215}));
    FillGradient(surface, metrics, false);
    EXPECT_EQ(surface.PixelAt(0, 0), (Rgb{255, 255, 255}));
}

TEST(CommandSkinTest, CaptionSitsTenTwipsAboveTheMiddle) {
    // (375 - 195 - 20) / 2 = 80 twips, 5.33 pixels.
    EXPECT_EQ(CaptionTopPixels(SkinMetrics{1155, 375, 15, 15}, 195), 5);
    EXPECT_EQ(CaptionTopPixels(SkinMetrics{615, 315, 15, 15}, 195), 3);
}

} // namespace
} // namespace kestrune
