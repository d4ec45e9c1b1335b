#include "host/saver/replace_file.h"

#include "common/utf8_win32.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace kestrune {

namespace {

bool Fail(std::string* error, const std::string& what, DWORD code) {
    if (error) {
        *error = what + " (error " + std::to_string(code) + ")";
    }
    return false;
}

} // namespace

bool ReplaceFileContents(const std::string& path, std::span<const std::uint8_t> bytes,
                         std::string* error) {
    const std::optional<std::wstring> target = Widen(path);
    if (!target || target->empty()) {
        return Fail(error, "cannot name " + path, ERROR_INVALID_NAME);
    }
    // A temporary name in the same folder, so the final move stays on one
    // volume and is a rename rather than a copy.
    const std::wstring::size_type slash = target->find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? L"." : target->substr(0, slash);
    std::vector<wchar_t> temporary(MAX_PATH + 1, L'\0');
    if (GetTempFileNameW(folder.c_str(), L"kst", 0, temporary.data()) == 0) {
        return Fail(error, "cannot create a file beside " + path, GetLastError());
    }

    // GetTempFileNameW created the file; open it again to fill it.
    HANDLE file = CreateFileW(temporary.data(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        DeleteFileW(temporary.data());
        return Fail(error, "cannot write " + path, code);
    }
    bool ok = true;
    DWORD code = 0;
    std::size_t done = 0;
    while (ok && done < bytes.size()) {
        DWORD written = 0;
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) {
            ok = false;
            code = GetLastError();
        }
        done += written;
    }
    if (ok && !FlushFileBuffers(file)) {
        ok = false;
        code = GetLastError();
    }
    CloseHandle(file);
    // MoveFileEx replaces a symbolic link at the target name itself.
    if (ok && !MoveFileExW(temporary.data(), target->c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ok = false;
        code = GetLastError();
    }
    if (!ok) {
        DeleteFileW(temporary.data());
        return Fail(error, "cannot write " + path, code);
    }
    return true;
}

} // namespace kestrune
