#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The small value types that the forms layer and the host's forms share.
// Positions and sizes are in pixels throughout the layer; the host's code
// converts the twips its layouts are written in (see ScreenTwipsPerPixelX).
namespace kestrune::forms {

// A window of the windowing system: an X11 window id on Linux, an HWND on
// Windows. 0 is no window. Only compared and passed back to the layer.
using NativeWindow = std::uintptr_t;

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// A rectangle as the window system reports one: left and top inclusive,
// right and bottom exclusive, in screen pixels.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// A rectangle by its corner and size, as drawing calls take them.
struct Box {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Box&, const Box&) = default;
};

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A colour written the way the forms' layouts write them, &HBBGGRR: blue in
// the high byte, red in the low one.
constexpr Rgb RgbFromBgr(std::uint32_t bgr) {
    return Rgb{static_cast<std::uint8_t>(bgr & 0xFF), static_cast<std::uint8_t>((bgr >> 8) & 0xFF),
               static_cast<std::uint8_t>((bgr >> 16) & 0xFF)};
}

// Mouse buttons with the values that mouse events pass (several may be held
// at once in a move event's mask).
enum class MouseButton : int { None = 0, Left = 1, Right = 2, Middle = 4 };

// Shift, Ctrl and Alt in a mouse event, as the bits 1, 2 and 4.
using ShiftState = int;

// The screen-wide mouse pointer that a form can set while it works.
enum class MousePointer { Default, Hourglass };

// Why a form is being unloaded, as Form_QueryUnload learns it.
enum class UnloadMode {
    ControlMenu,   // the user closed the window (close box, Alt+F4, a close request)
    Code,          // the program unloaded the form
    SessionEnding, // the window system is ending the session
};

// A font by the names the forms' layouts use. The backend resolves the face
// to an installed one ("ＭＳ Ｐゴシック" becomes the installed Japanese
// P-Gothic face, "Tahoma" its usual substitute).
struct Font {
    std::string face;
    double points = 9.0;
    int weight = 400;
    bool underline = false;
    int charset = 0; // 128: Shift-JIS
    friend bool operator==(const Font&, const Font&) = default;
};

// A two-colour mouse cursor with a transparent background.
struct MonoCursor {
    enum Pixel : std::uint8_t { Transparent = 0, Black = 1, White = 2 };
    int width = 0;
    int height = 0;
    int hotX = 0;
    int hotY = 0;
    std::vector<std::uint8_t> pixels; // width * height Pixel values, top row first
};

} // namespace kestrune::forms
