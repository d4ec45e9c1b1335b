#pragma once

#include "renderer/Classes/CCamera.h"
#include "renderer/Classes/CParticleEmitter.h"
#include "renderer/Classes/CSierpinski.h"
#include "renderer/Classes/CSkyBox.h"
#include "renderer/opengl.h"
#include "renderer/shell/frame_clock.h"
#include "renderer/shell/scene.h"
#include "renderer/show/CScreenOverlay.h"

#include <cstdint>
#include <functional>
#include <string>

namespace kestrune {

// The one scene the renderer plays: a fade-in from black, four wandering
// particle emitters, a Sierpinski figure that subdivides from one to sixty-four
// tetrahedra, and an orbiting, rolling camera inside a star sky box, all
// driven by the show time t.
class Show final : public Scene {
public:
    // Where the show reads the time: the system tick count in the program;
    // tests and tools inject their own to render any moment of the show.
    using TickSource = std::function<TickCount()>;

    static constexpr int kEmitterCount = 4;
    static constexpr int kFigureCount = 4;

    // Makes no OpenGL call: the show can be built before the window exists.
    // The textures are read from `textureFolder` when the show is initialised.
    // Once released, destroying the show makes no OpenGL call either, so it
    // may outlive the context.
    explicit Show(TickSource ticks = &GetTickCount32, std::string textureFolder = {});

    bool Initialise(GlPlatform& platform) override;
    void Frame() override;
    void ReleaseGlObjects() override;
    bool PaintsEveryPixel() const override;

    // The show time of the last frame.
    float Time() const { return m_t; }

    // The show's objects, for tests and tools that look inside. Declared in
    // the order in which they are made; they are destroyed in reverse.
    CParticleEmitter emitters[kEmitterCount];
    CSkyBox skyBox;
    CCamera camera;
    CSierpinski figures[kFigureCount];
    CScreenOverlay overlay;

    // The show's textures, each 0 until made (and again once released).
    GLuint overlayTexture = 0;
    GLuint emitterTexture = 0;
    GLuint figureTextureA = 0;
    GLuint figureTextureB = 0;

private:
    // A scene run once per frame; 0 means it is not finished.
    using SceneRoutine = int (Show::*)();

    void BuildShow(std::int32_t period);
    int MainScene();
    // Moves each emitter along its path and draws it, or only moves and ages
    // its particles when `draw` is false.
    void UpdateEmitters(bool draw);
    void WarmUpFigures();
    void DrawFigures();
    std::string TexturePath(int number) const;

    TickSource m_ticks;
    std::string m_textureFolder;
    std::int32_t m_period = 0;
    TickCount m_startTick = 0;
    bool m_firstFrame = true;
    std::int64_t m_elapsedMs = 0; // from the start tick to this frame
    float m_t = 0.0f;
    SceneRoutine m_currentScene = nullptr;
    // True when the overlay's texture is all black: at alpha 1 the overlay
    // then turns each pixel into 1 x (0 + pixel) and changes nothing.
    bool m_overlayNeutralAtFullAlpha = false;
    // Whether the figures' state has been drawn once (see WarmUpFigures).
    bool m_figuresWarm = false;
};

} // namespace kestrune
