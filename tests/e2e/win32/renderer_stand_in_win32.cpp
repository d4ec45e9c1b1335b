// A stand-in for the renderer in the Windows host's whole-program tests,
// installed as Kestrune.dll: it opens a window titled "Kestrune_VC" and keeps
// it until the window is closed or Escape is pressed. Before its window opens
// it writes stand-in-report.txt beside itself: the command-line text after
// its own name ("arguments=...") and the texture files it found ("NAME SIZE"
// lines), so a test can tell how the host started it and that the host wrote
// the files first.
// With KESTRUNE_STAND_IN_NO_WINDOW set it ends right after the report, as a
// renderer that crashes or is declined does.

#include "common/kestrune_names.h"

#include <windows.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) {
            DestroyWindow(window);
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

// The command line after the program's name, as Windows passed it.
std::string Arguments() {
    const char* line = GetCommandLineA();
    const char* at = line;
    if (*at == '"') {
        const char* closing = std::strchr(at + 1, '"');
        at = closing ? closing + 1 : at + std::strlen(at);
    } else {
        while (*at && *at != ' ' && *at != '\t') {
            ++at;
        }
    }
    while (*at == ' ' || *at == '\t') {
        ++at;
    }
    return at;
}

void Report() {
    char own[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, own, MAX_PATH);
    std::ofstream report(std::filesystem::path(own).parent_path() / "stand-in-report.txt",
                         std::ios::binary | std::ios::trunc);
    report << "arguments=" << Arguments() << '\n';
    for (int number = 1; number <= kestrune::kTextureFileCount; ++number) {
        const std::filesystem::path path = kestrune::TextureFilePath(number);
        std::error_code error;
        const auto size = std::filesystem::file_size(path, error);
        if (!error) {
            report << path.filename().string() << ' ' << size << '\n';
        }
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    Report();
    if (GetEnvironmentVariableA("KESTRUNE_STAND_IN_NO_WINDOW", nullptr, 0) > 0) {
        return 0;
    }
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = StandInProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = "KestruneStandIn";
    RegisterClassA(&windowClass);
    const HWND window =
        CreateWindowExA(0, windowClass.lpszClassName, kestrune::kRendererWindowTitle,
                        WS_POPUP | WS_VISIBLE, 0, 0, 64, 64, nullptr, nullptr, instance, nullptr);
    if (!window) {
        return 1;
    }
    SetForegroundWindow(window);
    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
