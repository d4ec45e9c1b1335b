// Replacing a file's contents on Windows: a read-only file is left alone, and
// a file that another program holds open without sharing is no readable file.
#include "host/startup/file_access.h"

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
    EXPECT_FALSE(ReplaceFileContents(file, "x"));
    EXPECT_EQ(ReadBytes(file), "kept");
    EXPECT_EQ(test::FolderListing(folder.path()), "Kestrune.ini\n");
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL); // so the folder can go
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
