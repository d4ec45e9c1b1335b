// Replacing a file's contents atomically, creating it, and reading it whole:
// the rules both platforms share. The POSIX permission and link rules and the
// Windows attribute rule have files of their own.
#include "host/core/file_access.h"

#include "tests/support/file_identity.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kestrune {
namespace {

using test::FolderListing;
using test::IdentityOf;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

TEST(FileAccessTest, ReplacesByRenameAndLeavesNothingElse) {
    TempFolder folder;
    const std::string file = folder.File("Kestrune.ini");
    WriteBytes(file, "old contents that are longer");
    const auto before = IdentityOf(file);
    ASSERT_TRUE(before);
    ASSERT_TRUE(ReplaceFileFollowingLinks(file, "new"));
    EXPECT_EQ(ReadBytes(file), "new");
    EXPECT_NE(IdentityOf(file), before); // a new file took the old one's place
    EXPECT_EQ(FolderListing(folder.Path()), "Kestrune.ini\n"); // no temporary left
}

TEST(FileAccessTest, CreatesAMissingFileAndRefusesWhatIsNoFile) {
    TempFolder folder;
    const std::string file = folder.File("Kestrune.ini");
    ASSERT_TRUE(ReplaceFileFollowingLinks(file, "[Section]\r\n"));
    EXPECT_EQ(ReadBytes(file), "[Section]\r\n");
    EXPECT_FALSE(ReplaceFileFollowingLinks(folder.File("missing/Kestrune.ini"), "x"));
    EXPECT_FALSE(ReplaceFileFollowingLinks(folder.Path(), "x"));
    EXPECT_FALSE(ReplaceFileFollowingLinks("", "x"));
}

TEST(FileAccessTest, ReadsWholeFilesAndTellsMissingFromFailed) {
    TempFolder folder;
    std::string bytes = "stale";
    EXPECT_EQ(ReadWholeFile(folder.File("missing"), bytes), FileReadStatus::Missing);
    EXPECT_EQ(bytes, "");
    EXPECT_EQ(ReadWholeFile(folder.File("missing/deeper"), bytes), FileReadStatus::Missing);
    EXPECT_EQ(ReadWholeFile(folder.Path(), bytes), FileReadStatus::Failed);
    const std::string big(100000, '\x81');
    WriteBytes(folder.File("big"), big);
    EXPECT_EQ(ReadWholeFile(folder.File("big"), bytes), FileReadStatus::Read);
    EXPECT_EQ(bytes, big);
}

} // namespace
} // namespace kestrune
