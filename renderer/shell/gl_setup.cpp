#include "renderer/shell/gl_setup.h"

#include "renderer/opengl.h"

namespace kestrune {

Viewport ViewportFor(int width, int height) {
    if (height == 0) {
        height = 1;
    }
    return {width, height, static_cast<double>(width) / static_cast<double>(height)};
}

void Resize(int width, int height) {
    const Viewport viewport = ViewportFor(width, height);
    glViewport(0, 0, viewport.width, viewport.height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(kFieldOfViewDegrees, viewport.aspect, kNearPlane, kFarPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

bool InitialiseOpenGL(Scene& scene, GlPlatform& platform) {
    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    glClearDepth(1.0);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    return scene.Initialise(platform);
}

bool DrawFrame(Scene& scene) {
    glClear(scene.PaintsEveryPixel() ? GL_DEPTH_BUFFER_BIT
                                     : GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    scene.Frame();
    return true;
}

} // namespace kestrune
