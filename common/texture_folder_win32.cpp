#include "common/kestrune_names.h"
#include "common/utf8_win32.h"

#include <windows.h>

#include <optional>

namespace kestrune {

namespace {

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Gives ERROR_SUCCESS once `folder` is a folder, else the failing call's
// error. The parents are made first; a missing drive or share fails, since no
// folder call can make one.
DWORD CreateFolders(const std::wstring& folder) {
    if (IsFolder(folder)) {
        return ERROR_SUCCESS;
    }
    const std::size_t separator = folder.find_last_of(L"\\/");
    if (separator != std::wstring::npos && separator > 0) {
        const std::size_t parentEnd = folder.find_last_not_of(L"\\/", separator);
        if (parentEnd != std::wstring::npos) {
            const DWORD parentError = CreateFolders(folder.substr(0, parentEnd + 1));
            if (parentError != ERROR_SUCCESS) {
                return parentError;
            }
        }
    }
    if (!CreateDirectoryW(folder.c_str(), nullptr)) {
        const DWORD error = GetLastError();
        // Another process may make the same folder at the same moment.
        if (error != ERROR_ALREADY_EXISTS || !IsFolder(folder)) {
            return error;
        }
    }
    return ERROR_SUCCESS;
}

} // namespace

std::string TextureFolder() {
    return "C:\\r_vosk";
}

const char* PathSeparator() {
    return "\\";
}

bool CreateTextureFolder() {
    return CreateFolderWithParents(TextureFolder());
}

bool CreateFolderWithParents(const std::string& folder, std::string* error) {
    const std::optional<std::wstring> wide = Widen(folder);
    DWORD code = ERROR_INVALID_NAME;
    if (wide && !wide->empty()) {
        code = CreateFolders(*wide);
    }
    if (code != ERROR_SUCCESS && error) {
        *error = "cannot make the folder " + folder + " (error " + std::to_string(code) + ")";
    }
    return code == ERROR_SUCCESS;
}

} // namespace kestrune
