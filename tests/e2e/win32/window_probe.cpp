// window-probe: looks at and pokes top-level windows from inside Wine, the
// way the host does (FindWindowA, PostMessageA), for the whole-program tests
// that drive the Windows renderer from Linux.
//
//   window-probe find TITLE SECONDS   wait for the window; print its facts
//   window-probe shown TITLE SECONDS  the same, once the window is visible
//   window-probe gone TITLE SECONDS   wait until no such window is left
//   window-probe close TITLE          post it a close request (WM_CLOSE)
//   window-probe hold TITLE SECONDS   keep a hidden window of that title (as a
//                                     running copy of the host would)
//   window-probe parent W H SECONDS   show a W x H window at the screen's
//                                     top-left corner, titled "Preview Parent",
//                                     as the system's preview area: print its
//                                     handle in decimal, then the facts of the
//                                     first child window it gets, and end when
//                                     the window is closed
//
// Exit code 0 when the window was found, is gone or got the request, or (hold
// and parent) when the window ran its time or was closed after getting its
// child; 1 when not; 2 for a wrong command line.

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <string>
#include <thread>

namespace {

constexpr auto kPoll = std::chrono::milliseconds(50);
// The dialog item of a message box that holds its text.
constexpr int kMessageBoxTextItem = 0xFFFF;

constexpr const wchar_t* kParentTitle = L"Preview Parent";

// UTF-8, whatever the system's code page: the host's texts are Japanese.
std::string Utf8(const wchar_t* text) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), length, nullptr, nullptr);
    utf8.resize(utf8.size() - 1);
    return utf8;
}

// Line breaks written as "\n", so that one window is one line of output.
std::string OneLine(const std::string& text) {
    std::string line;
    for (const char* c = text.c_str(); *c; ++c) {
        if (*c == '\n') {
            line += "\\n";
        } else if (*c != '\r') {
            line += *c;
        }
    }
    return line;
}

template <typename Condition> bool WaitFor(Condition condition, double seconds) {
    const auto end = std::chrono::steady_clock::now() +
                     std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        std::this_thread::sleep_for(kPoll);
    }
    return true;
}

// class=..., style=0x..., window=x,y,w,h (on the screen, or within the
// parent's client area for a child window), client=WxH, origin=x,y (the
// client area's top-left corner on the screen), visible=0|1, and text=...:
// the text of a dialog such as a message box, or else the window's title.
void PrintFacts(HWND window) {
    char className[256] = {};
    GetClassNameA(window, className, sizeof className);
    RECT frame{};
    GetWindowRect(window, &frame);
    const HWND parent = GetAncestor(window, GA_PARENT);
    if (parent && parent != GetDesktopWindow()) {
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&frame), 2);
    }
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{};
    ClientToScreen(window, &origin);
    std::printf("class=%s style=0x%08lX window=%ld,%ld,%ld,%ld client=%ldx%ld origin=%ld,%ld "
                "visible=%d",
                className, static_cast<unsigned long>(GetWindowLongA(window, GWL_STYLE)),
                frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
                client.right - client.left, client.bottom - client.top, origin.x, origin.y,
                IsWindowVisible(window) ? 1 : 0);
    wchar_t text[1024] = {};
    if (GetDlgItemTextW(window, kMessageBoxTextItem, text, 1024) > 0 ||
        GetWindowTextW(window, text, 1024) > 0) {
        std::printf(" text=%s", OneLine(Utf8(text)).c_str());
    }
    std::printf("\n");
    std::fflush(stdout);
}

LRESULT CALLBACK ProbeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeWindow(const wchar_t* title, DWORD style, int width, int height) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ProbeWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = L"WindowProbe";
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, windowClass.lpszClassName, title, style, 0, 0, width, height, nullptr,
                           nullptr, windowClass.hInstance, nullptr);
}

// Handles the thread's messages until the window is closed (true) or the
// time is up (false); `each` runs between rounds.
template <typename Each> bool PumpUntilClosed(double seconds, Each each) {
    const auto end = std::chrono::steady_clock::now() +
                     std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
    while (std::chrono::steady_clock::now() < end) {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                return true;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        each();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return false;
}

std::wstring Wide(const char* text) {
    std::wstring wide(std::strlen(text) + 1, L'\0');
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), static_cast<int>(wide.size()));
    wide.resize(length > 0 ? static_cast<std::size_t>(length - 1) : 0);
    return wide;
}

} // namespace

int main(int argc, char** argv) {
    // Plain line ends, as the Linux side reads them.
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc < 3) {
        std::fputs("Usage: window-probe find|shown|gone TITLE SECONDS | close TITLE\n", stderr);
        return 2;
    }
    const std::string command = argv[1];
    const char* title = argv[2];
    const double seconds = argc > 3 ? std::atof(argv[3]) : 0.0;
    HWND window = nullptr;
    if (command == "find" || command == "shown") {
        const bool mustBeVisible = command == "shown";
        if (!WaitFor(
                [&] {
                    window = FindWindowA(nullptr, title);
                    return window && (!mustBeVisible || IsWindowVisible(window));
                },
                seconds)) {
            return 1;
        }
        PrintFacts(window);
        return 0;
    }
    if (command == "gone") {
        return WaitFor([&] { return FindWindowA(nullptr, title) == nullptr; }, seconds) ? 0 : 1;
    }
    if (command == "close") {
        window = FindWindowA(nullptr, title);
        return window && PostMessageA(window, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    if (command == "hold" && argc > 3) {
        if (!MakeWindow(Wide(title).c_str(), WS_OVERLAPPEDWINDOW, 10, 10)) {
            return 1;
        }
        std::printf("held\n");
        std::fflush(stdout);
        PumpUntilClosed(seconds, [] {});
        return 0;
    }
    if (command == "parent" && argc > 4) {
        const int width = std::atoi(argv[2]);
        const int height = std::atoi(argv[3]);
        const HWND parent =
            MakeWindow(kParentTitle, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, width, height);
        if (!parent) {
            return 1;
        }
        std::printf("parent=%llu\n",
                    static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(parent)));
        std::fflush(stdout);
        bool seen = false;
        const bool closed = PumpUntilClosed(std::atof(argv[4]), [&] {
            const HWND child = seen ? nullptr : GetWindow(parent, GW_CHILD);
            if (child && IsWindowVisible(child)) {
                seen = true;
                std::printf("child ");
                PrintFacts(child);
            }
        });
        return seen && closed ? 0 : 1;
    }
    std::fputs("window-probe: unknown command\n", stderr);
    return 2;
}
