#include "host/controls/command_pictures.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace kestrune {

namespace {

struct Colour {
    int red = 0;
    int green = 0;
    int blue = 0;
};

// The colours that mark each look.
constexpr Colour kOutline{0, 60, 116};            // the dark-blue outline
constexpr Colour kOutside{250, 246, 232};         // light beige around it
constexpr Colour kInside{241, 241, 238};          // light grey within it
constexpr Colour kAmberTop{255, 236, 180};        // hover ring, top row
constexpr Colour kAmberBottom{229, 151, 0};       // hover ring, bottom row
constexpr Colour kBlueTop{206, 231, 255};         // focus ring, top row
constexpr Colour kBlueBottom{105, 130, 238};      // focus ring, bottom row
constexpr Colour kShadowDark{150, 156, 170};      // pressed: top and left inside
constexpr Colour kShadowLight{206, 208, 214};     // pressed: bottom and right inside
constexpr Colour kPressedInside{224, 224, 222};   // pressed: the rest inside
constexpr Colour kDisabledOutline{201, 199, 186}; // the grey outline
constexpr Colour kDisabledOutside{248, 247, 243}; // around it
constexpr Colour kDisabledInside{247, 246, 240};  // very light within it

Colour Mix(Colour a, Colour b, int numerator, int denominator) {
    // Rounded to the nearest integer; every value here is non-negative.
    auto channel = [&](int x, int y) {
        return (x * (denominator - numerator) + y * numerator + denominator / 2) / denominator;
    };
    return Colour{channel(a.red, b.red), channel(a.green, b.green), channel(a.blue, b.blue)};
}

// A picture being drawn, with the few operations the looks need.
class Canvas {
public:
    Canvas() : m_picture(kCommandPictureWidth, kCommandPictureHeight) {}

    int Width() const { return m_picture.width; }
    int Height() const { return m_picture.height; }

    void Set(int x, int y, Colour c) {
        std::uint8_t* p = m_picture.PixelAt(x, y);
        p[0] = static_cast<std::uint8_t>(c.red);
        p[1] = static_cast<std::uint8_t>(c.green);
        p[2] = static_cast<std::uint8_t>(c.blue);
    }
    Colour Get(int x, int y) const {
        const std::uint8_t* p = m_picture.PixelAt(x, y);
        return Colour{p[0], p[1], p[2]};
    }

    void Fill(Colour c) {
        for (int y = 0; y < Height(); ++y) {
            for (int x = 0; x < Width(); ++x) {
                Set(x, y, c);
            }
        }
    }

    // How far a pixel lies from the nearest edge: 0 on the edge itself.
    int Ring(int x, int y) const { return std::min({x, y, Width() - 1 - x, Height() - 1 - y}); }

    // How far into a corner a pixel lies on the ring `inset`: the corner
    // pixel itself is 0, its neighbours along the ring 1, and so on.
    int CornerStep(int x, int y, int inset) const {
        const int dx = std::min(x - inset, Width() - 1 - inset - x);
        const int dy = std::min(y - inset, Height() - 1 - inset - y);
        return std::max(dx, dy);
    }

    // A rectangle outline `inset` pixels in from the edge, with its corners
    // rounded off: the corner pixel is left out and the two beside it are
    // half covered, and the outline steps in diagonally once.
    void RoundedOutline(int inset, Colour c) {
        for (int y = 0; y < Height(); ++y) {
            for (int x = 0; x < Width(); ++x) {
                if (Ring(x, y) != inset) {
                    continue;
                }
                const int step = CornerStep(x, y, inset);
                if (step >= 2) {
                    Set(x, y, c);
                } else if (step == 1) {
                    Set(x, y, Mix(Get(x, y), c, 1, 2));
                }
            }
        }
        // The diagonal step of each corner.
        const int left = inset + 1;
        const int top = inset + 1;
        const int right = Width() - 2 - inset;
        const int bottom = Height() - 2 - inset;
        for (const auto& [x, y] : std::array<std::array<int, 2>, 4>{
                 {{left, top}, {right, top}, {left, bottom}, {right, bottom}}}) {
            Set(x, y, c);
        }
    }

    // Paints the pixels of rings `first` to `last` that lie inside the
    // rounded outline at ring `first` - 1, each in the colour `colourOf`
    // gives its position.
    template <typename ColourOf> void InnerRings(int first, int last, ColourOf colourOf) {
        for (int y = 0; y < Height(); ++y) {
            for (int x = 0; x < Width(); ++x) {
                const int ring = Ring(x, y);
                if (ring < first || ring > last) {
                    continue;
                }
                // The corner pixel of the first ring is the outline's own
                // diagonal step.
                if (ring == first && CornerStep(x, y, first) == 0) {
                    continue;
                }
                Set(x, y, colourOf(x, y));
            }
        }
    }

    // Everything outside the rounded outline at `inset`.
    void Outside(int inset, Colour c) {
        for (int y = 0; y < Height(); ++y) {
            for (int x = 0; x < Width(); ++x) {
                const int ring = Ring(x, y);
                if (ring < inset || (ring == inset && CornerStep(x, y, inset) < 2)) {
                    Set(x, y, c);
                }
            }
        }
    }

    Picture Take() { return std::move(m_picture); }

private:
    Picture m_picture;
};

// The colour of an inner ring's row: `top` on the ring's top row (2),
// `bottom` on its bottom row, blended in between.
Colour RowColour(Colour top, Colour bottom, int y) {
    constexpr int kFirst = 2;
    constexpr int kLast = kCommandPictureHeight - 3;
    return Mix(top, bottom, std::clamp(y, kFirst, kLast) - kFirst, kLast - kFirst);
}

Picture OutlinedLook(Colour ringTop, Colour ringBottom, bool withRing) {
    Canvas canvas;
    canvas.Fill(kInside);
    canvas.Outside(1, kOutside);
    if (withRing) {
        canvas.InnerRings(2, 3, [&](int, int y) { return RowColour(ringTop, ringBottom, y); });
    }
    canvas.RoundedOutline(1, kOutline);
    return canvas.Take();
}

Picture PressedLook() {
    Canvas canvas;
    canvas.Fill(kPressedInside);
    canvas.Outside(2, kOutside);
    // A shadow along the top and left inside edges, lighter towards the
    // bottom and right, as if the face had sunk in.
    canvas.InnerRings(3, 3, [&](int x, int y) {
        const bool topOrLeft = y <= 3 || x <= 3;
        return topOrLeft ? kShadowDark : kShadowLight;
    });
    canvas.RoundedOutline(2, kOutline);
    return canvas.Take();
}

Picture DisabledLook() {
    Canvas canvas;
    canvas.Fill(kDisabledInside);
    canvas.Outside(1, kDisabledOutside);
    canvas.RoundedOutline(1, kDisabledOutline);
    return canvas.Take();
}

} // namespace

Picture MakeCommandLookPicture(CommandLook look) {
    switch (look) {
    case CommandLook::Normal:
        return OutlinedLook(kInside, kInside, false);
    case CommandLook::HighLight:
    case CommandLook::HighLightSelect:
        return OutlinedLook(kAmberTop, kAmberBottom, true);
    case CommandLook::Selected:
        return OutlinedLook(kBlueTop, kBlueBottom, true);
    case CommandLook::Pressed:
        return PressedLook();
    case CommandLook::Disable:
        return DisabledLook();
    }
    return {};
}

const Picture& CommandLookPicture(CommandLook look) {
    static const std::array<Picture, 6> kPictures = {
        MakeCommandLookPicture(CommandLook::Normal),
        MakeCommandLookPicture(CommandLook::HighLight),
        MakeCommandLookPicture(CommandLook::HighLightSelect),
        MakeCommandLookPicture(CommandLook::Selected),
        MakeCommandLookPicture(CommandLook::Pressed),
        MakeCommandLookPicture(CommandLook::Disable),
    };
    return kPictures[static_cast<std::size_t>(look)];
}

} // namespace kestrune
