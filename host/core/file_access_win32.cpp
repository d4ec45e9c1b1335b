#include "host/core/file_access.h"

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

    HANDLE Get() const { return m_handle; }
    bool Valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    bool Close() {
        if (!Valid()) {
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

// The path of the file that an open handle refers to, with every symbolic
// link or other reparse point on the way followed; `fallback` when it cannot
// be told.
std::wstring FinalPathOf(HANDLE file, const std::wstring& fallback) {
    wchar_t buffer[MAX_PATH * 4];
    const DWORD length = GetFinalPathNameByHandleW(file, buffer, MAX_PATH * 4,
                                                   FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0 || length >= MAX_PATH * 4) {
        return fallback;
    }
    return std::wstring(buffer, length);
}

// Where the data behind `path` lives: the file itself, or the target of the
// symbolic links at `path`. A missing file is created empty first, by an open
// that goes through any link at `path` as Linux's open does, so that a
// dangling link gets its target made and stays a link; without that the
// final move would put a regular file in the link's place. (A crash before
// the contents take its place leaves that empty file, which reads as no file
// at all.) `created` tells whether the empty file is this call's, to be
// removed again if the write fails. Gives nothing (the error in `error`) when
// no file can be made there.
std::optional<std::wstring> ResolveTarget(const std::wstring& path, bool& created, DWORD& error) {
    created = false;
    constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    FileHandle existing(CreateFileW(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (existing.Valid()) {
        return FinalPathOf(existing.Get(), path);
    }
    error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND) {
        // Something is there that cannot be opened (a file held without
        // sharing, say); the checks of the caller tell what to do with it.
        return path;
    }
    // What is there is nothing an open could follow: no file, or a dangling
    // link (which Windows shows as a name of its own and Wine hides). The
    // file was just found missing, so a file there now is this call's.
    FileHandle made(CreateFileW(path.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!made.Valid()) {
        error = GetLastError();
        return std::nullopt;
    }
    created = true;
    return FinalPathOf(made.Get(), path);
}

std::wstring FolderPart(const std::wstring& path) {
    const std::size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? L"." : path.substr(0, separator);
}

std::wstring NamePart(const std::wstring& path) {
    const std::size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

// A new, empty temporary file beside `target`. On failure the handle is
// invalid and `error` holds the failing call's error.
FileHandle CreateTemporaryFile(const std::wstring& target, std::wstring& temporaryPath,
                               DWORD& error) {
    const std::wstring stem = FolderPart(target) + L"\\" + NamePart(target) + L".tmp";
    error = ERROR_FILE_EXISTS;
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        temporaryPath = stem + std::to_wstring(GetCurrentProcessId()) + L"-" +
                        std::to_wstring(GetTickCount() + static_cast<DWORD>(attempt));
        const HANDLE file = CreateFileW(temporaryPath.c_str(), GENERIC_WRITE, 0, nullptr,
                                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            return FileHandle(file);
        }
        error = GetLastError();
        if (error != ERROR_FILE_EXISTS) {
            break;
        }
    }
    return FileHandle();
}

bool RewriteInPlace(const std::wstring& path, std::string_view bytes) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.Valid() && WriteAll(file.Get(), bytes) && SetEndOfFile(file.Get()) &&
           FlushFileBuffers(file.Get()) && file.Close();
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
    if (!file.Valid()) {
        const DWORD error = GetLastError();
        return (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
                   ? FileReadStatus::Missing
                   : FileReadStatus::Failed;
    }
    if (GetFileType(file.Get()) != FILE_TYPE_DISK) {
        return FileReadStatus::Failed;
    }
    char buffer[4096];
    while (true) {
        DWORD got = 0;
        if (!ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr)) {
            bytes.clear();
            return FileReadStatus::Failed;
        }
        if (got == 0) {
            return FileReadStatus::Read;
        }
        bytes.append(buffer, got);
    }
}

bool ReplaceFileFollowingLinks(const std::string& path, std::string_view bytes) {
    const std::optional<std::wstring> wide = Widen(path);
    if (!wide || wide->empty()) {
        return false;
    }
    bool created = false;
    DWORD error = ERROR_SUCCESS;
    const std::optional<std::wstring> resolved = ResolveTarget(*wide, created, error);
    if (!resolved) {
        return false;
    }
    const std::wstring& target = *resolved;
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))) {
        return false;
    }

    std::wstring temporaryPath;
    FileHandle temporary = CreateTemporaryFile(target, temporaryPath, error);
    bool ok = false;
    if (!temporary.Valid()) {
        // Only a folder that refuses this user new files is worked around; a
        // full disk is not (see the POSIX side for why).
        ok = exists && error == ERROR_ACCESS_DENIED && RewriteInPlace(target, bytes);
    } else {
        ok = WriteAll(temporary.Get(), bytes) && FlushFileBuffers(temporary.Get());
        ok = temporary.Close() && ok;
        if (ok) {
            // ReplaceFileW keeps the old file's security, attributes and
            // streams, which is "keep the permissions" in Windows terms.
            ok = exists ? ReplaceFileW(target.c_str(), temporaryPath.c_str(), nullptr,
                                       REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0
                        : MoveFileExW(temporaryPath.c_str(), target.c_str(),
                                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
        }
        if (!ok) {
            DeleteFileW(temporaryPath.c_str());
        }
    }
    if (!ok && created) {
        DeleteFileW(target.c_str());
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
    return file.Valid() && GetFileType(file.Get()) == FILE_TYPE_DISK;
}

} // namespace kestrune
