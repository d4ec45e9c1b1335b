#pragma once

#include <string>

namespace kestrune {

// Where the renderer's few user messages go (the texture loader's errors).
// The program shows them in a message box; tests and developer tools install
// a sink that captures the text instead.
class MessageSink {
public:
    virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;

protected:
    ~MessageSink() = default;
};

// Installs the process-wide sink; null restores the default, which writes the
// caption and text to standard error. The sink must outlive its installation.
void SetMessageSink(MessageSink* sink);

// The sink currently installed.
MessageSink& CurrentMessageSink();

} // namespace kestrune
