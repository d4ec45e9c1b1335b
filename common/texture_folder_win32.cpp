#include "common/kestrune_names.h"
#include "common/utf8_win32.h"

#include <windows.h>

namespace kestrune {

std::string TextureFolder() {
    return "C:\\r_vosk";
}

const char* PathSeparator() {
    return "\\";
}

} // namespace kestrune

namespace kestrune {

bool CreateTextureFolder() {
    const std::optional<std::wstring> folder = Widen(TextureFolder());
    if (!folder) {
        return false;
    }
    if (CreateDirectoryW(folder->c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS) {
        const DWORD attributes = GetFileAttributesW(folder->c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    return false;
}

} // namespace kestrune
