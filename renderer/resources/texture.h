#pragma once

#include "renderer/opengl.h"

namespace kestrune {

// Makes an OpenGL texture from a BMP file: loads the picture, generates one
// texture name into `texture`, uploads level 0 as RGB with the given wrap
// modes and linear filtering, and leaves the new texture bound. Returns false,
// leaving `texture` unchanged, when the file gives no picture (a missing file
// silently; any other failure after the loader's message).
bool CreateTexture(const char* fileName, GLuint& texture, GLint wrapS, GLint wrapT);

} // namespace kestrune
