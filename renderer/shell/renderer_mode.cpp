#include "renderer/shell/renderer_mode.h"

#include <charconv>

namespace kestrune {

namespace {

// The option's name without its leading dashes: xscreensaver writes
// "--root", its older hacks' users "-root". Anything else is no option.
std::optional<std::string_view> OptionName(std::string_view argument) {
    if (argument.starts_with("--")) {
        argument.remove_prefix(2);
    } else if (argument.starts_with("-")) {
        argument.remove_prefix(1);
    } else {
        return std::nullopt;
    }
    if (argument.empty() || argument.starts_with("-")) {
        return std::nullopt;
    }
    return argument;
}

// Whole text as an unsigned number in `base`; nothing for an empty text,
// any stray character or a value beyond 32 bits.
std::optional<std::uint32_t> WholeNumber(std::string_view text, int base) {
    std::uint32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

RendererMode Refused(std::string reason) {
    RendererMode mode;
    mode.error = std::move(reason);
    return mode;
}

} // namespace

std::optional<std::uint32_t> ParseWindowId(std::string_view text) {
    std::optional<std::uint32_t> id;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        id = WholeNumber(text, 16);
    } else {
        id = WholeNumber(text, 10);
    }
    if (!id || *id == 0) {
        return std::nullopt;
    }
    return id;
}

RendererMode ChooseRendererMode(std::span<const std::string_view> arguments,
                                const char* screensaverWindow) {
    if (arguments.empty()) {
        return {};
    }
    bool root = false;
    std::optional<std::uint32_t> windowId;
    std::uint32_t delay = kDefaultFrameDelayMicroseconds;

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        const std::optional<std::string_view> name = OptionName(argument);
        if (name == "root") {
            root = true;
            continue;
        }
        if (name != "window-id" && name != "delay") {
            return Refused("unknown argument \"" + std::string(argument) + "\"");
        }
        if (i + 1 == arguments.size()) {
            return Refused("\"" + std::string(argument) + "\" needs a value");
        }
        const std::string_view value = arguments[++i];
        if (name == "window-id") {
            windowId = ParseWindowId(value);
            if (!windowId) {
                return Refused("\"" + std::string(value) + "\" is no window ID");
            }
            continue;
        }
        const std::optional<std::uint32_t> microseconds = WholeNumber(value, 10);
        if (!microseconds || *microseconds > kLongestFrameDelayMicroseconds) {
            return Refused("\"" + std::string(value) + "\" is no delay from 0 to " +
                           std::to_string(kLongestFrameDelayMicroseconds) + " microseconds");
        }
        delay = *microseconds;
    }

    if (!root && !windowId) {
        return Refused("no window to draw into: give -root or -window-id ID");
    }
    EmbeddedMode embedded;
    embedded.frameDelayMicroseconds = delay;
    if (windowId) {
        embedded.window = windowId;
    } else if (screensaverWindow && *screensaverWindow) {
        // The screensaver names the window it made for the show. A value
        // that names no window is refused rather than taken as the root:
        // drawing over the user's desktop is not what was asked for.
        embedded.window = ParseWindowId(screensaverWindow);
        if (!embedded.window) {
            return Refused("XSCREENSAVER_WINDOW=\"" + std::string(screensaverWindow) +
                           "\" is no window ID");
        }
    }
    RendererMode mode;
    mode.embedded = embedded;
    return mode;
}

} // namespace kestrune
