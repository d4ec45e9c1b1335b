#include "host/forms/system_services.h"

#include "common/utf8_win32.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <vector>

namespace kestrune::forms {

namespace {

// The one handle of a started program that the host keeps: enough to tell
// whether the program has ended, nothing more. Closed when released.
class Win32StartedProgram final : public StartedProgram {
public:
    explicit Win32StartedProgram(HANDLE process) : m_process(process) {}
    ~Win32StartedProgram() override { CloseHandle(m_process); }
    Win32StartedProgram(const Win32StartedProgram&) = delete;
    Win32StartedProgram& operator=(const Win32StartedProgram&) = delete;

    bool Running() const override { return WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT; }

private:
    HANDLE m_process;
};

} // namespace

std::unique_ptr<StartedProgram> StartProgram(const std::string& path) {
    // CreateProcessW of the bare path (the wide call, so that a folder with a
    // Japanese name works on any system locale). The program's whole command
    // line is the path itself, without quotes or arguments; the path is
    // also named as the program to run, so that a path with blanks can
    // never start another program ("C:\Program.exe") instead.
    const std::optional<std::wstring> wide = Widen(path);
    if (!wide || wide->empty()) {
        return nullptr;
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
        return nullptr;
    }
    // Nobody waits for the program. Only the process handle stays, to tell
    // when it has ended; the thread's goes at once.
    CloseHandle(process.hThread);
    return std::make_unique<Win32StartedProgram>(process.hProcess);
}

bool CreateFolder(const std::string& path) {
    // CreateDirectoryW, for a folder name in any script.
    const std::optional<std::wstring> wide = Widen(path);
    return wide && !wide->empty() && CreateDirectoryW(wide->c_str(), nullptr) != 0;
}

} // namespace kestrune::forms
