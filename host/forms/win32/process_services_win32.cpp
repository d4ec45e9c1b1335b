#include "host/forms/system_services.h"

#include "common/utf8_win32.h"

#include <windows.h>

#include <optional>
#include <vector>

namespace kestrune::forms {

bool StartProgram(const std::string& path) {
    // CreateProcessW of the bare path (the wide call, so that a folder with a
    // Japanese name works on any system locale). The program's whole command
    // line is the path itself, without quotes or arguments; the path is
    // also named as the program to run, so that a path with blanks can
    // never start another program ("C:\Program.exe") instead.
    const std::optional<std::wstring> wide = Widen(path);
    if (!wide || wide->empty()) {
        return false;
    }
    std::vector<wchar_t> commandLine(wide->begin(), wide->end());
    commandLine.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(wide->c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        return false;
    }
    // Nobody waits for the program: its handles go at once, and Windows
    // keeps nothing of it once it ends.
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool CreateFolder(const std::string& path) {
    // CreateDirectoryW, for a folder name in any script.
    const std::optional<std::wstring> wide = Widen(path);
    return wide && !wide->empty() && CreateDirectoryW(wide->c_str(), nullptr) != 0;
}

} // namespace kestrune::forms
