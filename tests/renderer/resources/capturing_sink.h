#pragma once

#include "renderer/resources/message_sink.h"

#include <string>
#include <vector>

namespace kestrune::test {

// Installs itself as the process's message sink for its lifetime and keeps
// every message shown meanwhile.
class CapturingSink final : public MessageSink {
public:
    struct Message {
        std::string text;
        std::string caption;
    };

    CapturingSink() { SetMessageSink(this); }
    ~CapturingSink() { SetMessageSink(nullptr); }
    CapturingSink(const CapturingSink&) = delete;
    CapturingSink& operator=(const CapturingSink&) = delete;

    void ShowMessage(const std::string& text, const std::string& caption) override {
        messages.push_back({text, caption});
    }

    std::vector<Message> messages;
};

} // namespace kestrune::test
