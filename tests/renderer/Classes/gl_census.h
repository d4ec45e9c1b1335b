#pragma once

// Which display lists and textures a context holds, found by asking OpenGL
// about every name up to a limit: the way to see that old lists are really
// gone, even when the driver hands the same names out again.

#include "renderer/opengl.h"

#include <set>

namespace kestrune::test {

inline std::set<GLuint> LiveLists(GLuint upTo = 2048) {
    std::set<GLuint> names;
    for (GLuint name = 1; name <= upTo; ++name) {
        if (glIsList(name)) {
            names.insert(name);
        }
    }
    return names;
}

// The same for texture objects.
inline std::set<GLuint> LiveTextures(GLuint upTo = 2048) {
    std::set<GLuint> names;
    for (GLuint name = 1; name <= upTo; ++name) {
        if (glIsTexture(name)) {
            names.insert(name);
        }
    }
    return names;
}

inline GLint StackDepth(GLenum which) {
    GLint depth = 0;
    glGetIntegerv(which, &depth);
    return depth;
}

} // namespace kestrune::test
