#pragma once

#include "tests/support/child_process.h"

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <sys/types.h>

namespace kestrune::test {

// An ordinary user made for one test, for what must not run as root (the
// xscreensaver daemon launches no hack as root) and for what root would not
// notice (a folder that is not writable). It needs root and useradd; where
// they are missing the user is not made and whyNot() says why, for the
// test's skip message. When the object goes, every process of the user is
// ended and the user removed.
class TestUser {
public:
    // Makes the user with `home` as its home folder: the folder is made and
    // given to the user. Its parent must let the user through.
    explicit TestUser(const std::filesystem::path& home);
    ~TestUser();
    TestUser(const TestUser&) = delete;
    TestUser& operator=(const TestUser&) = delete;

    bool ok() const { return m_uid != 0 && m_whyNot.empty(); }
    const std::string& whyNot() const { return m_whyNot; }
    const std::string& name() const { return m_name; }
    const std::filesystem::path& home() const { return m_home; }

    // Gives `path` (a file or folder the test made in the home) to the user.
    bool Give(const std::filesystem::path& path) const;

    // Starts `program` as the user, with an environment of HOME, USER,
    // LOGNAME, PATH and `options.environment` alone; output as the options
    // say. The process runs under runuser, whose end ends nothing of the
    // user's: the destructor does that.
    std::unique_ptr<ChildProcess> Start(const std::string& program,
                                        const ChildProcess::Options& options) const;
    std::optional<int> Run(const std::string& program, const ChildProcess::Options& options,
                           std::chrono::milliseconds deadline) const;

    // The command names (as the kernel keeps them, at most 15 characters)
    // of the user's processes that run now.
    std::vector<std::string> Processes() const;

private:
    std::string m_name;
    std::filesystem::path m_home;
    uid_t m_uid = 0;
    gid_t m_gid = 0;
    std::string m_whyNot;
};

} // namespace kestrune::test
