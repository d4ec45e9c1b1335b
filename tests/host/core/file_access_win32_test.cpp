// Replacing a file's contents on Windows: a read-only file is left alone, a
// dangling link gets its target made as on Linux, and a file that another
// program holds open without sharing is no readable file.
#include "host/core/file_access.h"

#include "common/utf8_win32.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>

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
    EXPECT_EQ(test::FolderListing(folder.Path()), "Kestrune.ini\n");
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL); // so the folder can go
}

// A folder holding the link "Kestrune.ini" to the missing "real.ini". Windows
// makes such a link with its own call where developer mode allows it. Wine's
// call reports success and makes nothing, but Wine follows Unix links as
// Windows follows its own, so under Wine the test command makes the link on
// the Unix side beforehand and names its folder in KESTRUNE_TEST_LINK_FOLDER.
// (Starting Unix's ln from here would not wait for it reliably.)
std::string FolderWithDanglingLink(const TempFolder& fresh) {
    if (const char* prepared = std::getenv("KESTRUNE_TEST_LINK_FOLDER"); prepared && *prepared) {
        return prepared;
    }
    constexpr DWORD kAllowUnprivilegedCreate = 0x2;
    const std::string link = fresh.File("Kestrune.ini");
    if (!CreateSymbolicLinkW(Widen(link).value().c_str(), L"real.ini", kAllowUnprivilegedCreate) ||
        GetFileAttributesW(Widen(link).value().c_str()) == INVALID_FILE_ATTRIBUTES) {
        return {};
    }
    return fresh.Path();
}

TEST(FileAccessWin32Test, ADanglingLinkGetsItsTargetMadeAsOnLinux) {
    TempFolder fresh;
    const std::string folder = FolderWithDanglingLink(fresh);
    if (folder.empty()) {
        GTEST_SKIP() << "cannot make a symbolic link here";
    }
    const std::string link = folder + "\\Kestrune.ini";
    EXPECT_TRUE(ReplaceFileFollowingLinks(link, "[Section]\r\n"));
    // The link stays and leads to the file made for it.
    EXPECT_EQ(ReadBytes(folder + "\\real.ini"), "[Section]\r\n");
    EXPECT_EQ(ReadBytes(link), "[Section]\r\n");
    EXPECT_EQ(test::FolderListing(folder), "Kestrune.ini\nreal.ini\n");
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
