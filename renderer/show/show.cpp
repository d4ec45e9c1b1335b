#include "renderer/show/show.h"

#include "common/kestrune_names.h"
#include "renderer/resources/texture.h"
#include "renderer/shell/gl_extensions.h"
#include "renderer/show/show_timeline.h"

#include <utility>

namespace kestrune {

namespace {

// What the show configures its objects with.
constexpr float kEmitterColours[Show::kEmitterCount][3] = {
    {1.0f, 0.0f, 0.0f}, // red
    {0.0f, 1.0f, 0.0f}, // green
    {0.0f, 0.0f, 1.0f}, // blue
    {1.0f, 1.0f, 0.0f}, // yellow
};
constexpr float kEmitterSpread = 0.01f;
constexpr float kEmitterSpeed = 0.005f;
constexpr float kEmitterDrag = 0.8f;
constexpr float kEmitterGrowth = 1.03f;
constexpr float kEmitterHalfSize = 0.01f;
constexpr float kEmitterFade = 0.005f;
constexpr int kParticlesPerEmitter = 100;

constexpr float kFigureSize = 0.6f;
constexpr float kSkyBoxSize = 2.0f;
constexpr float kCameraDistance = 1.5f;

} // namespace

Show::Show(TickSource ticks, std::string textureFolder)
    : m_ticks(std::move(ticks)),
      m_textureFolder(textureFolder.empty() ? TextureFolder() : std::move(textureFolder)) {}

std::string Show::TexturePath(int number) const {
    return TextureFilePath(m_textureFolder, number);
}

bool Show::Initialise(GlPlatform& platform) {
    LoadExtensions(platform);
    platform.SetSwapInterval(0);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    BuildShow(kShowPeriodMs);
    m_currentScene = &Show::MainScene;
    return true;
}

void Show::BuildShow(std::int32_t period) {
    m_period = period;

    // The overlay: the first file's single black pixel, blended with both
    // factors GL_SRC_ALPHA, turns every finished pixel into alpha x pixel: a
    // pure fade of the whole picture.
    if (!CreateTexture(TexturePath(kOverlayTextureFile).c_str(), overlayTexture, GL_REPEAT,
                       GL_REPEAT)) {
        // Untextured, the quad would be white, and white blended that way
        // gives alpha x (1 + pixel): a picture washed out during the fade-in
        // and pure white for good after it. The file is there to give one
        // black texel; without it the overlay gets that texel all the same.
        CreateBlackTexture(overlayTexture, GL_REPEAT, GL_REPEAT);
    }
    m_overlayNeutralAtFullAlpha = TextureIsBlack(overlayTexture);
    overlay.uiTexture = overlayTexture;
    overlay.bDepthWrite = false;
    overlay.bBlend = true;
    overlay.eBlendSrc = GL_SRC_ALPHA;
    overlay.eBlendDst = GL_SRC_ALPHA;
    overlay.fColor[0] = overlay.fColor[1] = overlay.fColor[2] = overlay.fColor[3] = 1.0f;
    overlay.Build();

    CreateTexture(TexturePath(kSparkTextureFile).c_str(), emitterTexture, GL_CLAMP, GL_CLAMP);
    for (int i = 0; i < kEmitterCount; ++i) {
        CParticleEmitter& emitter = emitters[i];
        emitter.fPosition[0] = emitter.fPosition[1] = emitter.fPosition[2] = 0.0f;
        for (int c = 0; c < 3; ++c) {
            emitter.fFixedColour[c] = kEmitterColours[i][c];
        }
        emitter.fSpread = kEmitterSpread;
        emitter.fSpeed = kEmitterSpeed;
        emitter.fDrag = kEmitterDrag;
        emitter.cAcceleration.Set(0.0f, 0.0f, 0.0f);
        emitter.fGrowth = kEmitterGrowth;
        emitter.fHalfSize = kEmitterHalfSize;
        emitter.fFade = kEmitterFade;
        emitter.bRandomFade = false;
        if (!emitter.bBuilt) {
            emitter.nParticles = kParticlesPerEmitter;
        }
        emitter.uiTexture = emitterTexture;
        emitter.bBlend = true;
        emitter.nBlendSrc = GL_SRC_ALPHA;
        emitter.nBlendDst = GL_ONE; // additive sparks
        emitter.bColourCycling = false;
        emitter.Build();
    }

    // Two texture objects of the same picture, one per texture unit.
    CreateTexture(TexturePath(kClusterTextureFile).c_str(), figureTextureA, GL_CLAMP, GL_CLAMP);
    CreateTexture(TexturePath(kClusterTextureFile).c_str(), figureTextureB, GL_CLAMP, GL_CLAMP);
    for (int i = 0; i < kFigureCount; ++i) {
        CSierpinski& figure = figures[i];
        figure.fCentre[0] = figure.fCentre[1] = figure.fCentre[2] = 0.0f;
        figure.fSize = kFigureSize;
        figure.nLevel = i; // 1, 4, 16 and 64 bodies
        figure.fColour[0] = figure.fColour[1] = figure.fColour[2] = 1.0f;
        figure.fColour[3] = 0.0f;
        figure.bNormals = figure.bBlend = figure.bMultitexture = figure.bSphereMap = true;
        figure.uiTexture[0] = figureTextureA;
        figure.uiTexture[1] = figureTextureB;
        figure.fEnvMode[0] = static_cast<GLfloat>(GL_REPLACE);
        figure.fEnvMode[1] = static_cast<GLfloat>(GL_ADD);
        figure.nBlendSrc = GL_SRC_ALPHA;
        figure.nBlendDst = GL_ONE_MINUS_SRC_ALPHA;
        figure.Generate();
    }

    skyBox.SetSize(kSkyBoxSize);
    for (unsigned slot = 0; slot < CSkyBox::kFaceCount; ++slot) {
        skyBox.LoadFaceTexture(slot, TexturePath(SkyBoxTextureFile(slot)).c_str());
    }
    skyBox.SetPosition(0.0f, 0.0f, 0.0f);
    skyBox.Build();

    camera.fTarget[0] = camera.fTarget[1] = camera.fTarget[2] = 0.0f;
    camera.fDistance = kCameraDistance;
}

void Show::Frame() {
    glLoadIdentity();
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    // The main scene never reports that it has finished, so the title flash
    // and rebuild that a finished scene would lead to are not built: no title
    // texture exists and the show runs on for as long as the renderer does.
    if (m_currentScene) {
        (this->*m_currentScene)();
    }
    glPopAttrib();
}

bool Show::PaintsEveryPixel() const {
    // The sky box is the first thing every frame draws, opaque, around the
    // eye: its faces overlap at the edges and lie between the near and the far
    // plane seen from anywhere inside it, so they cover the whole screen
    // whatever the camera does. Only a box that could not be built leaves the
    // screen to the clear, and so does the first frame, which draws nothing
    // (see MainScene).
    return m_currentScene != nullptr && skyBox.bBuilt && !m_firstFrame;
}

int Show::MainScene() {
    glPushMatrix();

    // The clock starts at the first frame, so that loading textures and
    // building geometry do not eat into the fade-in.
    const TickCount now = m_ticks();
    const bool firstFrame = m_firstFrame;
    if (m_firstFrame) {
        m_startTick = now;
        m_firstFrame = false;
    }
    m_elapsedMs = ElapsedMilliseconds(m_startTick, now);
    m_t = static_cast<float>(static_cast<double>(m_elapsedMs) / static_cast<double>(m_period));

    overlay.fColor[0] = overlay.fColor[1] = overlay.fColor[2] = 1.0f;
    overlay.fColor[3] = FadeInAlphaAt(m_t);

    const CameraAngles angles = CameraAnglesAt(m_t);
    camera.fAzimuth = angles.azimuth;
    camera.fElevation = angles.elevation;
    camera.fRoll = angles.roll;
    camera.Update();

    if (firstFrame && overlay.bBuilt) {
        // At t = 0 the overlay's alpha is 0, and with both of its blend
        // factors GL_SRC_ALPHA it turns every pixel of the finished frame
        // into 0 x pixel: the first frame is black whatever is drawn under
        // it, and the shell has cleared it to black (see PaintsEveryPixel).
        // Drawing it would only make the driver build its programs for the
        // show's states before the first picture reaches the screen; the next
        // frame, still all but black, builds them instead. The particles take
        // their step as in every frame, so that their course is the same.
        UpdateEmitters(false);
        glPopMatrix();
        return 0;
    }
    // Every primitive of the show has one colour at all its corners (the sky
    // box white, a spark its particle's colour, a figure and the overlay
    // theirs), so flat shading gives the same colours, without the
    // rasteriser interpolating them across every pixel.
    glShadeModel(GL_FLAT);

    glDisable(GL_LIGHTING);
    glColor3f(1.0f, 1.0f, 1.0f);

    // The sky box is the first thing drawn over a cleared depth buffer and
    // writes no depth, so the depth test could never reject one of its
    // fragments; testing them anyway costs a fifth of the box's fill time.
    // The same holds for the emitters drawn next: they write no depth
    // either, and every spark lies far inside the far plane (the emitters
    // wander within about half a unit of the centre, which the camera
    // circles at 1.5), so each of their fragments would pass the test too.
    //
    // The box's textures are modulated by the white just set, which leaves
    // every texel as it is: replacing the colour with the texel gives the same
    // pixels for less work per pixel.
    skyBox.CopyPosition(camera.fEye);
    glDisable(GL_DEPTH_TEST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    skyBox.Draw();
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    UpdateEmitters(true);
    glEnable(GL_DEPTH_TEST);

    if (!m_figuresWarm) {
        WarmUpFigures();
    }
    DrawFigures();
    // After the fade-in a black overlay leaves every pixel as it is, yet
    // blending it over the whole screen costs about a third of a frame on a
    // software rasteriser; it is drawn only where it changes the picture.
    // Nor could the depth test reject any of the overlay's fragments: at
    // depth 0 in the middle of the depth range it lies nearer than anything
    // of the show, which never comes within 0.2 of the eye.
    if (!(m_overlayNeutralAtFullAlpha && overlay.fColor[3] >= 1.0f)) {
        glDisable(GL_DEPTH_TEST);
        overlay.Draw();
        glEnable(GL_DEPTH_TEST);
    }

    glPopMatrix();
    return 0;
}

void Show::UpdateEmitters(bool draw) {
    const std::uint32_t time = EmitterTimeAt(m_elapsedMs);
    for (int i = 0; i < kEmitterCount; ++i) {
        CParticleEmitter& emitter = emitters[i];
        EmitterPositionAt(i, m_t, emitter.fPosition);
        for (int c = 0; c < 3; ++c) {
            emitter.fEye[c] = camera.fEye[c];
            emitter.fTarget[c] = camera.fTarget[c];
        }
        if (draw) {
            emitter.Draw(time);
        } else {
            emitter.Advance(time);
        }
    }
}

void Show::WarmUpFigures() {
    // The figures first show ten seconds in, and the driver builds its
    // programs for their state (two textures, the sphere map, blending, and
    // the vertices as they come after the sparks') at their first draw: that
    // frame would take several times as long as the others, at the same
    // moment of every show. The first two figures are drawn here once at
    // alpha 0 instead, where the figures are drawn, each along its own way of
    // drawing (one body alone, several under one state). At alpha 0 they leave
    // every pixel as it is; the depth they wrote is cleared again.
    for (int i = 0; i < 2; ++i) {
        const float alpha = figures[i].fColour[3];
        figures[i].fColour[3] = 0.0f;
        figures[i].Draw();
        figures[i].fColour[3] = alpha;
    }
    glClear(GL_DEPTH_BUFFER_BIT);
    m_figuresWarm = true;
}

void Show::DrawFigures() {
    const FigureSchedule schedule = FiguresAt(m_t);
    for (int i = 0; i < schedule.count; ++i) {
        CSierpinski& figure = figures[schedule.draws[i].figure];
        figure.fColour[0] = figure.fColour[1] = figure.fColour[2] = 1.0f;
        figure.fColour[3] = schedule.draws[i].alpha;
        figure.Draw();
    }
}

void Show::ReleaseGlObjects() {
    ReleaseShowTextures(emitterTexture, overlayTexture, figureTextureA, figureTextureB);
    // Then every display list, and the sky box's own face textures: the
    // objects are left as before their first build.
    overlay.Release();
    for (CParticleEmitter& emitter : emitters) {
        emitter.Release();
    }
    for (CSierpinski& figure : figures) {
        figure.Release();
    }
    skyBox.Release();
    m_overlayNeutralAtFullAlpha = false;
    m_figuresWarm = false; // a new context builds its programs anew
}

} // namespace kestrune
