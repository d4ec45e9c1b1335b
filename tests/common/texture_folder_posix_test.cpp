// Where the texture files lie on Linux: the per-user cache folder, and no
// folder at all rather than one in the root folder when no home is known.
#include "common/kestrune_names.h"
#include "tests/support/other_user_posix.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace kestrune {
namespace {

// Sets or removes an environment variable for one test and puts it back.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedVariable() { m_old ? setenv(m_name, m_old->c_str(), 1) : unsetenv(m_name); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST(TextureFolderPosixTest, IsTheUsersCacheFolder) {
    const ScopedVariable home("HOME", "/home/someone");
    {
        const ScopedVariable cache("XDG_CACHE_HOME", "/var/cache/someone");
        EXPECT_EQ(TextureFolder(), "/var/cache/someone/r_vosk");
        EXPECT_EQ(TextureFilePath(kSkyTextureFile), "/var/cache/someone/r_vosk/Kestrune4.bmp");
    }
    // A relative cache folder is no cache folder.
    const ScopedVariable relative("XDG_CACHE_HOME", "cache");
    EXPECT_EQ(TextureFolder(), "/home/someone/.cache/r_vosk");
}

TEST(TextureFolderPosixTest, NoHomeGivesNoFolderRatherThanTheRoot) {
    EXPECT_EQ(TextureFilePath("", kOverlayTextureFile), "");
    // A user without an entry in the password database and without HOME:
    // only root can become one, in a child process.
    const auto none = test::RunAsUser(test::UserIdWithoutEntry(), [] {
        unsetenv("HOME");
        unsetenv("XDG_CACHE_HOME");
        return TextureFolder().empty() && TextureFilePath(kOverlayTextureFile).empty();
    });
    if (!none) {
        GTEST_SKIP() << "cannot become a user without a home here; run as root";
    }
    EXPECT_TRUE(*none);
}

} // namespace
} // namespace kestrune
