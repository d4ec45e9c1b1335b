#include "host/forms/win32/command_line_text.h"

namespace kestrune::forms::win32 {

namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

} // namespace

std::wstring_view ArgumentTextOf(std::wstring_view commandLine) {
    std::size_t at = 0;
    if (!commandLine.empty() && commandLine.front() == L'"') {
        // A quoted name ends at the next quote; no escapes apply inside it.
        const std::size_t closing = commandLine.find(L'"', 1);
        at = closing == std::wstring_view::npos ? commandLine.size() : closing + 1;
    } else {
        while (at < commandLine.size() && !IsBlank(commandLine[at])) {
            ++at;
        }
    }
    while (at < commandLine.size() && IsBlank(commandLine[at])) {
        ++at;
    }
    return commandLine.substr(at);
}

} // namespace kestrune::forms::win32
