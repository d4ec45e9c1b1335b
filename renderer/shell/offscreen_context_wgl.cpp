#include "renderer/shell/offscreen_context.h"

#include "renderer/opengl.h"
#include "renderer/shell/gl_setup.h"
#include "renderer/shell/wgl_context_win32.h"

namespace kestrune {

namespace {

constexpr const char* kClassName = "KestruneOffscreenGl";

// The window class of the hidden windows, registered once per process. Its
// own device context per window (CS_OWNDC), as the renderer's class has, so
// the pixel format set on it stays.
bool RegisterHiddenWindowClass() {
    static const bool kRegistered = [] {
        WNDCLASSA windowClass{};
        windowClass.style = CS_OWNDC;
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kClassName;
        return RegisterClassA(&windowClass) != 0;
    }();
    return kRegistered;
}

} // namespace

// On Windows the surface is a window that is never shown: a pixel format and
// a context need a window's device context, and drawing goes to its back
// buffer, which glReadPixels reads.
OffscreenContext::OffscreenContext(int width, int height) : m_width(width), m_height(height) {
    if (!RegisterHiddenWindowClass()) {
        return;
    }
    const HWND window =
        CreateWindowExA(0, kClassName, "", WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                        width, height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!window) {
        return;
    }
    const HDC deviceContext = GetDC(window);
    HGLRC context = nullptr;
    if (deviceContext && ApplyPixelFormat(deviceContext, PixelFormatRequest(kColourBits))) {
        context = wglCreateContext(deviceContext);
    }
    if (!context || !wglMakeCurrent(deviceContext, context)) {
        if (context) {
            wglDeleteContext(context);
        }
        if (deviceContext) {
            ReleaseDC(window, deviceContext);
        }
        DestroyWindow(window);
        return;
    }
    m_surface = window;
    m_context = context;
    glViewport(0, 0, width, height);
}

OffscreenContext::~OffscreenContext() {
    if (!m_context) {
        return;
    }
    const HWND window = static_cast<HWND>(m_surface);
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(static_cast<HGLRC>(m_context));
    DestroyWindow(window); // its own device context goes with it
}

void* OffscreenContext::GetProcAddress(const char* name) {
    WglPlatform platform;
    return platform.GetProcAddress(name);
}

} // namespace kestrune
