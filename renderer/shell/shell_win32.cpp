// The renderer shell on Windows: window class, display-mode change, window,
// pixel format, WGL context and the PeekMessage loop, straight on Win32.

#include "renderer/shell/gl_setup.h"
#include "renderer/shell/renderer_shell.h"
#include "renderer/shell/shell_input.h"
#include "renderer/shell/wgl_context_win32.h"

#include "common/kestrune_names.h"
#include "renderer/resources/message_sink.h"

#include <windows.h>

#include <memory>
#include <type_traits>

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

// Owners of the handles the shell holds for the run. Each is given back
// exactly once: by the tear-down, in its order, or else when its owner goes.
struct WindowDestroyer {
    void operator()(HWND window) const { DestroyWindow(window); }
};
using OwnedWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

// A device context goes back to the window it came from.
struct DeviceContextReleaser {
    HWND window = nullptr;
    void operator()(HDC deviceContext) const { ReleaseDC(window, deviceContext); }
};
using OwnedDeviceContext = std::unique_ptr<std::remove_pointer_t<HDC>, DeviceContextReleaser>;

// A rendering context stops being current before it is deleted.
struct RenderingContextDeleter {
    void operator()(HGLRC context) const {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(context);
    }
};
using OwnedRenderingContext =
    std::unique_ptr<std::remove_pointer_t<HGLRC>, RenderingContextDeleter>;

// The registered window class, unregistered at most once.
class RegisteredClass {
public:
    RegisteredClass() = default;
    ~RegisteredClass() { Unregister(); }
    RegisteredClass(const RegisteredClass&) = delete;
    RegisteredClass& operator=(const RegisteredClass&) = delete;

    bool Register(const WNDCLASSA& windowClass) {
        m_instance = windowClass.hInstance;
        m_registered = RegisterClassA(&windowClass) != 0;
        return m_registered;
    }

    // Whether the class was unregistered now.
    bool Unregister() {
        if (!m_registered) {
            return false;
        }
        m_registered = false;
        return UnregisterClassA(kClassName, m_instance) != 0;
    }

private:
    HINSTANCE m_instance = nullptr;
    bool m_registered = false;
};

// The shell's process-wide state: the handles it holds for the whole run,
// the fullscreen flag and the loop's input state. The handles are declared
// in the order they are made, so that their owners, should they ever be the
// ones to free them, go in the tear-down's order.
struct ShellState {
    HINSTANCE instance = nullptr;
    RegisteredClass windowClass;
    OwnedWindow window;
    OwnedDeviceContext deviceContext;
    OwnedRenderingContext renderingContext;
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

// Tears down in this order: the scene's OpenGL objects, the display mode and
// the cursor, the rendering context, the device context, the window, the
// class. Each handle is given back once and then forgotten, whether or not
// the system took it back, so that a second tear-down frees nothing twice.
bool KillGlWindow() {
    // OpenGL names belong to the context: every one of the scene's goes now,
    // while it is current. Without a context there is nothing to release,
    // and no OpenGL call may be made.
    if (g_shell.scene && g_shell.renderingContext) {
        g_shell.scene->ReleaseGlObjects();
    }
    SetMessageSink(nullptr);
    if (g_shell.fullscreen) {
        ChangeDisplaySettingsA(nullptr, 0); // back to the registry's mode
        ShowCursor(TRUE);
        g_shell.fullscreen = false;
    }
    g_shell.renderingContext.reset();
    g_shell.deviceContext.reset();
    g_shell.window.reset();
    return g_shell.windowClass.Unregister();
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
    if (!g_shell.windowClass.Register(windowClass)) {
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

    g_shell.window.reset(CreateWindowExA(exStyle, kCreateClassName, title,
                                         style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                                         rect.right - rect.left, rect.bottom - rect.top, nullptr,
                                         nullptr, g_shell.instance, nullptr));
    if (!g_shell.window) {
        return Fail();
    }
    const HWND window = g_shell.window.get();

    // The request is filled in on the first creation and reused after.
    if (!g_shell.pixelFormatFilled) {
        g_shell.pixelFormat = PixelFormatRequest(colourBits);
        g_shell.pixelFormatFilled = true;
    }

    g_shell.deviceContext = OwnedDeviceContext(GetDC(window), DeviceContextReleaser{window});
    const HDC deviceContext = g_shell.deviceContext.get();
    if (!deviceContext || !ApplyPixelFormat(deviceContext, g_shell.pixelFormat)) {
        return Fail();
    }
    g_shell.renderingContext.reset(wglCreateContext(deviceContext));
    if (!g_shell.renderingContext ||
        !wglMakeCurrent(deviceContext, g_shell.renderingContext.get())) {
        return Fail();
    }

    // Shown before the show loads its textures: the host looks for the title
    // while a loader message may still be open.
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    SetFocus(window);
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
            SwapBuffers(g_shell.deviceContext.get());
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
