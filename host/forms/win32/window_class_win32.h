#pragma once

#include "host/forms/control.h"
#include "host/forms/forms_types.h"

#include <windows.h>

#include <string>

// The backend's own window classes: forms, picture boxes and user controls
// are windows whose messages go to their Container::Impl.
namespace kestrune::forms::win32 {

enum class WindowKind { Form, PictureBox, UserControl };

// Makes a window of `kind` for `container`, which receives its messages
// from the first one on, until it is destroyed.
HWND CreateContainerWindow(WindowKind kind, Container::Impl& container, DWORD style, DWORD exStyle,
                           const std::wstring& title, const Box& box, HWND parent);

} // namespace kestrune::forms::win32
