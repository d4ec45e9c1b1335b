#include "renderer/shell/offscreen_context.h"

#include "renderer/opengl.h"

namespace kestrune {

// Reading the pixels is plain OpenGL, the same whatever made the context.
std::vector<std::uint8_t> OffscreenContext::ReadRgb() const {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(m_width) * m_height * 3);
    glFinish();
    GLint alignment = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, m_width, m_height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, alignment);
    return pixels;
}

} // namespace kestrune
