#include "host/forms/window_services.h"

#include "host/forms/win32/text_win32.h"

#include <windows.h>

#include <algorithm>

namespace kestrune::forms {

namespace {

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

HWND HandleOf(NativeWindow window) {
    return reinterpret_cast<HWND>(window);
}

} // namespace

NativeWindow FindWindowByTitle(std::string_view title) {
    // FindWindowA with no class and the whole title finds a top-level window
    // visible or hidden. The titles the host looks for are plain ASCII; any
    // other title is looked up through the wide call, where it cannot depend
    // on the system's code page.
    const std::string text(title);
    const HWND found = IsAscii(title) ? FindWindowA(nullptr, text.c_str())
                                      : FindWindowW(nullptr, win32::Utf16(title).c_str());
    return reinterpret_cast<NativeWindow>(found);
}

std::optional<Rect> WindowRect(NativeWindow window) {
    RECT frame{};
    if (!window || !GetWindowRect(HandleOf(window), &frame)) {
        return std::nullopt;
    }
    return Rect{frame.left, frame.top, frame.right, frame.bottom};
}

std::optional<Point> CursorPosition() {
    POINT at{};
    if (!GetCursorPos(&at)) {
        return std::nullopt;
    }
    return Point{at.x, at.y};
}

NativeWindow WindowFromPoint(Point point) {
    return reinterpret_cast<NativeWindow>(::WindowFromPoint(POINT{point.x, point.y}));
}

int ShowCursor(bool show) {
    return ::ShowCursor(show ? TRUE : FALSE);
}

void AnimateRects(NativeWindow window, const Rect& from, const Rect& to) {
    const RECT start{from.left, from.top, from.right, from.bottom};
    const RECT end{to.left, to.top, to.right, to.bottom};
    DrawAnimatedRects(HandleOf(window), IDANI_CAPTION, &start, &end);
}

} // namespace kestrune::forms
