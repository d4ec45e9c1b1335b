#include "renderer/shell/offscreen_context.h"

#include "renderer/opengl.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

namespace kestrune {

namespace {

// One EGL display for the whole process, initialised on first use.
EGLDisplay Display() {
    static EGLDisplay display = [] {
        auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
            eglGetProcAddress("eglGetPlatformDisplayEXT"));
        EGLDisplay d = getPlatformDisplay ? getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA,
                                                               EGL_DEFAULT_DISPLAY, nullptr)
                                          : EGL_NO_DISPLAY;
        EGLint major = 0;
        EGLint minor = 0;
        if (d == EGL_NO_DISPLAY || !eglInitialize(d, &major, &minor)) {
            return EGL_NO_DISPLAY;
        }
        return d;
    }();
    return display;
}

} // namespace

OffscreenContext::OffscreenContext(int width, int height) : m_width(width), m_height(height) {
    EGLDisplay display = Display();
    if (display == EGL_NO_DISPLAY || !eglBindAPI(EGL_OPENGL_API)) {
        return;
    }
    const EGLint configAttributes[] = {EGL_SURFACE_TYPE,
                                       EGL_PBUFFER_BIT,
                                       EGL_RED_SIZE,
                                       8,
                                       EGL_GREEN_SIZE,
                                       8,
                                       EGL_BLUE_SIZE,
                                       8,
                                       EGL_DEPTH_SIZE,
                                       16,
                                       EGL_RENDERABLE_TYPE,
                                       EGL_OPENGL_BIT,
                                       EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    if (!eglChooseConfig(display, configAttributes, &config, 1, &count) || count < 1) {
        return;
    }
    const EGLint surfaceAttributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    EGLSurface surface = eglCreatePbufferSurface(display, config, surfaceAttributes);
    if (surface == EGL_NO_SURFACE) {
        return;
    }
    const EGLint contextAttributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                        EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttributes);
    if (context == EGL_NO_CONTEXT || !eglMakeCurrent(display, surface, surface, context)) {
        if (context != EGL_NO_CONTEXT) {
            eglDestroyContext(display, context);
        }
        eglDestroySurface(display, surface);
        return;
    }
    m_surface = surface;
    m_context = context;
    glViewport(0, 0, width, height);
}

OffscreenContext::~OffscreenContext() {
    if (!m_context) {
        return;
    }
    EGLDisplay display = Display();
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroyContext(display, static_cast<EGLContext>(m_context));
    eglDestroySurface(display, static_cast<EGLSurface>(m_surface));
}

void* OffscreenContext::GetProcAddress(const char* name) {
    return reinterpret_cast<void*>(eglGetProcAddress(name));
}

} // namespace kestrune
