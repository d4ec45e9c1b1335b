#include "host/forms/form.h"

#include "host/forms/event_dispatch.h"
#include "host/forms/win32/application_impl.h"
#include "host/forms/win32/form_impl.h"
#include "host/forms/win32/gdi_drawing.h"
#include "host/forms/win32/text_win32.h"
#include "host/forms/win32/timer_impl.h"
#include "host/forms/win32/window_class_win32.h"

#include <algorithm>

namespace kestrune::forms {

namespace {

bool IsChildWindow(HWND window) {
    return (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) != 0;
}

} // namespace

Form::Impl::Impl(Form& form) : owner(form) {}

Form::Impl::~Impl() {
    if (loaded) {
        DestroyWindow(false);
    }
}

DWORD Form::Impl::Style() const {
    if (window) {
        return static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    }
    // A fixed frame with a title bar and only a close box; or none at all.
    return owner.Settings().borderStyle == BorderStyle::None
               ? WS_POPUP | WS_CLIPCHILDREN
               : WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
}

DWORD Form::Impl::ExStyle() const {
    return window ? static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)) : 0;
}

SIZE Form::Impl::FrameSize() const {
    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, Style(), FALSE, ExStyle());
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

int Form::Impl::ClientWidth() const {
    return clientWidth;
}

int Form::Impl::ClientHeight() const {
    return clientHeight;
}

Surface& Form::Impl::Canvas() {
    canvas.Resize(clientWidth, clientHeight, owner.Settings().backColor);
    return canvas;
}

void Form::Impl::Load() {
    if (loaded) {
        return;
    }
    // The window is made now, hidden, with the caption as its title, so that
    // FindWindowA finds the loaded form before it is shown.
    const SIZE frame = FrameSize();
    const Box box{position ? position->x : CW_USEDEFAULT, position ? position->y : CW_USEDEFAULT,
                  frame.cx, frame.cy};
    window = win32::CreateContainerWindow(win32::WindowKind::Form, *this, Style(), ExStyle(),
                                          win32::Utf16(owner.Caption()), box, nullptr);
    if (!window) {
        return;
    }
    if (icon) {
        SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon.get()));
        SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon.get()));
    }
    loaded = true;
    win32::NoteFormLoaded(*this);
    CreateChildWindows();
    for (Timer::Impl* timer : timers) {
        timer->Restart();
    }
    EventDispatch::Load(owner);
}

bool Form::Impl::OwnsFocus() const {
    const HWND focus = GetFocus();
    return focus && IsChild(window, focus);
}

bool Form::Impl::MoveFocus(bool forward) {
    // The form keeps its own tab order rather than the windows' order.
    const auto count = static_cast<int>(tabOrder.size());
    if (count == 0 || !window) {
        return false;
    }
    const HWND focus = GetFocus();
    int at = forward ? -1 : count;
    for (int i = 0; i < count; ++i) {
        const HWND entry = tabOrder[static_cast<std::size_t>(i)]->Handle();
        if (focus && entry && (entry == focus || IsChild(entry, focus))) {
            at = i;
            break;
        }
    }
    for (int step = 1; step <= count; ++step) {
        const int index = ((at + (forward ? step : -step)) % count + count) % count;
        const Control::Impl* candidate = tabOrder[static_cast<std::size_t>(index)];
        const HWND handle = candidate->Handle();
        if (handle && candidate->Visible() && candidate->Enabled() && candidate->TabStop() &&
            IsWindowVisible(handle)) {
            SetFocus(handle);
            return true;
        }
    }
    return false;
}

void Form::Impl::Show(bool modal) {
    Load();
    if (!loaded) {
        return;
    }
    // A modal form keeps the program's other forms from input until it goes.
    std::vector<HWND> held;
    if (modal) {
        for (const Form::Impl* other : win32::LoadedForms()) {
            if (other != this && other->window && !IsChildWindow(other->window) &&
                IsWindowEnabled(other->window)) {
                EnableWindow(other->window, FALSE);
                held.push_back(other->window);
            }
        }
    }
    // A form that is shown becomes the active window, with the keyboard
    // focus on its first control; a form inside another program's window
    // (the preview) only appears there.
    const bool embedded = IsChildWindow(window);
    ShowWindow(window, embedded ? SW_SHOWNA : SW_SHOWNORMAL);
    if (!embedded) {
        SetForegroundWindow(window);
        if (!OwnsFocus()) {
            MoveFocus(true);
        }
    }
    resizeEvents.Shown(owner, clientWidth, clientHeight);
    if (modal && loaded) {
        while (loaded && win32::PumpOneMessage()) {
        }
    }
    for (const HWND other : held) {
        if (IsWindow(other)) {
            EnableWindow(other, TRUE);
        }
    }
}

void Form::Impl::Unload(UnloadMode mode, bool windowGone) {
    if (!loaded || unloading) {
        return;
    }
    unloading = true;
    const bool goes = EventDispatch::UnloadEvents(owner, mode, windowGone);
    unloading = false;
    if (!goes) {
        return;
    }
    DestroyWindow(windowGone);
}

void Form::Impl::DestroyWindow(bool windowGone) {
    for (const Timer::Impl* timer : timers) {
        KillTimer(window, timer->id);
    }
    if (!windowGone && window) {
        destroying = true;
        ::DestroyWindow(window);
        destroying = false;
    }
    window = nullptr;
    loaded = false;
    resizeEvents.WindowGone();
    focusBeforeDeactivation = nullptr;
    win32::NoteFormUnloaded(*this);
}

LRESULT Form::Impl::HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        // A close request (the close box, Alt+F4, another program): the form
        // decides in Form_QueryUnload.
        Unload(UnloadMode::ControlMenu);
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        if (wParam) {
            Unload(UnloadMode::SessionEnding);
        }
        return 0;
    case WM_DESTROY:
        // Destroyed from outside: the window of another program that held it
        // went, and took its children along.
        if (!destroying && loaded) {
            Unload(UnloadMode::ControlMenu, true);
        }
        ChildWindowsGoing();
        return 0;
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) {
            clientWidth = LOWORD(lParam);
            clientHeight = HIWORD(lParam);
            resizeEvents.Sized(owner, clientWidth, clientHeight);
        }
        return 0;
    case WM_TIMER:
        for (Timer::Impl* timer : timers) {
            if (timer->id == wParam) {
                timer->Tick();
                break;
            }
        }
        return 0;
    case WM_ACTIVATE:
        // The control that had the focus gets it back when the form is
        // active again, as a dialog's does.
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus && IsChild(hwnd, focus)) {
                focusBeforeDeactivation = focus;
            }
            return 0;
        }
        if (focusBeforeDeactivation && IsChild(hwnd, focusBeforeDeactivation)) {
            SetFocus(focusBeforeDeactivation);
            return 0;
        }
        break;
    default:
        break;
    }
    return Container::Impl::HandleMessage(hwnd, message, wParam, lParam);
}

Form::Form() : m_impl(std::make_unique<Impl>(*this)) {}

Form::~Form() = default;

void Form::Load() {
    m_impl->Load();
}

bool Form::IsLoaded() const {
    return m_impl->loaded;
}

void Form::Show() {
    m_impl->Show(false);
}

void Form::ShowModal() {
    m_impl->Show(true);
}

void Form::Hide() {
    if (m_impl->window) {
        ShowWindow(m_impl->window, SW_HIDE);
    }
}

void Form::Unload() {
    m_impl->Unload(UnloadMode::Code);
}

void Form::Changed(Change what) {
    // The border style is read when the window is made.
    if (what == Change::Caption && m_impl->window) {
        SetWindowTextW(m_impl->window, win32::Utf16(m_settings.caption).c_str());
    }
}

void Form::SetIcon(const Picture& icon) {
    win32::OwnedIcon made = win32::MakeIcon(icon);
    if (m_impl->window) {
        SendMessageW(m_impl->window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(made.get()));
        SendMessageW(m_impl->window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(made.get()));
    }
    // The window lets go of the old icon above before it is destroyed here.
    m_impl->icon = std::move(made);
}

void Form::SetClientSize(int width, int height) {
    m_impl->clientWidth = std::max(width, 0);
    m_impl->clientHeight = std::max(height, 0);
    if (m_impl->window) {
        const SIZE frame = m_impl->FrameSize();
        SetWindowPos(m_impl->window, nullptr, 0, 0, frame.cx, frame.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

int Form::ClientWidth() const {
    return m_impl->ClientWidth();
}

int Form::ClientHeight() const {
    return m_impl->ClientHeight();
}

void Form::MoveTo(int left, int top) {
    m_impl->position = Point{left, top};
    if (m_impl->window) {
        SetWindowPos(m_impl->window, nullptr, left, top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Form::PlaceFrame(const std::function<Point(int width, int height)>& place) {
    // Windows knows the frame from the start.
    const Rect frame = WindowRect();
    const Point at = place(frame.Width(), frame.Height());
    MoveTo(at.x, at.y);
}

Rect Form::WindowRect() const {
    RECT frame{};
    if (m_impl->window && GetWindowRect(m_impl->window, &frame)) {
        return Rect{frame.left, frame.top, frame.right, frame.bottom};
    }
    const Point at = m_impl->position.value_or(Point{});
    const SIZE size = m_impl->FrameSize();
    return Rect{at.x, at.y, at.x + size.cx, at.y + size.cy};
}

Surface& Form::Canvas() {
    return m_impl->Canvas();
}

void Form::RefreshCanvas() {
    if (m_impl->window) {
        InvalidateRect(m_impl->window, nullptr, FALSE);
    }
}

void Form::SetTabOrder(const std::vector<Control*>& controls) {
    m_impl->tabOrder.clear();
    for (const Control* control : controls) {
        m_impl->tabOrder.push_back(&control->ControlImpl());
    }
}

NativeWindow Form::Window() const {
    return reinterpret_cast<NativeWindow>(m_impl->window);
}

bool Form::EmbedIn(NativeWindow parent) {
    const auto parentWindow = reinterpret_cast<HWND>(parent);
    const HWND window = m_impl->window;
    if (!window || !IsWindow(parentWindow)) {
        return false;
    }
    // The child bit added to the window's style and nothing else changed,
    // then the new parent: the way a preview joins the window the system
    // shows it in.
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    SetWindowLongA(window, GWL_STYLE, style | WS_CHILD);
    SetParent(window, parentWindow);
    return GetAncestor(window, GA_PARENT) == parentWindow;
}

void Form::PostClose() {
    if (m_impl->window) {
        PostMessageA(m_impl->window, WM_CLOSE, 0, 0);
    }
}

Container::Impl& Form::ContainerImpl() const {
    return *m_impl;
}

} // namespace kestrune::forms
