// The BMP loader on Windows: a file that another program holds without
// sharing, and a folder, neither of which the C library opens: both give
// nothing and show no message.
#include "renderer/resources/dib_loader.h"

#include "tests/renderer/resources/capturing_sink.h"
#include "tests/renderer/resources/dib_builder.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace kestrune {
namespace {

using test::CapturingSink;
using test::DibFields;
using test::MakeDib;
using test::TempFolder;

TEST(DibLoaderWin32, ALockedFileAndAFolderGiveNothingSilently) {
    TempFolder folder;
    CapturingSink sink;
    DibFields dib;
    dib.width = 2;
    dib.height = 1;
    dib.pixels = {1, 2, 3, 4, 5, 6, 0, 0};
    const std::string locked = folder.Write("locked.bmp", MakeDib(dib));
    const HANDLE holder = CreateFileA(locked.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(LoadDib(locked.c_str()).has_value());
    CloseHandle(holder);
    EXPECT_TRUE(LoadDib(locked.c_str()).has_value()); // once let go, it loads

    EXPECT_FALSE(LoadDib(folder.path().c_str()).has_value());
    EXPECT_TRUE(sink.messages.empty());
}

} // namespace
} // namespace kestrune
