#include "renderer/resources/message_sink.h"

#include <cstdio>

namespace kestrune {

namespace {

class StandardErrorSink final : public MessageSink {
public:
    void ShowMessage(const std::string& text, const std::string& caption) override {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    }
};

StandardErrorSink g_standardErrorSink;
MessageSink* g_sink = &g_standardErrorSink;

} // namespace

void SetMessageSink(MessageSink* sink) {
    g_sink = sink ? sink : &g_standardErrorSink;
}

MessageSink& CurrentMessageSink() {
    return *g_sink;
}

} // namespace kestrune
