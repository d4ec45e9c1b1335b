// Replacing a file's contents on Windows: a read-only file is left alone, a
// dangling link gets its target made as on Linux, and a file that another
// program holds open without sharing is no readable file.
#include "host/startup/file_access.h"

#include "common/utf8_win32.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace kestrune {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

TEST(FileAccessWin32Test, LeavesReadOnlyFilesAlone) {
    TempFolder folder;
    const std::string file = folder.File("Kestrune.ini");
    WriteBytes(file, "kept");
    ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(ReplaceFileFollowingLinks(file, "x"));
    EXPECT_EQ(ReadBytes(file), "kept");
    EXPECT_EQ(test::FolderListing(folder.path()), "Kestrune.ini\n");
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL); // so the folder can go
}

// Symbolic links for the tests. Windows makes them with its own calls where
// developer mode allows it. Wine's calls make nothing, but Wine follows Unix
// links as Windows follows its own, so there Unix's ln and rm make and remove
// them (Wine starts Unix programs too).
class SymbolicLinks {
public:
    SymbolicLinks() {
        m_unixFileName = reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    }

    // Makes `link` a link to `target`, a name in the link's folder.
    bool Make(const std::string& link, const std::string& target) const {
        const std::wstring wideTarget = Widen(target).value();
        if (!m_unixFileName) {
            constexpr DWORD kAllowUnprivilegedCreate = 0x2;
            return CreateSymbolicLinkW(Widen(link).value().c_str(), wideTarget.c_str(),
                                       kAllowUnprivilegedCreate) != 0;
        }
        return RunUnix(L"/bin/ln -s " + wideTarget + L" " + UnixPath(link));
    }

    // Removes the link itself. (Under Wine the C++ library's removal of a
    // folder never ends on a Unix link, so a test removes its links first.)
    bool Remove(const std::string& link) const {
        if (!m_unixFileName) {
            return DeleteFileW(Widen(link).value().c_str()) != 0;
        }
        return RunUnix(L"/bin/rm -f " + UnixPath(link));
    }

private:
    using UnixFileName = char*(CDECL*)(const wchar_t*);

    std::wstring UnixPath(const std::string& path) const {
        char* unixPath = m_unixFileName(Widen(path).value().c_str());
        const std::wstring wide = unixPath ? Widen(unixPath).value() : std::wstring();
        HeapFree(GetProcessHeap(), 0, unixPath);
        return wide;
    }

    static bool RunUnix(std::wstring commandLine) {
        commandLine = L"start.exe /wait /unix " + commandLine;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &startup, &process)) {
            return false;
        }
        DWORD exitCode = 1;
        const bool ended = WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0 &&
                           GetExitCodeProcess(process.hProcess, &exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return ended && exitCode == 0;
    }

    UnixFileName m_unixFileName = nullptr;
};

TEST(FileAccessWin32Test, ADanglingLinkGetsItsTargetMadeAsOnLinux) {
    TempFolder folder;
    const std::string link = folder.File("Kestrune.ini");
    const SymbolicLinks links;
    if (!links.Make(link, "real.ini")) {
        GTEST_SKIP() << "cannot make a symbolic link here";
    }
    const bool replaced = ReplaceFileFollowingLinks(link, "[Section]\r\n");
    const std::string target = ReadBytes(folder.File("real.ini"));
    const std::string throughLink = ReadBytes(link);
    const std::string listing = test::FolderListing(folder.path());
    EXPECT_TRUE(links.Remove(link));

    EXPECT_TRUE(replaced);
    // The link stays and leads to the file made for it.
    EXPECT_EQ(target, "[Section]\r\n");
    EXPECT_EQ(throughLink, "[Section]\r\n");
    EXPECT_EQ(listing, "Kestrune.ini\nreal.ini\n");
}

TEST(FileAccessWin32Test, AFileLockedByAnotherHandleIsNotReadable) {
    TempFolder folder;
    const std::string file = folder.File("a.mp3");
    WriteBytes(file, "ID3");
    EXPECT_TRUE(IsReadableRegularFile(file));
    // Held open with no sharing at all, as a program that locks its file.
    const HANDLE locked = CreateFileA(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(IsReadableRegularFile(file));
    std::string bytes;
    EXPECT_EQ(ReadWholeFile(file, bytes), FileReadStatus::Failed);
    CloseHandle(locked);
    EXPECT_TRUE(IsReadableRegularFile(file));
    // The null device is no file either.
    EXPECT_FALSE(IsReadableRegularFile("NUL"));
}

} // namespace
} // namespace kestrune
