#include "tests/support/child_process.h"

#include "common/utf8_win32.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>

namespace kestrune::test {

namespace {

// The exit code a killed child reports, the same number a shell gives a
// process ended by SIGKILL, so that tests read alike on both platforms.
constexpr UINT kKilledExitCode = 128 + 9;

// Test text is valid UTF-8; anything else would be a fault of the test.
std::wstring Widen(const std::string& utf8) {
    return kestrune::Widen(utf8).value_or(std::wstring());
}

// One argument quoted so that the child's C runtime splits it back out
// unchanged: backslashes count only before a quote, where they are doubled.
void AppendQuoted(std::wstring& line, const std::wstring& word) {
    line.push_back(L'"');
    std::size_t backslashes = 0;
    for (const wchar_t c : word) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        if (c == L'"') {
            line.append(backslashes * 2 + 1, L'\\');
        } else {
            line.append(backslashes, L'\\');
        }
        backslashes = 0;
        line.push_back(c);
    }
    line.append(backslashes * 2, L'\\');
    line.push_back(L'"');
}

std::wstring Upper(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towupper(c)); });
    return text;
}

// The parent's environment with the options applied, as the block that
// CreateProcessW takes. Windows compares variable names without case.
std::wstring EnvironmentBlock(const ChildProcess::Options& options) {
    std::vector<std::wstring> dropped;
    for (const auto& name : options.unset) {
        dropped.push_back(Upper(Widen(name)));
    }
    for (const auto& [key, value] : options.environment) {
        dropped.push_back(Upper(Widen(key)));
    }
    std::wstring block;
    wchar_t* strings = GetEnvironmentStringsW();
    for (const wchar_t* entry = strings; entry && *entry; entry += wcslen(entry) + 1) {
        const std::wstring text = entry;
        // Names of the per-drive folders ("=C:") begin with "=": keep them.
        const std::size_t equals = text.find(L'=', 1);
        const std::wstring name = Upper(text.substr(0, equals));
        if (std::find(dropped.begin(), dropped.end(), name) == dropped.end()) {
            block += text;
            block.push_back(L'\0');
        }
    }
    if (strings) {
        FreeEnvironmentStringsW(strings);
    }
    for (const auto& [key, value] : options.environment) {
        block += Widen(key) + L"=" + Widen(value);
        block.push_back(L'\0');
    }
    block.push_back(L'\0');
    return block;
}

HANDLE OpenInheritable(const std::wstring& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       &inherit, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

ChildProcess::ChildProcess(const std::string& program, const Options& options)
    : m_outputPath(options.outputPath) {
    // With no application name the system takes the program from the
    // command line and supplies ".exe" when the name has no extension.
    std::wstring commandLine;
    AppendQuoted(commandLine, Widen(program));
    for (const auto& argument : options.arguments) {
        commandLine.push_back(L' ');
        AppendQuoted(commandLine, Widen(argument));
    }
    std::wstring environment = EnvironmentBlock(options);
    const std::wstring workingDirectory = Widen(options.workingDirectory);

    const std::wstring output = options.outputPath.empty() ? L"NUL" : Widen(options.outputPath);
    const HANDLE outputHandle = OpenInheritable(output, GENERIC_WRITE, CREATE_ALWAYS);
    const HANDLE inputHandle = OpenInheritable(L"NUL", GENERIC_READ, OPEN_EXISTING);
    const HANDLE errorHandle =
        options.errorPath.empty()
            ? INVALID_HANDLE_VALUE
            : OpenInheritable(Widen(options.errorPath), GENERIC_WRITE, CREATE_ALWAYS);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inputHandle;
    startup.hStdOutput = outputHandle;
    startup.hStdError = errorHandle != INVALID_HANDLE_VALUE ? errorHandle : outputHandle;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                       CREATE_UNICODE_ENVIRONMENT, environment.data(),
                       workingDirectory.empty() ? nullptr : workingDirectory.c_str(), &startup,
                       &process)) {
        CloseHandle(process.hThread);
        m_handle = process.hProcess;
        m_pid = static_cast<pid_t>(process.dwProcessId);
    }
    if (outputHandle != INVALID_HANDLE_VALUE) {
        CloseHandle(outputHandle);
    }
    for (const HANDLE handle : {inputHandle, errorHandle}) {
        if (handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
        }
    }
}

ChildProcess::~ChildProcess() {
    if (Running()) {
        Kill();
    }
    if (m_handle) {
        CloseHandle(static_cast<HANDLE>(m_handle));
    }
}

bool ChildProcess::Running() {
    if (!m_handle || m_exitCode) {
        return false;
    }
    if (WaitForSingleObject(static_cast<HANDLE>(m_handle), 0) == WAIT_TIMEOUT) {
        return true;
    }
    DWORD code = 0;
    m_exitCode =
        GetExitCodeProcess(static_cast<HANDLE>(m_handle), &code) ? static_cast<int>(code) : -1;
    return false;
}

std::optional<int> ChildProcess::WaitForExit(std::chrono::milliseconds deadline) {
    WaitUntil([&] { return !Running(); }, deadline, std::chrono::milliseconds(10));
    return m_exitCode;
}

void ChildProcess::Kill() {
    if (m_handle && !m_exitCode) {
        TerminateProcess(static_cast<HANDLE>(m_handle), kKilledExitCode);
        WaitForSingleObject(static_cast<HANDLE>(m_handle), INFINITE);
        m_exitCode = static_cast<int>(kKilledExitCode);
    }
}

} // namespace kestrune::test
