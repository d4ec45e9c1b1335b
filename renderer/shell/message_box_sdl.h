#pragma once

#include "renderer/resources/message_sink.h"

struct SDL_Window;

namespace kestrune {

// Shows the renderer's messages in SDL message boxes with an OK button, over
// the renderer's window when there is one.
class SdlMessageBoxSink final : public MessageSink {
public:
    void SetOwner(SDL_Window* owner) { m_owner = owner; }
    void ShowMessage(const std::string& text, const std::string& caption) override;

private:
    SDL_Window* m_owner = nullptr;
};

} // namespace kestrune
