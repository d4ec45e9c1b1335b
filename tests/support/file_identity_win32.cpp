#include "tests/support/file_identity.h"

#include "common/utf8_win32.h"

#include <windows.h>

namespace kestrune::test {

std::optional<FileIdentity> IdentityOf(const std::string& path) {
    const std::wstring wide = Widen(path).value_or(std::wstring());
    // Backup semantics open folders too; no access is asked for, so a file
    // that another program holds open still answers.
    const HANDLE file =
        CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool ok = GetFileInformationByHandle(file, &info) != 0;
    CloseHandle(file);
    if (!ok) {
        return std::nullopt;
    }
    return FileIdentity{info.dwVolumeSerialNumber,
                        (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) |
                            info.nFileIndexLow};
}

} // namespace kestrune::test
