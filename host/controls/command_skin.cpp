#include "host/controls/command_skin.h"

#include <array>
#include <cmath>
#include <limits>

namespace kestrune {

namespace {

// The frame's corner size and the state picture's size, in twips.
constexpr int kCorner = 60;
constexpr int kPictureWidth = 960;
constexpr int kPictureHeight = 375;
// The state pictures are made at 15 twips a pixel whatever the screen's
// scale: 960 x 375 twips is their 64 x 25 pixels.
constexpr int kPictureTwipsPerPixel = 15;

// A rectangle in twips: left, top, width, height.
struct TwipsBox {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct FramePiece {
    TwipsBox destination;
    TwipsBox source;
};

std::optional<int> HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return std::nullopt;
}

forms::Rgb ColourOf(const GradientVertex& vertex) {
    return forms::Rgb{static_cast<std::uint8_t>(vertex.red >> 8),
                      static_cast<std::uint8_t>(vertex.green >> 8),
                      static_cast<std::uint8_t>(vertex.blue >> 8)};
}

// The middle size of one side, W - 120 or H - 120, held as a 16-bit value
// the way the button keeps it; a size that would not fit is dropped, and a
// side shorter than its two corners gets no middle piece.
int MiddleSize(int sideTwips) {
    const int middle = sideTwips - 2 * kCorner;
    if (middle < 0 || middle > std::numeric_limits<std::int16_t>::max()) {
        return 0;
    }
    return middle;
}

forms::Box ToPixels(const TwipsBox& box, int twipsPerPixelX, int twipsPerPixelY) {
    return forms::Box{TwipsToPixels(box.x, twipsPerPixelX), TwipsToPixels(box.y, twipsPerPixelY),
                      TwipsToPixels(box.width, twipsPerPixelX),
                      TwipsToPixels(box.height, twipsPerPixelY)};
}

} // namespace

std::optional<GradientVertex> VertexColour(std::string_view colourText) {
    if (colourText.size() != 8 || colourText[0] != '&' ||
        (colourText[1] != 'H' && colourText[1] != 'h')) {
        return std::nullopt;
    }
    std::array<std::uint16_t, 3> channels{};
    for (std::size_t pair = 0; pair < 3; ++pair) {
        const std::optional<int> high = HexDigit(colourText[2 + 2 * pair]);
        const std::optional<int> low = HexDigit(colourText[3 + 2 * pair]);
        if (!high || !low) {
            return std::nullopt;
        }
        // The pair is the channel's high byte; its low byte stays 0.
        channels[pair] = static_cast<std::uint16_t>((*high * 16 + *low) << 8);
    }
    GradientVertex vertex;
    vertex.red = channels[0];
    vertex.green = channels[1];
    vertex.blue = channels[2];
    return vertex;
}

int TwipsToPixels(int twips, int twipsPerPixel) {
    return static_cast<int>(
        std::lround(static_cast<double>(twips) / static_cast<double>(twipsPerPixel)));
}

void FillGradient(forms::Surface& surface, const SkinMetrics& metrics, bool tintTop) {
    const std::optional<GradientVertex> tint = VertexColour(kGradientTint);
    const std::optional<GradientVertex> white = VertexColour(kGradientWhite);
    if (!tint || !white) {
        return;
    }
    GradientVertex first = tintTop ? *tint : *white;
    GradientVertex second = tintTop ? *white : *tint;
    first.x = 0;
    first.y = 0;
    second.x = TwipsToPixels(metrics.widthTwips, metrics.twipsPerPixelX) - 1;
    second.y = TwipsToPixels(metrics.heightTwips, metrics.twipsPerPixelY) - 1;
    // The rectangle between the two vertices, right and bottom exclusive, as
    // the window system fills one.
    surface.FillVerticalGradient(
        forms::Box{first.x, first.y, second.x - first.x, second.y - first.y}, ColourOf(first),
        ColourOf(second));
}

void PaintSkin(forms::Surface& surface, const Picture& picture, const SkinMetrics& metrics,
               forms::Rgb background, bool tintTop) {
    const int w = metrics.widthTwips;
    const int h = metrics.heightTwips;
    const int middleW = MiddleSize(w);
    const int middleH = MiddleSize(h);

    surface.Clear(background);
    FillGradient(surface, metrics, tintTop);

    const int c = kCorner;
    const std::array<FramePiece, 8> pieces = {{
        {{1, 1, c, c}, {0, 0, c, c}},                           // top-left corner
        {{c, 1, middleW, c}, {c, 1, kPictureWidth - 2 * c, c}}, // top edge
        {{w - c, 1, c, c}, {kPictureWidth - c, 1, c, c}},       // top-right corner
        {{w - c, c, c, middleH}, {kPictureWidth - c, c, c, kPictureHeight - 2 * c}}, // right
        {{w - c, h - c, c, c}, {kPictureWidth - c, kPictureHeight - c, c, c}},       // bottom-right
        {{c, h - c, middleW, c}, {c, kPictureHeight - c, kPictureWidth - 2 * c, c}}, // bottom
        {{1, h - c, c, c}, {0, kPictureHeight - c, c, c}},       // bottom-left corner
        {{1, c, c, middleH}, {1, c, c, kPictureHeight - 2 * c}}, // left edge
    }};
    for (const FramePiece& piece : pieces) {
        surface.StretchPicture(
            picture, ToPixels(piece.source, kPictureTwipsPerPixel, kPictureTwipsPerPixel),
            ToPixels(piece.destination, metrics.twipsPerPixelX, metrics.twipsPerPixelY));
    }
}

int CaptionTopPixels(const SkinMetrics& metrics, int captionHeightTwips) {
    const double topTwips = (metrics.heightTwips - captionHeightTwips - 20) / 2.0;
    return static_cast<int>(std::lround(topTwips / metrics.twipsPerPixelY));
}

} // namespace kestrune
