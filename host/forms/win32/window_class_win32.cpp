#include "host/forms/win32/window_class_win32.h"

#include "host/forms/win32/application_impl.h"
#include "host/forms/win32/control_impl.h"

namespace kestrune::forms::win32 {

namespace {

// The program icon in the resources of Kestrune.scr, if it has one.
constexpr WORD kProgramIconId = 1;

LRESULT CALLBACK ContainerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* container = reinterpret_cast<Container::Impl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        container = nullptr;
    }
    if (!container) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return container->HandleMessage(window, message, wParam, lParam);
}

const wchar_t* ClassName(WindowKind kind) {
    switch (kind) {
    case WindowKind::Form:
        return L"KestruneForm";
    case WindowKind::PictureBox:
        return L"KestrunePictureBox";
    case WindowKind::UserControl:
        return L"KestruneUserControl";
    }
    return L"KestruneForm";
}

// Registers the three classes once, on first use. No class asks for double
// clicks: a second click comes as a second press, which is what the host's
// controls count.
void RegisterClasses() {
    static const bool kRegistered = [] {
        for (const WindowKind kind :
             {WindowKind::Form, WindowKind::PictureBox, WindowKind::UserControl}) {
            WNDCLASSEXW windowClass{};
            windowClass.cbSize = sizeof windowClass;
            windowClass.lpfnWndProc = ContainerWindowProc;
            windowClass.hInstance = Instance();
            windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
            windowClass.lpszClassName = ClassName(kind);
            if (kind == WindowKind::Form) {
                windowClass.hIcon = LoadIconW(Instance(), MAKEINTRESOURCEW(kProgramIconId));
            }
            RegisterClassExW(&windowClass);
        }
        return true;
    }();
    (void)kRegistered;
}

} // namespace

HWND CreateContainerWindow(WindowKind kind, Container::Impl& container, DWORD style, DWORD exStyle,
                           const std::wstring& title, const Box& box, HWND parent) {
    RegisterClasses();
    return CreateWindowExW(exStyle, ClassName(kind), title.c_str(), style, box.x, box.y, box.width,
                           box.height, parent, nullptr, Instance(), static_cast<void*>(&container));
}

} // namespace kestrune::forms::win32
