#pragma once

#include <string_view>

struct _XDisplay;

// Finding a window by its title on an X server, the way the host looks for
// its own forms and for the renderer's window. It needs nothing but an open
// connection, so the tests use the very same lookup on their own connections.
namespace kestrune::forms::x11 {

// The first window, anywhere in the tree under each root and mapped or not,
// whose title is exactly `title`: its _NET_WM_NAME (UTF-8) or its WM_NAME
// (read as Latin-1 when its type says so). 0 when there is none or the
// connection is null.
unsigned long FindWindowByTitle(::_XDisplay* display, std::string_view title);

} // namespace kestrune::forms::x11
