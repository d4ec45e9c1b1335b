#pragma once

#include "host/forms/forms_types.h"

#include <optional>
#include <string_view>

// Window-system services that work on any program's windows, not only on the
// host's own forms.
namespace kestrune::forms {

// The first top-level window whose title is exactly `title`, visible or
// hidden, of any program; 0 when there is none. On X11 a window's title is
// its _NET_WM_NAME (UTF-8) or its WM_NAME, and every window of the tree under
// each root counts, mapped or not (where Windows would look at top-level
// windows only, X11 window managers put frames around them).
NativeWindow FindWindowByTitle(std::string_view title);

// The window's frame on screen in pixels; nothing when the window does not
// exist.
std::optional<Rect> WindowRect(NativeWindow window);

// The mouse position on screen; nothing when it cannot be read.
std::optional<Point> CursorPosition();

// The window under a point of the screen: the host's own control or form
// there, or another program's window (compared, never used), or 0.
NativeWindow WindowFromPoint(Point point);

// The mouse cursor's display counter of this process, as Windows keeps it:
// showing adds one, hiding takes one away, and the cursor is hidden while the
// count is below 0. Returns the new count. On X11 the host has no visible
// window of its own to hide the cursor in, so only the count is kept there;
// the renderer hides its own cursor.
int ShowCursor(bool show);

// The zoom of a window's caption from one rectangle to another, as windows
// open from and close to a point (DrawAnimatedRects with IDANI_CAPTION). It
// returns when the animation is over.
void AnimateRects(NativeWindow window, const Rect& from, const Rect& to);

} // namespace kestrune::forms
