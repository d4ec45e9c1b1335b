// The renderer shell on Windows: window class, display-mode change, window,
// pixel format, WGL context and the PeekMessage loop, straight on Win32.

#include "renderer/shell/gl_setup.h"
#include "renderer/shell/renderer_shell.h"
#include "renderer/shell/shell_input.h"
#include "renderer/shell/wgl_context_win32.h"

#include "common/kestrune_names.h"
#include "renderer/resources/message_sink.h"

#include <windows.h>

namespace kestrune {

namespace {

constexpr const char* kClassName = "OpenGL";
// The window is created with the class name spelled "OpenGl": class names are
// compared without regard to case, so it names the class registered above.
constexpr const char* kCreateClassName = "OpenGl";
constexpr const char* kQuestionCaption = "Tarq GL";
constexpr const char* kQuestionText = "The requested fullscreen mode is not supported by\n"
                                      "your video card. Use windowed mode instead?";
// The display-mode request is the 148-byte layout of DEVMODEA, the one
// without the panning fields; the system accepts every older, shorter layout.
constexpr WORD kDevModeSize = 148;
constexpr WPARAM kScScreenSave = 0xF140;
constexpr WPARAM kScMonitorPower = 0xF170;
// The system keeps the four low bits of a system command for itself; the
// command is what is left (the documented way to read WM_SYSCOMMAND).
constexpr WPARAM kSystemCommandMask = 0xFFF0;

// The shell's process-wide state: the handles it holds for the whole run,
// the fullscreen flag and the loop's input state.
struct ShellState {
    HINSTANCE instance = nullptr;
    HWND window = nullptr;
    HDC deviceContext = nullptr;
    HGLRC renderingContext = nullptr;
    bool fullscreen = true;
    bool pixelFormatFilled = false;
    PIXELFORMATDESCRIPTOR pixelFormat{};
    ShellInput input;
    Scene* scene = nullptr;
};

ShellState g_shell;

WglPlatform g_platform;

// The loader's messages: an OK box owned by the window that has the focus.
class MessageBoxSink final : public MessageSink {
public:
    void ShowMessage(const std::string& text, const std::string& caption) override {
        MessageBoxA(GetFocus(), text.c_str(), caption.c_str(), MB_OK);
    }
};

MessageBoxSink g_messages;

bool KillGlWindow() {
    // Texture names belong to the context: with none current there is
    // nothing to release, and no OpenGL call may be made.
    if (g_shell.scene && g_shell.renderingContext) {
        g_shell.scene->ReleaseTextures();
    }
    SetMessageSink(nullptr);
    if (g_shell.fullscreen) {
        ChangeDisplaySettingsA(nullptr, 0); // back to the registry's mode
        ShowCursor(TRUE);
    }
    if (g_shell.renderingContext) {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(g_shell.renderingContext);
        g_shell.renderingContext = nullptr;
    }
    if (g_shell.deviceContext && !ReleaseDC(g_shell.window, g_shell.deviceContext)) {
        g_shell.deviceContext = nullptr;
    }
    if (g_shell.window && !DestroyWindow(g_shell.window)) {
        g_shell.window = nullptr;
    }
    const bool unregistered = UnregisterClassA(kClassName, g_shell.instance) != 0;
    if (!unregistered) {
        g_shell.instance = nullptr;
    }
    return unregistered;
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ACTIVATE:
        g_shell.input.SetMinimised(HIWORD(wParam) != 0);
        return 0;
    case WM_SYSCOMMAND:
        // Neither the screen saver nor monitor power-down may start while the
        // show runs.
        if ((wParam & kSystemCommandMask) == kScScreenSave ||
            (wParam & kSystemCommandMask) == kScMonitorPower) {
            return 0;
        }
        break;
    case WM_CLOSE:
        PostQuitMessage(0);
        return 0;
    case WM_KEYDOWN:
        g_shell.input.KeyDown(static_cast<unsigned>(wParam));
        return 0;
    case WM_KEYUP:
        g_shell.input.KeyUp(static_cast<unsigned>(wParam));
        return 0;
    case WM_SIZE:
        Resize(LOWORD(lParam), HIWORD(lParam));
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool Fail() {
    KillGlWindow();
    return false;
}

bool CreateGlWindow(const char* title, int width, int height, int colourBits, bool fullscreen) {
    g_shell.fullscreen = fullscreen;
    g_shell.instance = GetModuleHandleA(nullptr);

    WNDCLASSA windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = g_shell.instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassA(&windowClass)) {
        return false;
    }

    if (g_shell.fullscreen) {
        DEVMODEA mode{};
        mode.dmSize = kDevModeSize;
        mode.dmPelsWidth = static_cast<DWORD>(width);
        mode.dmPelsHeight = static_cast<DWORD>(height);
        mode.dmBitsPerPel = static_cast<DWORD>(colourBits);
        mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
        if (ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) != DISP_CHANGE_SUCCESSFUL) {
            if (MessageBoxA(nullptr, kQuestionText, kQuestionCaption,
                            MB_YESNO | MB_ICONEXCLAMATION) != IDYES) {
                return false; // the class stays registered; the process ends
            }
            g_shell.fullscreen = false;
        }
    }

    DWORD exStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
    DWORD style = WS_OVERLAPPEDWINDOW;
    if (g_shell.fullscreen) {
        ShowCursor(FALSE);
        exStyle = WS_EX_APPWINDOW;
        style = WS_POPUP;
    }
    // Enlarged so that the client area, not the frame, is width x height.
    RECT rect{0, 0, width, height};
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);

    g_shell.window =
        CreateWindowExA(exStyle, kCreateClassName, title, style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                        0, 0, rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                        g_shell.instance, nullptr);
    if (!g_shell.window) {
        return Fail();
    }

    // The request is filled in on the first creation and reused after.
    if (!g_shell.pixelFormatFilled) {
        g_shell.pixelFormat = PixelFormatRequest(colourBits);
        g_shell.pixelFormatFilled = true;
    }

    g_shell.deviceContext = GetDC(g_shell.window);
    if (!g_shell.deviceContext || !ApplyPixelFormat(g_shell.deviceContext, g_shell.pixelFormat)) {
        return Fail();
    }
    g_shell.renderingContext = wglCreateContext(g_shell.deviceContext);
    if (!g_shell.renderingContext ||
        !wglMakeCurrent(g_shell.deviceContext, g_shell.renderingContext)) {
        return Fail();
    }

    // Shown before the show loads its textures: the host looks for the title
    // while a loader message may still be open.
    ShowWindow(g_shell.window, SW_SHOW);
    SetForegroundWindow(g_shell.window);
    SetFocus(g_shell.window);
    Resize(width, height);

    SetMessageSink(&g_messages);
    if (!InitialiseOpenGL(*g_shell.scene, g_platform)) {
        return Fail();
    }
    return true;
}

int RunLoop() {
    MSG message{};
    bool done = false;
    while (!done) {
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                break;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
            continue; // every pending message before the next frame
        }
        switch (g_shell.input.OnIdle()) {
        case ShellInput::IdleAction::EndLoop:
            done = true;
            break;
        case ShellInput::IdleAction::DrawFrame:
            DrawFrame(*g_shell.scene);
            SwapBuffers(g_shell.deviceContext);
            break;
        case ShellInput::IdleAction::Skip:
            break;
        }
    }
    KillGlWindow();
    // The quit message's wParam, 0; Escape leaves the loop with no message
    // retrieved last, and ends with 0 as well since the host never reads it.
    return done ? 0 : static_cast<int>(message.wParam);
}

} // namespace

int RunRenderer(Scene& scene) {
    g_shell.scene = &scene;
    if (!CreateGlWindow(kRendererWindowTitle, kWindowWidth, kWindowHeight, kColourBits, true)) {
        return 0;
    }
    return RunLoop();
}

} // namespace kestrune
