#pragma once

#include "renderer/opengl.h"
#include "renderer/resources/texture_limits.h"

namespace kestrune {

// Makes an OpenGL texture from a BMP file: loads the picture, generates one
// texture name into `texture`, uploads level 0 as RGB with the given wrap
// modes and linear filtering, and leaves the new texture bound. Returns false,
// leaving `texture` unchanged, when the file gives no picture (a missing file
// silently; any other failure after the loader's message).
bool CreateTexture(const char* fileName, GLuint& texture, GLint wrapS, GLint wrapT);

// The same with the driver's texture limits given rather than asked of the
// current context: a picture the driver cannot take at its own size is scaled
// to one it takes.
bool CreateTexture(const char* fileName, GLuint& texture, GLint wrapS, GLint wrapT,
                   const TextureLimits& limits);

// Makes a texture of one black texel, with the given wrap modes and linear
// filtering like every texture here, and leaves it bound: what a file of one
// black pixel gives, for a user whose file cannot be read.
void CreateBlackTexture(GLuint& texture, GLint wrapS, GLint wrapT);

// Whether every texel of level 0 of `texture` is black. False for 0 and for
// a name that is no texture: drawing with it would not be drawing black.
bool TextureIsBlack(GLuint texture);

// Releases the show's four textures, in this order: the emitter texture, the
// overlay texture and the two figure textures. Each name that OpenGL knows as
// a texture is deleted and its variable set back to 0; anything else is left
// alone.
void ReleaseShowTextures(GLuint& emitter, GLuint& overlay, GLuint& figureA, GLuint& figureB);

// Deletes one texture the same way: only a name OpenGL knows as a texture,
// whose variable then goes back to 0. A variable holding 0 makes no OpenGL
// call at all, so releasing what was never made needs no context.
void ReleaseTexture(GLuint& texture);

} // namespace kestrune
