#pragma once

#include "host/forms/forms_types.h"
#include "host/forms/picture.h"
#include "host/forms/surface.h"

#include <cstdint>
#include <optional>
#include <string_view>

// How the command button paints itself into its backing image: a vertical
// gradient, then a frame of eight pieces cut from a state picture and
// stretched to the button's size. The layout is worked out in twips, as the
// button's coordinates are kept, and turned into pixels only for drawing.
namespace kestrune {

// The two gradient colours, as colour texts of six hexadecimal digits after
// "&H", read as the pairs red, green, blue.
inline constexpr std::string_view kGradientTint = "&HC6C5D7";
inline constexpr std::string_view kGradientWhite = "&HFFFFFF";

// One corner of a gradient fill: a position in pixels and 16-bit channels,
// of which the drawing uses the high byte.
struct GradientVertex {
    int x = 0;
    int y = 0;
    std::uint16_t red = 0;
    std::uint16_t green = 0;
    std::uint16_t blue = 0;
    std::uint16_t alpha = 0;
};

// The vertex colour of a colour text: each pair of digits becomes the high
// byte of its 16-bit channel, the low byte 0, alpha 0. Nothing when the text
// is not "&H" and six hexadecimal digits.
std::optional<GradientVertex> VertexColour(std::string_view colourText);

// A size or position in twips as whole pixels, rounded to the nearest.
int TwipsToPixels(int twips, int twipsPerPixel);

// The button's size and the screen's scale.
struct SkinMetrics {
    int widthTwips = 0;
    int heightTwips = 0;
    int twipsPerPixelX = 15;
    int twipsPerPixelY = 15;
};

// The gradient across the whole button, in pixels from (0, 0) to (width - 1,
// height - 1): the tint at the top and white at the bottom when `tintTop`,
// the reverse otherwise.
void FillGradient(forms::Surface& surface, const SkinMetrics& metrics, bool tintTop);

// The whole skin in one state picture: cleared to `background`, the
// gradient, then the eight frame pieces. The centre of the picture is never
// drawn.
void PaintSkin(forms::Surface& surface, const Picture& picture, const SkinMetrics& metrics,
               forms::Rgb background, bool tintTop);

// The caption's top in pixels for a caption `captionHeightTwips` high:
// centred, 10 twips above the middle.
int CaptionTopPixels(const SkinMetrics& metrics, int captionHeightTwips);

} // namespace kestrune
