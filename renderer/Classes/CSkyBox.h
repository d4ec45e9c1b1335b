#pragma once

#include "renderer/opengl.h"

namespace kestrune {

// A textured cube drawn around the viewer as the background: centred on the
// eye and without writing depth, so it never moves relative to the viewer and
// everything drawn after it covers it. Face slots: 0 top (+y), 1 bottom (-y),
// 2 +z, 3 -z, 4 -x, 5 +x.
class CSkyBox {
public:
    static constexpr unsigned kFaceCount = 6;

    CSkyBox() = default;
    ~CSkyBox();
    CSkyBox(const CSkyBox&) = delete;
    CSkyBox& operator=(const CSkyBox&) = delete;

    void SetPosition(float x, float y, float z);
    // Copies three floats, x, y, z.
    void CopyPosition(const float* position);
    void SetSize(float size);

    // Makes the texture of one face from a BMP file, clamped at the edges.
    // 1 on success, 0 for a failed load or a slot outside 0-5; a failure
    // leaves the slot as it was.
    int LoadFaceTexture(unsigned slot, const char* path);

    // Compiles the six faces, replacing an earlier list. Needs a current
    // OpenGL context.
    void Build();

    // Draws the box at its position if it is built.
    void Draw();

    // Deletes the list and the six face textures while the context is still
    // current and leaves the box unbuilt, without textures.
    void Release();

    GLuint uiFaceTexture[kFaceCount] = {0, 0, 0, 0, 0, 0};
    float fPosition[3] = {0.0f, 0.0f, 0.0f};
    // Edge length of the cube.
    float fSize = 0.0f;
    GLuint uiList = 0;
    bool bBuilt = false;
};

} // namespace kestrune
