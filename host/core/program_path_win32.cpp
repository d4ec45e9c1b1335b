#include "host/core/program_path.h"

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

std::string WorkingFolder() {
    // The first call tells the size with its terminating NUL, the second
    // fills the buffer and gives the length without it.
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    if (size == 0) {
        return {};
    }
    std::vector<wchar_t> buffer(size);
    const DWORD length = GetCurrentDirectoryW(size, buffer.data());
    if (length == 0 || length >= size) {
        return {};
    }
    return Narrow(std::wstring_view(buffer.data(), length)).value_or(std::string());
}

} // namespace kestrune
