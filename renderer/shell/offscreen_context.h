#pragma once

#include "renderer/shell/scene.h"

#include <cstdint>
#include <vector>

namespace kestrune {

// A real OpenGL context without a window, for developer tools, tests and
// benchmarks: it draws into an offscreen surface of the given size with the
// renderer's pixel format (8-bit RGB, no alpha, a 16-bit depth buffer) and a
// compatibility profile, so OpenGL 1.1 works as in the program. It is current
// from construction to destruction. On Linux it is EGL on Mesa's surfaceless
// platform: no X server and no GPU needed. On Windows it is the WGL context of
// a window that is never shown, made with the renderer's own pixel format
// request (under Wine that needs an X server, but no window appears).
class OffscreenContext final : public GlPlatform {
public:
    OffscreenContext(int width, int height);
    ~OffscreenContext();
    OffscreenContext(const OffscreenContext&) = delete;
    OffscreenContext& operator=(const OffscreenContext&) = delete;

    bool Ok() const { return m_context != nullptr; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    void* GetProcAddress(const char* name) override;
    void SetSwapInterval(std::uint8_t) override {}

    // The whole surface as RGB bytes, bottom row first (as glReadPixels
    // gives them).
    std::vector<std::uint8_t> ReadRgb() const;

private:
    int m_width;
    int m_height;
    void* m_surface = nullptr;
    void* m_context = nullptr;
};

} // namespace kestrune
