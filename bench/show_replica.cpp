#include "bench/show_replica.h"

#include "renderer/show/show_timeline.h"

namespace kestrune {

void DrawShowReplica(Show& show, float t, bool withOverlay) {
    glLoadIdentity();
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushMatrix();

    show.overlay.fColor[3] = FadeInAlphaAt(t);
    const CameraAngles angles = CameraAnglesAt(t);
    show.camera.fAzimuth = angles.azimuth;
    show.camera.fElevation = angles.elevation;
    show.camera.fRoll = angles.roll;
    show.camera.Update();

    glDisable(GL_LIGHTING);
    glColor3f(1.0f, 1.0f, 1.0f);
    show.skyBox.CopyPosition(show.camera.fEye);
    glDisable(GL_DEPTH_TEST); // as the show draws its sky box and emitters
    show.skyBox.Draw();

    const std::uint32_t time = EmitterTimeAt(static_cast<std::int64_t>(t * kShowPeriodMs));
    for (CParticleEmitter& emitter : show.emitters) {
        const int index = static_cast<int>(&emitter - show.emitters);
        EmitterPositionAt(index, t, emitter.fPosition);
        for (int c = 0; c < 3; ++c) {
            emitter.fEye[c] = show.camera.fEye[c];
            emitter.fTarget[c] = show.camera.fTarget[c];
        }
        emitter.Draw(time);
    }
    glEnable(GL_DEPTH_TEST);

    const FigureSchedule schedule = FiguresAt(t);
    for (int i = 0; i < schedule.count; ++i) {
        CSierpinski& figure = show.figures[schedule.draws[i].figure];
        figure.fColour[3] = schedule.draws[i].alpha;
        figure.Draw();
    }

    if (withOverlay) {
        show.overlay.Draw();
    }
    glPopMatrix();
    glPopAttrib();
}

} // namespace kestrune
