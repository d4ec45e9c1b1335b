#include "renderer/shell/wgl_context_win32.h"

#include <cstdint>

namespace kestrune {

namespace {

constexpr BYTE kDepthBits = 16;

} // namespace

PIXELFORMATDESCRIPTOR PixelFormatRequest(int colourBits) {
    PIXELFORMATDESCRIPTOR format{};
    format.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = static_cast<BYTE>(colourBits);
    format.cDepthBits = kDepthBits;
    format.iLayerType = PFD_MAIN_PLANE;
    return format;
}

bool ApplyPixelFormat(HDC deviceContext, const PIXELFORMATDESCRIPTOR& request) {
    const int pixelFormat = ChoosePixelFormat(deviceContext, &request);
    return pixelFormat != 0 && SetPixelFormat(deviceContext, pixelFormat, &request);
}

void* WglPlatform::GetProcAddress(const char* name) {
    // wglGetProcAddress answers for extension entry points only. A name the
    // driver does not know gives null, though some drivers answer 1, 2, 3 or
    // -1 instead: those are no functions either, and calling one would crash.
    const auto address = reinterpret_cast<std::intptr_t>(wglGetProcAddress(name));
    if (address == 1 || address == 2 || address == 3 || address == -1) {
        return nullptr;
    }
    return reinterpret_cast<void*>(address);
}

void WglPlatform::SetSwapInterval(std::uint8_t interval) {
    using SwapIntervalFn = BOOL(WINAPI*)(int);
    const auto swapInterval =
        reinterpret_cast<SwapIntervalFn>(GetProcAddress("wglSwapIntervalEXT"));
    if (swapInterval) {
        swapInterval(interval); // its result is not looked at
    }
}

} // namespace kestrune
