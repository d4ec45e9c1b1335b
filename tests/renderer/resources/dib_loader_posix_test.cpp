// The BMP loader on Linux: files that cannot be opened for reading, and a
// folder, which the C library opens but which cannot be mapped.
#include "renderer/resources/dib_loader.h"

#include "tests/renderer/resources/capturing_sink.h"
#include "tests/renderer/resources/dib_builder.h"
#include "tests/support/other_user_posix.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace kestrune {
namespace {

using test::CapturingSink;
using test::DibFields;
using test::MakeDib;
using test::TempFolder;

TEST(DibLoaderPosix, AFileWithoutReadPermissionGivesNothingSilently) {
    TempFolder folder;
    CapturingSink sink;
    DibFields dib;
    dib.width = 2;
    dib.height = 1;
    dib.pixels = {1, 2, 3, 4, 5, 6, 0, 0};
    // A file without read permission cannot be opened, by a user for whom
    // permissions count (root reads anything).
    const std::string locked = folder.Write("locked.bmp", MakeDib(dib));
    ASSERT_EQ(::chmod(locked.c_str(), 0), 0);
    ASSERT_EQ(::chmod(folder.Path().c_str(), 0755), 0);
    const auto refused = test::RunUnprivileged(
        [&] { return !LoadDib(locked.c_str()).has_value() && sink.messages.empty(); });
    if (!refused) {
        GTEST_SKIP() << "cannot run as an unprivileged user here";
    }
    EXPECT_TRUE(*refused);
}

TEST(DibLoaderPosix, AFolderOpensButCannotBeMappedAndNamesItselfInTheMessage) {
    TempFolder folder;
    CapturingSink sink;
    const std::string path = folder.Path();
    EXPECT_FALSE(LoadDib(path.c_str()).has_value());
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, "Failed to open DIB file " + path + ".\n");
    EXPECT_EQ(sink.messages[0].caption, "Error");
}

} // namespace
} // namespace kestrune
