#include "host/music/mci_linux/mci_device.h"

#include <charconv>

namespace kestrune::mci {

const char* ModeWord(PlayState state) {
    switch (state) {
    case PlayState::Playing:
        return "playing";
    case PlayState::Paused:
        return "paused";
    case PlayState::Stopped:
        break;
    }
    return "stopped";
}

Error MciDevice::Execute(const std::string& verb, const std::vector<Word>& parameters,
                         std::string& reply) {
    Refresh();
    if (verb == "play") {
        return Play(parameters);
    }
    if (verb == "status") {
        return Status(parameters, reply);
    }
    if (verb == "set") {
        return Set(parameters);
    }
    if (!parameters.empty()) {
        return kUnrecognizedKeyword;
    }
    if (verb == "stop") {
        Stop();
    } else if (verb == "pause") {
        Pause();
    } else if (verb == "resume") {
        Resume();
    } else {
        return kUnrecognizedCommand;
    }
    return kOk;
}

Error MciDevice::Status(const std::vector<Word>& parameters, std::string& reply) {
    ParameterReader reader(parameters);
    if (reader.AtEnd()) {
        return kMissingParameter;
    }
    if (reader.Take({"mode"})) {
        reply = Mode();
    } else if (reader.Take({"time", "format"})) {
        reply = TimeFormatWord();
    } else if (const Error error = StatusItem(reader, reply); error != kOk) {
        return error;
    }
    return reader.AtEnd() ? kOk : kUnrecognizedKeyword;
}

Error MciDevice::Set(const std::vector<Word>& parameters) {
    ParameterReader reader(parameters);
    if (!reader.Take({"time", "format"})) {
        return reader.AtEnd() ? kMissingParameter : kUnrecognizedKeyword;
    }
    std::string word;
    if (!reader.TakeValue(word)) {
        return kMissingParameter;
    }
    // As the system's parser does, words the command does not know are
    // refused before the device looks at the value.
    if (!reader.AtEnd()) {
        return kUnrecognizedKeyword;
    }
    return SetTimeFormat(word) ? kOk : kBadTimeFormat;
}

bool ReadUnsigned(const std::string& text, long& value) {
    if (text.empty() || text.front() < '0' || text.front() > '9') {
        return false;
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

} // namespace kestrune::mci
