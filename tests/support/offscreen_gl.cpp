#include "tests/support/offscreen_gl.h"

namespace kestrune::test {

OffscreenGl::Rgb OffscreenGl::PixelAt(int x, int y) const {
    std::uint8_t pixel[4] = {};
    glFinish();
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    return {pixel[0], pixel[1], pixel[2]};
}

std::vector<FeedbackVertex> FeedbackCapture::Vertices() const {
    std::vector<FeedbackVertex> all;
    for (const auto& polygon : polygons) {
        all.insert(all.end(), polygon.begin(), polygon.end());
    }
    return all;
}

FeedbackCapture CaptureFeedbackImpl(float extent, void (*draw)(void*), void* context) {
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-extent, extent, -extent, extent, -extent, extent);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    std::vector<GLfloat> buffer(1 << 20);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw(context);
    const GLint used = glRenderMode(GL_RENDER);

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();

    // Window coordinates back to object coordinates: the inverse of the
    // orthographic projection and the viewport transform.
    const float width = static_cast<float>(viewport[2]);
    const float height = static_cast<float>(viewport[3]);
    auto vertexAt = [&](GLint at) {
        FeedbackVertex v{};
        v.x = ((buffer[at] - viewport[0]) * 2.0f / width - 1.0f) * extent;
        v.y = ((buffer[at + 1] - viewport[1]) * 2.0f / height - 1.0f) * extent;
        v.z = -(buffer[at + 2] * 2.0f - 1.0f) * extent;
        v.r = buffer[at + 3];
        v.g = buffer[at + 4];
        v.b = buffer[at + 5];
        v.a = buffer[at + 6];
        const float q = buffer[at + 10] != 0.0f ? buffer[at + 10] : 1.0f;
        v.s = buffer[at + 7] / q;
        v.t = buffer[at + 8] / q;
        return v;
    };
    constexpr GLint kVertexSize = 3 + 4 + 4;

    FeedbackCapture capture;
    GLint at = 0;
    while (at < used) {
        const auto token = static_cast<GLint>(buffer[at++]);
        if (token == GL_POLYGON_TOKEN) {
            const auto count = static_cast<GLint>(buffer[at++]);
            std::vector<FeedbackVertex> polygon;
            for (GLint i = 0; i < count; ++i, at += kVertexSize) {
                polygon.push_back(vertexAt(at));
            }
            capture.polygons.push_back(std::move(polygon));
        } else if (token == GL_POINT_TOKEN || token == GL_BITMAP_TOKEN ||
                   token == GL_DRAW_PIXEL_TOKEN || token == GL_COPY_PIXEL_TOKEN) {
            at += kVertexSize;
        } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            at += 2 * kVertexSize;
        } else if (token == GL_PASS_THROUGH_TOKEN) {
            at += 1;
        } else {
            break; // unknown token: stop rather than misread the rest
        }
    }
    return capture;
}

} // namespace kestrune::test
