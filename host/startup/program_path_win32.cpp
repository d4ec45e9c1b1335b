#include "host/startup/program_path.h"

#include "common/utf8_win32.h"

#include <windows.h>

#include <vector>

namespace kestrune {

namespace {

// Longest path asked for; beyond it the program's path is taken as unknown.
constexpr DWORD kMaxPathLength = 32768;

} // namespace

std::string RunningProgramPath() {
    // The wide form, converted to UTF-8 as all text is kept in memory; the
    // ANSI form would give code page bytes and stop at MAX_PATH.
    std::vector<wchar_t> buffer(MAX_PATH);
    DWORD length = 0;
    while (true) {
        length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            break;
        }
        if (buffer.size() >= kMaxPathLength) {
            return {};
        }
        buffer.resize(buffer.size() * 2);
    }
    return Narrow(std::wstring_view(buffer.data(), length)).value_or(std::string());
}

} // namespace kestrune
