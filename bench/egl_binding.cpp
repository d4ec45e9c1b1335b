#include "bench/egl_binding.h"

#include <EGL/egl.h>

namespace kestrune {

EglBinding EglBinding::Current() {
    EglBinding binding;
    binding.m_display = eglGetCurrentDisplay();
    binding.m_draw = eglGetCurrentSurface(EGL_DRAW);
    binding.m_read = eglGetCurrentSurface(EGL_READ);
    binding.m_context = eglGetCurrentContext();
    return binding;
}

bool EglBinding::MakeCurrent() const {
    return m_context != nullptr &&
           eglMakeCurrent(static_cast<EGLDisplay>(m_display), static_cast<EGLSurface>(m_draw),
                          static_cast<EGLSurface>(m_read),
                          static_cast<EGLContext>(m_context)) == EGL_TRUE;
}

} // namespace kestrune
