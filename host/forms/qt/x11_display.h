#pragma once

struct _XDisplay;
struct xcb_connection_t;

// The application's own connection to the X server, which Qt opened. Null
// when the application runs on another platform (Qt's offscreen platform in
// tests) or before it exists.
namespace kestrune::forms::qt {

::_XDisplay* X11Display();
xcb_connection_t* X11Connection();

// Sends what is queued for the X server, so that other programs see a window
// (its title, its state) as soon as the call that made it returns.
void FlushX11();

} // namespace kestrune::forms::qt
