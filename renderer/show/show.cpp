#include "renderer/show/show.h"

#include "renderer/opengl.h"
#include "renderer/shell/gl_extensions.h"

namespace kestrune {

bool Show::Initialise(GlPlatform& platform) {
    LoadExtensions(platform);
    platform.SetSwapInterval(0);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    return true;
}

void Show::Frame() {
    glLoadIdentity();
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPopAttrib();
}

void Show::ReleaseTextures() {}

} // namespace kestrune
