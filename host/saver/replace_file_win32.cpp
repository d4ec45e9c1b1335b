#include "host/saver/replace_file.h"

#include <windows.h>

#include <algorithm>
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
    // A temporary name in the same folder, so the final move stays on one
    // volume and is a rename rather than a copy.
    const std::string::size_type slash = path.find_last_of("\\/");
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
    std::vector<char> temporary(MAX_PATH + 1, '\0');
    if (GetTempFileNameA(folder.c_str(), "kst", 0, temporary.data()) == 0) {
        return Fail(error, "cannot create a file beside " + path, GetLastError());
    }

    // GetTempFileNameA created the file; open it again to fill it.
    HANDLE file = CreateFileA(temporary.data(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        DeleteFileA(temporary.data());
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
    if (ok && !MoveFileExA(temporary.data(), path.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ok = false;
        code = GetLastError();
    }
    if (!ok) {
        DeleteFileA(temporary.data());
        return Fail(error, "cannot write " + path, code);
    }
    return true;
}

} // namespace kestrune
