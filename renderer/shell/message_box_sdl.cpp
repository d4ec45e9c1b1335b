#include "renderer/shell/message_box_sdl.h"

#include <SDL.h>

namespace kestrune {

void SdlMessageBoxSink::ShowMessage(const std::string& text, const std::string& caption) {
    // A plain OK box with no icon. If SDL cannot show a box at all (no X
    // fonts, say), the text still reaches standard error.
    if (SDL_ShowSimpleMessageBox(0, caption.c_str(), text.c_str(), m_owner) != 0) {
        SDL_Log("%s: %s", caption.c_str(), text.c_str());
    }
}

} // namespace kestrune
