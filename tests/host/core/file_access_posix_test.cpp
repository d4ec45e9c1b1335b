// Replacing a file's contents on POSIX systems: permissions kept, modes of
// new files, symbolic links followed, folders that take no new files,
// read-only files and a full disk, checked as an unprivileged user or on a
// file system of the test's own where that matters.
#include "host/core/file_access.h"

#include "tests/support/file_identity.h"
#include "tests/support/other_user_posix.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kestrune {
namespace {

using test::FolderListing;
using test::IdentityOf;
using test::ReadBytes;
using test::RunUnprivileged;
using test::TempFolder;
using test::WriteBytes;

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

TEST(FileAccessPosixTest, ReplacesByRenameAndKeepsPermissions) {
    TempFolder folder;
    const std::string file = folder.File("Kestrune.ini");
    WriteBytes(file, "old contents that are longer");
    ASSERT_EQ(chmod(file.c_str(), 0640), 0);
    const auto before = IdentityOf(file);
    ASSERT_TRUE(ReplaceFileFollowingLinks(file, "new"));
    EXPECT_EQ(ReadBytes(file), "new");
    EXPECT_EQ(ModeOf(file), 0640u);
    EXPECT_NE(IdentityOf(file), before); // a new file took the old one's place
    EXPECT_EQ(FolderListing(folder.Path()), "Kestrune.ini\n"); // no temporary left
}

TEST(FileAccessPosixTest, CreatesAMissingFileWithTheUsualMode) {
    TempFolder folder;
    const std::string file = folder.File("Kestrune.ini");
    const mode_t mask = umask(022);
    ASSERT_TRUE(ReplaceFileFollowingLinks(file, "[Section]\r\n"));
    umask(mask);
    EXPECT_EQ(ReadBytes(file), "[Section]\r\n");
    EXPECT_EQ(ModeOf(file), 0644u);
}

TEST(FileAccessPosixTest, FollowsSymbolicLinksToTheirTarget) {
    TempFolder folder;
    std::filesystem::create_directory(folder.File("real"));
    const std::string target = folder.File("real/Kestrune.ini");
    WriteBytes(target, "old");
    ASSERT_EQ(chmod(target.c_str(), 0600), 0);
    // A relative link, and a link to that link.
    ASSERT_EQ(symlink("real/Kestrune.ini", folder.File("link.ini").c_str()), 0);
    ASSERT_EQ(symlink(folder.File("link.ini").c_str(), folder.File("link2.ini").c_str()), 0);
    ASSERT_TRUE(ReplaceFileFollowingLinks(folder.File("link2.ini"), "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.File("link.ini")));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.File("link2.ini")));
    EXPECT_EQ(ReadBytes(target), "new");
    EXPECT_EQ(ModeOf(target), 0600u);
    EXPECT_EQ(FolderListing(folder.File("real")), "Kestrune.ini\n");
    // A dangling link gets its target created.
    ASSERT_EQ(symlink("real/made.ini", folder.File("dangling.ini").c_str()), 0);
    ASSERT_TRUE(ReplaceFileFollowingLinks(folder.File("dangling.ini"), "made"));
    EXPECT_EQ(ReadBytes(folder.File("real/made.ini")), "made");
    // A loop of links is refused.
    ASSERT_EQ(symlink("loop2", folder.File("loop1").c_str()), 0);
    ASSERT_EQ(symlink("loop1", folder.File("loop2").c_str()), 0);
    EXPECT_FALSE(ReplaceFileFollowingLinks(folder.File("loop1"), "x"));
}

TEST(FileAccessPosixTest, RewritesInPlaceWhenTheFolderTakesNoNewFiles) {
    TempFolder folder;
    const std::string locked = folder.File("locked");
    std::filesystem::create_directory(locked);
    const std::string file = locked + "/Kestrune.ini";
    WriteBytes(file, "old contents, longer than the new ones");
    ASSERT_EQ(chmod(file.c_str(), 0666), 0);
    ASSERT_EQ(chmod(locked.c_str(), 0555), 0);
    ASSERT_EQ(chmod(folder.Path().c_str(), 0755), 0);
    const auto before = IdentityOf(file);

    const auto result = RunUnprivileged([&] { return ReplaceFileFollowingLinks(file, "new"); });
    if (!result) {
        GTEST_SKIP() << "cannot run as an unprivileged user here";
    }
    EXPECT_TRUE(*result);
    EXPECT_EQ(ReadBytes(file), "new");
    EXPECT_EQ(IdentityOf(file), before);
    EXPECT_EQ(FolderListing(locked), "Kestrune.ini\n");

    // Neither way works for a file that may not be written: it stays.
    ASSERT_EQ(chmod(file.c_str(), 0444), 0);
    EXPECT_EQ(RunUnprivileged([&] { return ReplaceFileFollowingLinks(file, "other"); }), false);
    EXPECT_EQ(ReadBytes(file), "new");
}

TEST(FileAccessPosixTest, LeavesReadOnlyFilesAlone) {
    TempFolder folder;
    const std::string file = folder.File("Kestrune.ini");
    WriteBytes(file, "kept");
    ASSERT_EQ(chmod(file.c_str(), 0444), 0);
    ASSERT_EQ(chmod(folder.Path().c_str(), 0777), 0);
    const auto result = RunUnprivileged([&] { return ReplaceFileFollowingLinks(file, "x"); });
    if (!result) {
        GTEST_SKIP() << "cannot run as an unprivileged user here";
    }
    EXPECT_FALSE(*result);
    EXPECT_EQ(ReadBytes(file), "kept");
}

// A tiny tmpfs mounted over `folder` in a mount namespace of this process's
// own, so that no other process sees it and it cannot outlive the test
// program. Mounting needs privileges that the test command (run as root) has
// and a developer's account may lack.
class SmallFileSystem {
public:
    SmallFileSystem(const std::string& folder, const char* options) : m_folder(folder) {
        if (unshare(CLONE_NEWNS) != 0) {
            m_problem = std::string("unshare: ") + std::strerror(errno);
            return;
        }
        // Private, so that the mount below does not spread to the namespace
        // this one was copied from.
        if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            mount("kestrune-test", folder.c_str(), "tmpfs", 0, options) != 0) {
            m_problem = std::string("mount: ") + std::strerror(errno);
            return;
        }
        m_mounted = true;
    }
    ~SmallFileSystem() {
        if (m_mounted) {
            umount2(m_folder.c_str(), MNT_DETACH);
        }
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool Mounted() const { return m_mounted; }
    const std::string& Problem() const { return m_problem; }

private:
    std::string m_folder;
    bool m_mounted = false;
    std::string m_problem;
};

// Writes to a new file at `path` until the file system has no room left.
void FillUp(const std::string& path) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    ASSERT_GE(fd, 0) << std::strerror(errno);
    const std::string block(4096, 'f');
    while (write(fd, block.data(), block.size()) > 0) {
    }
    EXPECT_EQ(errno, ENOSPC);
    close(fd);
}

TEST(FileAccessPosixTest, AFullDiskLeavesTheOldFileWhole) {
    TempFolder folder;
    const std::string disk = folder.File("disk");
    ASSERT_TRUE(std::filesystem::create_directory(disk));
    // Three pages of room and four inodes: the root folder's, the settings
    // file's, a filler's and a spare.
    const SmallFileSystem small(disk, "size=12k,nr_inodes=4,mode=0755");
    if (!small.Mounted()) {
        GTEST_SKIP() << "no small file system of the test's own (" << small.Problem()
                     << "); run as root to test a full disk";
    }
    const std::string file = disk + "/Kestrune.ini";
    const std::string old = "[Section]\r\nkey=old\r\n";
    WriteBytes(file, old);
    FillUp(disk + "/filler");
    WriteBytes(disk + "/spare", "");
    // More than the one page the old file has, so a rewrite in place would
    // run out of room half-way.
    const std::string longer(6000, 'n');

    // No inode left for the temporary file.
    EXPECT_FALSE(ReplaceFileFollowingLinks(file, longer));
    EXPECT_EQ(ReadBytes(file), old);
    // An inode but no room: the temporary file is made, cannot be filled,
    // and goes again.
    ASSERT_EQ(unlink((disk + "/spare").c_str()), 0);
    EXPECT_FALSE(ReplaceFileFollowingLinks(file, longer));
    EXPECT_EQ(ReadBytes(file), old);
    EXPECT_EQ(FolderListing(disk), "Kestrune.ini\nfiller\n");
    // With room again the same write goes through.
    ASSERT_EQ(unlink((disk + "/filler").c_str()), 0);
    EXPECT_TRUE(ReplaceFileFollowingLinks(file, longer));
    EXPECT_TRUE(ReadBytes(file) == longer);
}

} // namespace
} // namespace kestrune
