// window-probe: looks at and pokes top-level windows from inside Wine, the
// way the host does (FindWindowA, PostMessageA), for the whole-program tests
// that drive the Windows renderer from Linux.
//
//   window-probe find TITLE SECONDS   wait for the window; print its facts
//   window-probe shown TITLE SECONDS  the same, once the window is visible
//   window-probe gone TITLE SECONDS   wait until no such window is left
//   window-probe close TITLE          post it a close request (WM_CLOSE)
//   window-probe syscommand TITLE HEX post it WM_SYSCOMMAND with that command
//
// Exit code 0 when the window was found, is gone or got the request; 1 when
// not; 2 for a wrong command line.

#include <windows.h>

#include <chrono>
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

// Line breaks written as "\n", so that one window is one line of output.
std::string OneLine(const char* text) {
    std::string line;
    for (const char* c = text; *c; ++c) {
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

// class=..., style=0x..., window=x,y,w,h, client=WxH, visible=0|1,
// maxtrack=WxH (the largest window the system lets a framed window be), and
// for a dialog such as a message box, text=... .
void PrintFacts(HWND window) {
    char className[256] = {};
    GetClassNameA(window, className, sizeof className);
    RECT frame{};
    GetWindowRect(window, &frame);
    RECT client{};
    GetClientRect(window, &client);
    std::printf("class=%s style=0x%08lX window=%ld,%ld,%ld,%ld client=%ldx%ld visible=%d",
                className, static_cast<unsigned long>(GetWindowLongA(window, GWL_STYLE)),
                frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
                client.right - client.left, client.bottom - client.top,
                IsWindowVisible(window) ? 1 : 0);
    char text[1024] = {};
    if (GetDlgItemTextA(window, kMessageBoxTextItem, text, sizeof text) > 0) {
        std::printf(" text=%s", OneLine(text).c_str());
    }
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv) {
    // Plain line ends, as the Linux side reads them.
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc < 3) {
        std::fputs("Usage: window-probe find|shown|gone TITLE SECONDS | close TITLE | "
                   "syscommand TITLE HEX\n",
                   stderr);
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
    if (command == "syscommand" && argc > 3) {
        window = FindWindowA(nullptr, title);
        const auto code = static_cast<WPARAM>(std::strtoul(argv[3], nullptr, 16));
        return window && PostMessageA(window, WM_SYSCOMMAND, code, 0) ? 0 : 1;
    }
    std::fputs("window-probe: unknown command\n", stderr);
    return 2;
}
