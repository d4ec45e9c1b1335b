#include "renderer/shell/gl_extensions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrune {
namespace {

// Records the names asked for, and knows only some of them.
class RecordingPlatform final : public GlPlatform {
public:
    std::vector<std::string> asked;
    std::vector<std::string> known;

    void* GetProcAddress(const char* name) override {
        asked.emplace_back(name);
        for (const auto& k : known) {
            if (k == name) {
                return reinterpret_cast<void*>(&Marker);
            }
        }
        return nullptr;
    }
    void SetSwapInterval(std::uint8_t) override {}

    static void Marker() {}
};

std::vector<std::string> ExpectedNames() {
    std::vector<std::string> names = {"glActiveTextureARB", "glClientActiveTextureARB"};
    for (const char* count : {"1", "2", "3", "4"}) {
        for (const char* form : {"d", "dv", "f", "fv", "i", "iv", "s", "sv"}) {
            names.push_back(std::string("glMultiTexCoord") + count + form + "ARB");
        }
    }
    return names;
}

TEST(GlExtensions, TableHasThirtyFourSlotsInTheFixedOrder) {
    const auto expected = ExpectedNames();
    ASSERT_EQ(expected.size(), 34u);
    ASSERT_EQ(kExtensionNames.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(kExtensionNames[i], expected[i]) << "slot " << i + 1;
    }
}

TEST(GlExtensions, LoadingAsksForEveryNameInTableOrderAndLeavesUnknownSlotsNull) {
    RecordingPlatform platform;
    platform.known = {"glActiveTextureARB", "glMultiTexCoord2fARB"};
    LoadExtensions(platform);

    EXPECT_EQ(platform.asked, ExpectedNames());
    EXPECT_NE(g_extensions.glActiveTextureARB, nullptr);
    EXPECT_NE(g_extensions.glMultiTexCoord2fARB, nullptr);
    EXPECT_EQ(g_extensions.glClientActiveTextureARB, nullptr);
    EXPECT_EQ(g_extensions.glMultiTexCoord4svARB, nullptr);
    EXPECT_TRUE(g_extensions.HasMultitexture());

    // A driver without the extension: every slot null, and drawing code can tell.
    RecordingPlatform bare;
    LoadExtensions(bare);
    EXPECT_EQ(g_extensions.glActiveTextureARB, nullptr);
    EXPECT_FALSE(g_extensions.HasMultitexture());
}

} // namespace
} // namespace kestrune
