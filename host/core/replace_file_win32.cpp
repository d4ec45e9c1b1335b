#include "host/core/replace_file.h"

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

// A file handle, closed when it goes.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : m_handle(handle) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    HANDLE Get() const { return m_handle; }
    bool Valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    void Close() {
        if (Valid()) {
            CloseHandle(m_handle);
            m_handle = INVALID_HANDLE_VALUE;
        }
    }

private:
    HANDLE m_handle;
};

// Writes all of `bytes`; gives the error of the failing call, or
// ERROR_SUCCESS.
DWORD WriteAll(HANDLE file, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr)) {
            return GetLastError();
        }
        if (written == 0) {
            return ERROR_WRITE_FAULT;
        }
        done += written;
    }
    return ERROR_SUCCESS;
}

} // namespace

bool ReplaceFileNotFollowingLinks(const std::string& path, std::span<const std::uint8_t> bytes,
                                  std::string* error) {
    const std::optional<std::wstring> target = Widen(path);
    if (!target || target->empty()) {
        return Fail(error, "cannot name " + path, ERROR_INVALID_NAME);
    }
    // A temporary name in the same folder, so the final move stays on one
    // volume and is a rename rather than a copy. Each failing call's error is
    // taken at once, before any other call can change it.
    const std::wstring::size_type slash = target->find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? L"." : target->substr(0, slash);
    std::vector<wchar_t> temporary(MAX_PATH + 1, L'\0');
    if (GetTempFileNameW(folder.c_str(), L"kst", 0, temporary.data()) == 0) {
        const DWORD code = GetLastError();
        return Fail(error, "cannot create a file beside " + path, code);
    }

    // GetTempFileNameW created the file; open it again to fill it.
    DWORD code = ERROR_SUCCESS;
    {
        FileHandle file(CreateFileW(temporary.data(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid()) {
            code = GetLastError();
        } else {
            code = WriteAll(file.Get(), bytes);
            if (code == ERROR_SUCCESS && !FlushFileBuffers(file.Get())) {
                code = GetLastError();
            }
        }
    }
    // MoveFileEx replaces a symbolic link at the target name itself.
    if (code == ERROR_SUCCESS && !MoveFileExW(temporary.data(), target->c_str(),
                                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        code = GetLastError();
    }
    if (code != ERROR_SUCCESS) {
        DeleteFileW(temporary.data());
        return Fail(error, "cannot write " + path, code);
    }
    return true;
}

} // namespace kestrune
