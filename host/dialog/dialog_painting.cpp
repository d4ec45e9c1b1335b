#include "host/dialog/dialog_painting.h"

#include "host/dialog/repeat_text.h"

#include <cmath>

namespace kestrune {

namespace {

// The gradient's brightest grey and the blue added on top of every row: half
// a sine wave over the window's height.
constexpr double kGradientPeak = 220.0;
constexpr int kGradientBlueLift = 30;
constexpr double kHalfTurn = 3.142;

} // namespace

void PaintGradientBackground(forms::Surface& surface) {
    const int width = surface.Width();
    const int height = surface.Height();
    if (height <= 0) {
        return;
    }
    const double k = height / kHalfTurn;
    // One row past the bottom is drawn too, and clipped, as the loop runs to
    // the height inclusive.
    for (int y = 0; y <= height; ++y) {
        const auto v =
            static_cast<std::uint8_t>(RoundHalfEven(std::fabs(std::sin(y / k) * kGradientPeak)));
        surface.DrawLine(forms::Point{0, y}, forms::Point{width, y},
                         forms::Rgb{v, v, static_cast<std::uint8_t>(v + kGradientBlueLift)});
    }
}

void TilePicture(forms::Surface& panel, const Picture& texture) {
    const int w = texture.width;
    const int h = texture.height;
    if (w <= 0 || h <= 0) {
        return;
    }
    int x = 0;
    int y = 0;
    while (true) {
        panel.DrawPicture(texture, x, y);
        if (y > panel.Height()) {
            if (x > panel.Width()) {
                break;
            }
            x += w;
            y = 0;
        } else {
            y += h;
        }
    }
}

} // namespace kestrune
