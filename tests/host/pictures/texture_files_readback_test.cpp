#include "common/kestrune_names.h"
#include "host/pictures/texture_pictures.h"
#include "renderer/resources/dib_loader.h"
#include "renderer/resources/message_sink.h"
#include "tests/support/temporary_folder.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace kestrune {
namespace {

// Collects what the loader would show, so that a test can insist on silence.
class RecordingSink final : public MessageSink {
public:
    void ShowMessage(const std::string& text, const std::string& caption) override {
        messages += caption + ": " + text + "\n";
    }
    std::string messages;
};

bool IsPowerOfTwo(int value) {
    return value > 0 && (value & (value - 1)) == 0;
}

// Each file the saver writes is read by the renderer's own loader, with the
// size of its picture, every pixel intact, and without a message.
TEST(TextureFilesReadbackTest, RendererLoaderReadsEveryFileTheSaverWrites) {
    test::TempFolder folder;
    ASSERT_TRUE(folder.Ok());
    std::string error;
    ASSERT_TRUE(SaveTexturePictures(folder.Path(), &error)) << error;

    RecordingSink sink;
    SetMessageSink(&sink);
    for (int number = 1; number <= kTextureFileCount; ++number) {
        SCOPED_TRACE(number);
        const Picture picture = Pic1Picture(number);
        const std::optional<RgbImage> image =
            LoadDib(TextureFilePath(folder.Path(), number).c_str());
        ASSERT_TRUE(image.has_value());
        EXPECT_EQ(image->width, Pic1Size(number));
        EXPECT_EQ(image->height, Pic1Size(number));
        // The renderer's textures need power-of-two sizes and rows that are
        // 4-byte aligned once packed (a multiple of 4 pixels, or one row).
        EXPECT_TRUE(IsPowerOfTwo(image->width) && IsPowerOfTwo(image->height));
        EXPECT_TRUE(image->width % 4 == 0 || image->height == 1);
        ASSERT_EQ(image->pixels.size(), picture.rgb.size());
        // The loader's first row is the bottom of the picture.
        const std::size_t row = static_cast<std::size_t>(picture.width) * 3;
        for (int y = 0; y < picture.height; ++y) {
            const auto* loaded = image->pixels.data() + (picture.height - 1 - y) * row;
            ASSERT_TRUE(std::equal(loaded, loaded + row, picture.PixelAt(0, y))) << "row " << y;
        }
    }
    SetMessageSink(nullptr);
    EXPECT_EQ(sink.messages, "");
}

} // namespace
} // namespace kestrune
