#include "host/forms/win32/application_impl.h"
#include "host/forms/win32/control_impl.h"
#include "host/forms/win32/gdi_drawing.h"

#include <windowsx.h>

#include <utility>

namespace kestrune::forms {

namespace {

bool Contains(const Box& box, int x, int y) {
    return x >= box.x && y >= box.y && x < box.x + box.width && y < box.y + box.height;
}

MouseButton ButtonOf(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN:
        return MouseButton::Left;
    case WM_RBUTTONDOWN:
        return MouseButton::Right;
    default:
        return MouseButton::Middle;
    }
}

} // namespace

LRESULT Container::Impl::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        // Painting covers every pixel; erasing first would only flicker.
        return 1;
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == window && LOWORD(lParam) == HTCLIENT &&
            SetCursorOver(window)) {
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (Control::Impl* hit = WindowlessAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))) {
            const MouseButton button = ButtonOf(message);
            if (button == MouseButton::Left) {
                // The release comes here wherever it happens, to tell a
                // click (press and release on the control) from a drag off.
                pressed = hit;
                SetCapture(window);
            }
            hit->MouseDown(button, ShiftOf(wParam), GET_X_LPARAM(lParam) - hit->Bounds().x,
                           GET_Y_LPARAM(lParam) - hit->Bounds().y);
            return 0;
        }
        break;
    case WM_LBUTTONUP:
        if (Control::Impl* released = std::exchange(pressed, nullptr)) {
            ReleaseCapture();
            if (released->Visible() && released->Enabled() &&
                Contains(released->Bounds(), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))) {
                released->Click();
            }
            return 0;
        }
        break;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != window) {
            pressed = nullptr;
        }
        break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
        // A system control (the combo box, or the edit field and list inside
        // it) asks for its colours.
        const auto control = reinterpret_cast<HWND>(lParam);
        for (Control::Impl* child : children) {
            const HWND handle = child->Handle();
            if (handle && (handle == control || IsChild(handle, control))) {
                if (HBRUSH brush = child->ControlColour(reinterpret_cast<HDC>(wParam))) {
                    return reinterpret_cast<LRESULT>(brush);
                }
            }
        }
        break;
    }
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void Container::Impl::Paint(HWND window) {
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(window, &paint);
    RECT client{};
    GetClientRect(window, &client);
    if (dc && client.right > 0 && client.bottom > 0) {
        // Drawn whole into a bitmap first, then copied onto the window in
        // one step, so that nothing flickers between the layers.
        win32::OwnedMemoryDc memory(CreateCompatibleDC(dc));
        win32::OwnedBitmap bitmap(CreateCompatibleBitmap(dc, client.right, client.bottom));
        if (memory && bitmap) {
            const win32::SelectedObject selected(memory.get(), bitmap.get());
            const win32::OwnedBrush background(
                CreateSolidBrush(win32::ColourRef(PaintBackground())));
            FillRect(memory.get(), &client, background.get());
            const Surface& canvas = PaintCanvas();
            win32::DrawPicture(memory.get(), canvas.Image(),
                               Box{0, 0, canvas.Width(), canvas.Height()});
            for (Control::Impl* child : children) {
                if (child->windowless && child->Visible()) {
                    child->Paint(memory.get());
                }
            }
            BitBlt(dc, paint.rcPaint.left, paint.rcPaint.top,
                   paint.rcPaint.right - paint.rcPaint.left,
                   paint.rcPaint.bottom - paint.rcPaint.top, memory.get(), paint.rcPaint.left,
                   paint.rcPaint.top, SRCCOPY);
        }
    }
    EndPaint(window, &paint);
}

bool Container::Impl::SetCursorOver(HWND window) {
    if (win32::HourglassPointer()) {
        SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        return true;
    }
    POINT at{};
    if (!GetCursorPos(&at) || !ScreenToClient(window, &at)) {
        return false;
    }
    const Control::Impl* hit = WindowlessAt(at.x, at.y);
    if (const HCURSOR cursor = hit ? hit->Cursor() : nullptr) {
        SetCursor(cursor);
        return true;
    }
    return false;
}

Control::Impl* Container::Impl::WindowlessAt(int x, int y) const {
    for (auto child = children.rbegin(); child != children.rend(); ++child) {
        Control::Impl* control = *child;
        if (control->windowless && control->Visible() && control->Enabled() &&
            control->TakesMouse() && Contains(control->Bounds(), x, y)) {
            return control;
        }
    }
    return nullptr;
}

void Container::Impl::CreateChildWindows() {
    const HWND parent = ChildWindow();
    if (!parent) {
        return;
    }
    for (Control::Impl* child : children) {
        if (!child->windowless && !child->Handle()) {
            child->CreateWindowIn(parent);
        }
    }
}

void Container::Impl::ChildWindowsGoing() {
    for (Control::Impl* child : children) {
        if (!child->windowless) {
            child->WindowGoing();
        }
    }
}

void Container::Impl::Invalidate(const Box& area) const {
    if (const HWND window = ChildWindow()) {
        const RECT rect = win32::RectOf(area);
        InvalidateRect(window, &rect, FALSE);
    }
}

} // namespace kestrune::forms
