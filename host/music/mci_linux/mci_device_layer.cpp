#include "host/music/mci_linux/mci_device_layer.h"

#include "host/music/mci_linux/cd_audio_device.h"
#include "host/music/mci_linux/mpeg_video_device_sdl.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace kestrune::mci {

namespace {

constexpr std::array<std::string_view, 8> kVerbs = {"open",  "close",  "play",   "stop",
                                                    "pause", "resume", "status", "set"};

constexpr std::string_view kAll = "all";

bool KnownVerb(const std::string& verb) {
    return std::find(kVerbs.begin(), kVerbs.end(), verb) != kVerbs.end();
}

} // namespace

MciDeviceLayer::~MciDeviceLayer() {
    // Closed last to first, so the audio output goes when its first user does.
    while (!m_devices.empty()) {
        m_devices.pop_back();
    }
}

std::vector<MciDeviceLayer::NamedDevice>::iterator MciDeviceLayer::Find(const std::string& name) {
    return std::find_if(m_devices.begin(), m_devices.end(),
                        [&name](const NamedDevice& device) { return device.first == name; });
}

Error MciDeviceLayer::Send(std::string_view text, std::string& reply) {
    ParsedCommand command;
    const Error parseError = ParseCommand(text, command);
    if (parseError == kMissingDeviceName && !KnownVerb(command.verb)) {
        return kUnrecognizedCommand;
    }
    if (parseError != kOk) {
        return parseError;
    }
    if (!KnownVerb(command.verb)) {
        return kUnrecognizedCommand;
    }
    if (command.verb == "open") {
        return Open(command);
    }
    const std::string name = ToLowerAscii(command.device.text);
    if (name == kAll && !command.device.quoted) {
        if (command.verb != "close") {
            return kCannotUseAll;
        }
        if (!command.parameters.empty()) {
            return kUnrecognizedKeyword;
        }
        while (!m_devices.empty()) {
            m_devices.pop_back();
        }
        return kOk;
    }
    const auto device = Find(name);
    if (device == m_devices.end()) {
        return kInvalidDeviceName;
    }
    if (command.verb == "close") {
        if (!command.parameters.empty()) {
            return kUnrecognizedKeyword;
        }
        m_devices.erase(device);
        return kOk;
    }
    std::string answer;
    const Error error = device->second->Execute(command.verb, command.parameters, answer);
    if (error == kOk) {
        reply = std::move(answer);
    }
    return error;
}

Error MciDeviceLayer::Open(const ParsedCommand& command) {
    ParameterReader reader(command.parameters);
    std::string type;
    std::string alias;
    bool hasType = false;
    bool hasAlias = false;
    while (!reader.AtEnd()) {
        const bool isType = reader.Take({"type"});
        const bool isAlias = !isType && reader.Take({"alias"});
        if (isType || isAlias) {
            bool& seen = isType ? hasType : hasAlias;
            if (seen) {
                return kDuplicateFlags;
            }
            if (!reader.TakeValue(isType ? type : alias)) {
                return kMissingStringArgument;
            }
            seen = true;
        } else if (!reader.Take({"shareable"}) && !reader.Take({"wait"})) {
            // Every open here is complete when it returns, and a device is
            // opened once under each name, so "shareable" and "wait" change
            // nothing.
            return kUnrecognizedKeyword;
        }
    }

    const std::string name = ToLowerAscii(hasAlias ? alias : command.device.text);
    if (name == kAll) {
        return kCannotUseAll;
    }
    if (Find(name) != m_devices.end()) {
        return hasAlias ? kDuplicateAlias : kDeviceOpen;
    }

    std::unique_ptr<MciDevice> device;
    Error error = kOk;
    const std::string kind = ToLowerAscii(type);
    if (hasType && kind == "cdaudio") {
        error = CdAudioDevice::Open(m_output, command.device.text, device);
    } else if (hasType && kind != "mpegvideo") {
        error = kDeviceNotInstalled;
    } else if (!hasType && IsKeyword(command.device, "cdaudio")) {
        const char* const source = std::getenv(kCdAudioDeviceVariable);
        error = CdAudioDevice::Open(m_output, source ? source : "", device);
    } else {
        // A file without a type plays as a music file, whatever its kind.
        error = MpegVideoDevice::Open(m_output, command.device.text, device);
    }
    if (error != kOk) {
        return error;
    }
    m_devices.emplace_back(name, std::move(device));
    return kOk;
}

} // namespace kestrune::mci
