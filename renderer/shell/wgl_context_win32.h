#pragma once

// The parts of WGL that the renderer window and the offscreen test context
// share: the one pixel format request, its application to a device context,
// and the entry points of a current WGL context. Windows-only: included by
// the *_win32 and *_wgl files alone.

#include "renderer/shell/scene.h"

#include <windows.h>

namespace kestrune {

// The renderer's pixel format request: a double-buffered RGBA window format
// with `colourBits` of colour and a 16-bit depth buffer; everything else 0.
PIXELFORMATDESCRIPTOR PixelFormatRequest(int colourBits);

// ChoosePixelFormat for `request`, then SetPixelFormat; false when either
// fails (no format at all, or the window refuses it).
bool ApplyPixelFormat(HDC deviceContext, const PIXELFORMATDESCRIPTOR& request);

// Entry points and the swap interval of the current WGL context.
class WglPlatform final : public GlPlatform {
public:
    void* GetProcAddress(const char* name) override;
    void SetSwapInterval(std::uint8_t interval) override;
};

} // namespace kestrune
