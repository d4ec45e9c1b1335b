#include "host/startup/mode_dispatch.h"

#include "common/kestrune_names.h"
#include "host/core/Kestrune_B.h"
#include "host/core/command_line.h"
#include "host/core/path_rules.h"
#include "host/dialog/Kestrune_P.h"
#include "host/forms/application.h"
#include "host/forms/system_services.h"
#include "host/forms/window_services.h"
#include "host/preview/Kestrune_R.h"
#include "host/saver/Kestrune_S.h"

namespace kestrune {

std::unique_ptr<forms::Form> Main() {
    const std::string& argumentText = forms::CommandLineText();
    const std::string mode = ModeLetter(argumentText);

    // A copy that runs the screensaver or shows the settings already: this
    // start, whatever it asks for, ends quietly.
    if (forms::FindWindowByTitle(Kestrune_S::kCaption) != 0 ||
        forms::FindWindowByTitle(Kestrune_P::kCaption) != 0) {
        forms::EndProcess();
    }

    if (mode == "P") {
        std::unique_ptr<Kestrune_R> preview =
            PreviewSetUp(ParentWindowHandle(ParentWindowText(argumentText)));
        if (!preview) {
            forms::EndProcess();
        }
        return preview;
    }

    // A folder that exists already, or cannot be made, is passed over; the
    // texture export then fails on its own, silently.
    CreateTextureFolder();
    LoadSettings();

    // Checked before the settings dialog too: without the renderer there is
    // nothing to configure. A host that cannot tell its own folder has no
    // renderer either.
    if (!FileExists(RendererProgramPath())) {
        forms::ShowMessageBox(kRendererMissingMessage);
        forms::EndProcess();
    }

    if (mode == "C") {
        ShowSettingsDialog();
        forms::EndProcess();
    }

    if (!argumentText.empty() && mode != "S") {
        forms::EndProcess();
    }

    // Only /s hides the cursor; a start without arguments (the system's
    // "run now") leaves it as it is, and the run's end does not touch it.
    if (mode == "S") {
        CursorCount = forms::ShowCursor(false);
    }

    auto saver = std::make_unique<Kestrune_S>();
    saver->Load();
    return saver;
}

} // namespace kestrune
