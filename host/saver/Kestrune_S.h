#pragma once

#include "host/forms/form.h"
#include "host/forms/picture_box.h"
#include "host/forms/system_services.h"
#include "host/forms/timer.h"
#include "host/pictures/texture_pictures.h"

#include <array>
#include <chrono>
#include <memory>
#include <string>

namespace kestrune {

// The hidden form of a screensaver run. Loading it writes the texture
// files, starts the music and starts the renderer; from then on its timers
// keep the music going and watch the renderer and its window, and when the
// renderer has ended or its window is gone the form stops the music, gives
// the cursor back and ends the process. It is never shown: its caption is
// only there for the start-up's single-instance guard to find.
class Kestrune_S final : public forms::Form {
public:
    static constexpr const char* kCaption = "Kestrune_Main";

    Kestrune_S();

    // How long an unseen renderer window is waited for while the renderer
    // runs (see Timer3_Timer).
    static constexpr std::chrono::seconds kRendererWindowGrace{10};

private:
    void Form_Load() override;
    void Form_QueryUnload(bool& cancel, forms::UnloadMode mode) override;

    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();

    // The boxes that carry the pictures, one per index of texture_pictures.h.
    std::array<std::unique_ptr<forms::PictureBox>, kPic1Count> Pic1;
    forms::Timer Timer1;
    forms::Timer Timer2;
    forms::Timer Timer3;
    std::string RendererPath;

    // The renderer this run started, asked only whether it still runs.
    std::unique_ptr<forms::StartedProgram> m_renderer;
    bool m_rendererWindowSeen = false;
    std::chrono::steady_clock::time_point m_rendererStartTime;
};

} // namespace kestrune
