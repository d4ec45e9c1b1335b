#pragma once

#include "renderer/opengl.h"

namespace kestrune {

// A textured quad over the whole viewport, drawn last in a frame with its own
// colour and blending. The show fades the picture in with it: a black texel
// blended with both factors GL_SRC_ALPHA turns every pixel into
// alpha x (0 + pixel).
//
// The owner writes the public fields directly. Colour, blending and depth
// write take effect at the next Draw; a new texture only at the next Build.
// Constructing makes no OpenGL call, so the object can live for the whole
// process, before and after the rendering context; Release frees what Build
// made while the context still exists.
class CScreenOverlay {
public:
    CScreenOverlay() = default;
    ~CScreenOverlay();
    CScreenOverlay(const CScreenOverlay&) = delete;
    CScreenOverlay& operator=(const CScreenOverlay&) = delete;

    // (Re)compiles the quad into one display list that binds the texture.
    // Needs a current rendering context.
    void Build();

    // Draws the quad if built; before Build it does nothing at all. Leaves
    // every OpenGL state as it found it.
    void Draw();

    // Deletes the display list while the context is still current and leaves
    // the overlay unbuilt, so that the destructor has nothing left to free.
    void Release();

    GLfloat fColor[4] = {1.0f, 1.0f, 1.0f, 1.0f}; // modulates the texture
    bool bBlend = false;                          // blend, with the colour's alpha
    GLenum eBlendSrc = GL_ONE;                    // glBlendFunc's source factor
    GLenum eBlendDst = GL_ONE;                    // glBlendFunc's destination factor
    GLuint uiTexture = 0;                         // texture of the quad
    bool bDepthWrite = false;                     // write depth while the quad is drawn
    GLuint uiDisplayList = 0;                     // the compiled quad
    bool bBuilt = false;                          // Build has compiled the list
};

} // namespace kestrune
