#include "host/startup/file_access.h"

#include "common/utf8_win32.h"

#include <windows.h>

#include <optional>

namespace kestrune {

namespace {

// How many temporary names are tried before giving up on the folder.
constexpr int kTemporaryNameAttempts = 64;

// A Win32 file handle, closed when it goes.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle = INVALID_HANDLE_VALUE) : m_handle(handle) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    HANDLE get() const { return m_handle; }
    bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    bool Close() {
        if (!valid()) {
            return true;
        }
        const HANDLE handle = m_handle;
        m_handle = INVALID_HANDLE_VALUE;
        return CloseHandle(handle) != 0;
    }

private:
    HANDLE m_handle;
};

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD written = 0;
        const DWORD chunk =
            bytes.size() > 0x40000000u ? 0x40000000u : static_cast<DWORD>(bytes.size());
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

// The path of the file that really holds the data: a symbolic link or other
// reparse point is followed to its target. A missing file is its own target.
std::wstring FinalPath(const std::wstring& path) {
    FileHandle file(CreateFileW(path.c_str(), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid()) {
        return path;
    }
    wchar_t buffer[MAX_PATH * 4];
    const DWORD length = GetFinalPathNameByHandleW(file.get(), buffer, MAX_PATH * 4,
                                                   FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0 || length >= MAX_PATH * 4) {
        return path;
    }
    return std::wstring(buffer, length);
}

std::wstring FolderPart(const std::wstring& path) {
    const std::size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? L"." : path.substr(0, separator);
}

std::wstring NamePart(const std::wstring& path) {
    const std::size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

FileHandle CreateTemporaryFile(const std::wstring& target, std::wstring& temporary_path) {
    const std::wstring stem = FolderPart(target) + L"\\" + NamePart(target) + L".tmp";
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        temporary_path = stem + std::to_wstring(GetCurrentProcessId()) + L"-" +
                         std::to_wstring(GetTickCount() + static_cast<DWORD>(attempt));
        const HANDLE file = CreateFileW(temporary_path.c_str(), GENERIC_WRITE, 0, nullptr,
                                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) {
            return FileHandle(file);
        }
    }
    return FileHandle();
}

bool RewriteInPlace(const std::wstring& path, std::string_view bytes) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.valid() && WriteAll(file.get(), bytes) && SetEndOfFile(file.get()) &&
           FlushFileBuffers(file.get()) && file.Close();
}

} // namespace

FileReadStatus ReadWholeFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    const std::optional<std::wstring> wide = Widen(path);
    if (!wide || wide->empty()) {
        return FileReadStatus::Failed;
    }
    FileHandle file(CreateFileW(wide->c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        const DWORD error = GetLastError();
        return (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
                   ? FileReadStatus::Missing
                   : FileReadStatus::Failed;
    }
    if (GetFileType(file.get()) != FILE_TYPE_DISK) {
        return FileReadStatus::Failed;
    }
    char buffer[4096];
    while (true) {
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) {
            bytes.clear();
            return FileReadStatus::Failed;
        }
        if (got == 0) {
            return FileReadStatus::Read;
        }
        bytes.append(buffer, got);
    }
}

bool ReplaceFileContents(const std::string& path, std::string_view bytes) {
    const std::optional<std::wstring> wide = Widen(path);
    if (!wide || wide->empty()) {
        return false;
    }
    const std::wstring target = FinalPath(*wide);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))) {
        return false;
    }

    std::wstring temporary_path;
    FileHandle temporary = CreateTemporaryFile(target, temporary_path);
    if (!temporary.valid()) {
        return exists && GetLastError() == ERROR_ACCESS_DENIED && RewriteInPlace(target, bytes);
    }
    bool ok = WriteAll(temporary.get(), bytes) && FlushFileBuffers(temporary.get());
    ok = temporary.Close() && ok;
    if (ok) {
        // ReplaceFileW keeps the old file's security, attributes and streams,
        // which is "keep the permissions" in Windows terms.
        ok = exists ? ReplaceFileW(target.c_str(), temporary_path.c_str(), nullptr,
                                   REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0
                    : MoveFileExW(temporary_path.c_str(), target.c_str(),
                                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    }
    if (!ok) {
        DeleteFileW(temporary_path.c_str());
    }
    return ok;
}

bool IsReadableRegularFile(const std::string& path) {
    const std::optional<std::wstring> wide = Widen(path);
    if (!wide || wide->empty()) {
        return false;
    }
    // Opening without FILE_FLAG_BACKUP_SEMANTICS fails for folders; a file
    // another program holds without sharing reads fails too ("locked").
    FileHandle file(CreateFileW(wide->c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.valid() && GetFileType(file.get()) == FILE_TYPE_DISK;
}

} // namespace kestrune
