#include "renderer/resources/rgb_scale.h"
#include "renderer/resources/texture.h"
#include "renderer/resources/texture_limits.h"

#include "tests/renderer/resources/capturing_sink.h"
#include "tests/renderer/resources/dib_builder.h"
#include "tests/support/offscreen_gl.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrune {
namespace {

using test::Bgr;
using test::DibFields;

class Texture : public test::GlTest {
protected:
    // A 24-bit file whose stored pixel (x, y) is `colour(x, y)`.
    template <typename Colour>
    std::string WritePicture(const std::string& name, int width, int height, Colour&& colour) {
        DibFields dib;
        dib.width = width;
        dib.height = height;
        dib.pixels = test::Rows24(width, height, colour);
        return folder.Write(name, test::MakeDib(dib));
    }

    static GLint Parameter(GLenum name) {
        GLint value = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
        return value;
    }

    static GLint Level(GLint level, GLenum name) {
        GLint value = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
        return value;
    }

    // Level 0 of the bound texture, rows packed, first row t = 0.
    static std::vector<std::uint8_t> TexelsOfBound() {
        const int width = Level(0, GL_TEXTURE_WIDTH);
        const int height = Level(0, GL_TEXTURE_HEIGHT);
        std::vector<std::uint8_t> texels(std::size_t(width) * std::size_t(height) * 3);
        GLint pack = 4;
        glGetIntegerv(GL_PACK_ALIGNMENT, &pack);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
        glPixelStorei(GL_PACK_ALIGNMENT, pack);
        return texels;
    }

    test::TempFolder folder;
};

Bgr Distinct(int x, int y) {
    return {static_cast<std::uint8_t>(5 + y), static_cast<std::uint8_t>(y * 60),
            static_cast<std::uint8_t>(x * 20 + 1)};
}

TEST_F(Texture, EightByFourBecomesAnRgbTextureWithTheBottomRowAtTZero) {
    const std::string file = WritePicture("k.bmp", 8, 4, Distinct);
    test::CapturingSink sink;
    GLuint texture = 0;
    ASSERT_TRUE(CreateTexture(file.c_str(), texture, GL_REPEAT, GL_CLAMP));
    EXPECT_NE(texture, 0u);
    EXPECT_TRUE(sink.messages.empty());

    // The new texture stays bound.
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), texture);

    EXPECT_EQ(Parameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(Parameter(GL_TEXTURE_WRAP_T), GL_CLAMP);
    EXPECT_EQ(Parameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(Parameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(Level(0, GL_TEXTURE_WIDTH), 8);
    EXPECT_EQ(Level(0, GL_TEXTURE_HEIGHT), 4);
    EXPECT_EQ(Level(0, GL_TEXTURE_BORDER), 0);
    const GLint format = Level(0, GL_TEXTURE_INTERNAL_FORMAT);
    EXPECT_TRUE(format == 3 || format == GL_RGB || format == GL_RGB8) << format;
    EXPECT_EQ(Level(1, GL_TEXTURE_WIDTH), 0) << "no mipmaps";

    const std::vector<std::uint8_t> texels = TexelsOfBound();
    ASSERT_EQ(texels.size(), 8u * 4u * 3u);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 8; ++x) {
            const std::size_t i = (std::size_t(y) * 8 + std::size_t(x)) * 3;
            const Bgr c = Distinct(x, y); // stored row 0 is the picture's bottom row
            EXPECT_EQ(texels[i], c.r) << x << "," << y;
            EXPECT_EQ(texels[i + 1], c.g) << x << "," << y;
            EXPECT_EQ(texels[i + 2], c.b) << x << "," << y;
        }
    }
    EXPECT_EQ(TakeGlError(), static_cast<GLenum>(GL_NO_ERROR));

    // Two textures from the same file are two objects.
    GLuint second = 0;
    ASSERT_TRUE(CreateTexture(file.c_str(), second, GL_CLAMP, GL_CLAMP));
    EXPECT_NE(second, texture);
    EXPECT_EQ(Parameter(GL_TEXTURE_WRAP_S), GL_CLAMP);
}

TEST_F(Texture, AFileWithoutAPictureLeavesTheVariableAsItWas) {
    test::CapturingSink sink;
    GLuint texture = 1234;
    EXPECT_FALSE(CreateTexture(folder.File("none.bmp").c_str(), texture, GL_CLAMP, GL_CLAMP));
    EXPECT_EQ(texture, 1234u);
    EXPECT_TRUE(sink.messages.empty());

    DibFields v4;
    v4.headerSize = 108;
    v4.pixels = {0, 0, 0, 0};
    EXPECT_FALSE(CreateTexture(folder.Write("v4.bmp", test::MakeDib(v4)).c_str(), texture, GL_CLAMP,
                               GL_CLAMP));
    EXPECT_EQ(texture, 1234u);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, "Unknown DIB file format.");
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0);
}

TEST_F(Texture, RowsNotAMultipleOfFourBytesAreNotSkewedAndAlignmentComesBack) {
    const TextureLimits anySize{true, 1024};
    for (int callerAlignment : {4, 2, 8, 1}) {
        glPixelStorei(GL_UNPACK_ALIGNMENT, callerAlignment);
        for (int width : {1, 2, 3, 5, 6}) {
            SCOPED_TRACE("width " + std::to_string(width) + ", alignment " +
                         std::to_string(callerAlignment));
            const std::string file =
                WritePicture("w" + std::to_string(width) + ".bmp", width, 3, Distinct);
            GLuint texture = 0;
            ASSERT_TRUE(CreateTexture(file.c_str(), texture, GL_CLAMP, GL_CLAMP, anySize));
            const std::vector<std::uint8_t> texels = TexelsOfBound();
            ASSERT_EQ(texels.size(), std::size_t(width) * 3 * 3);
            for (int y = 0; y < 3; ++y) {
                for (int x = 0; x < width; ++x) {
                    const std::size_t i =
                        (std::size_t(y) * std::size_t(width) + std::size_t(x)) * 3;
                    EXPECT_EQ(texels[i], Distinct(x, y).r) << x << "," << y;
                    EXPECT_EQ(texels[i + 1], Distinct(x, y).g) << x << "," << y;
                }
            }
            GLint alignment = 0;
            glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
            EXPECT_EQ(alignment, callerAlignment);
        }
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}

TEST_F(Texture, OtherSizesAreScaledToPowersOfTwoOnlyWhereTheDriverCannotTakeThem) {
    const std::string file = WritePicture("odd.bmp", 5, 3, [](int, int) {
        return Bgr{10, 120, 240};
    });
    GLuint scaled = 0;
    ASSERT_TRUE(
        CreateTexture(file.c_str(), scaled, GL_CLAMP, GL_CLAMP, TextureLimits{false, 1024}));
    EXPECT_EQ(Level(0, GL_TEXTURE_WIDTH), 4);
    EXPECT_EQ(Level(0, GL_TEXTURE_HEIGHT), 4);
    const std::vector<std::uint8_t> texels = TexelsOfBound();
    for (std::size_t i = 0; i < 4 * 4 * 3; i += 3) {
        EXPECT_EQ(texels[i], 240);
        EXPECT_EQ(texels[i + 1], 120);
        EXPECT_EQ(texels[i + 2], 10);
    }

    GLuint asIs = 0;
    ASSERT_TRUE(CreateTexture(file.c_str(), asIs, GL_CLAMP, GL_CLAMP, TextureLimits{true, 1024}));
    EXPECT_EQ(Level(0, GL_TEXTURE_WIDTH), 5);
    EXPECT_EQ(Level(0, GL_TEXTURE_HEIGHT), 3);

    // Larger than the driver's largest size: scaled down to it.
    GLuint capped = 0;
    ASSERT_TRUE(CreateTexture(WritePicture("big.bmp", 8, 4, Distinct).c_str(), capped, GL_CLAMP,
                              GL_CLAMP, TextureLimits{true, 4}));
    EXPECT_EQ(Level(0, GL_TEXTURE_WIDTH), 4);
    EXPECT_EQ(Level(0, GL_TEXTURE_HEIGHT), 4);
}

TEST_F(Texture, ThisDriverTakesEverySizeAndSaysHowLarge) {
    // Mesa implements OpenGL 2.0 and later in its compatibility contexts.
    const TextureLimits limits = QueryTextureLimits();
    EXPECT_TRUE(limits.nonPowerOfTwo);
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    EXPECT_EQ(limits.maxSize, maxSize);
}

TEST(TextureFit, NearestPowersOfTwoAndTheDriversLargestSize) {
    const TextureLimits powers{false, 1024};
    const struct {
        int size, fitted;
    } cases[] = {{1, 1},     {2, 2},     {3, 4},      {5, 4},      {6, 8},
                 {7, 8},     {12, 16},   {100, 128},  {96, 128},   {95, 64},
                 {512, 512}, {700, 512}, {900, 1024}, {5000, 1024}};
    for (const auto& c : cases) {
        const TextureExtent e = FitTextureExtent(c.size, 1, powers);
        EXPECT_EQ(e.width, c.fitted) << c.size;
        EXPECT_EQ(e.height, 1);
    }
    const TextureExtent kept = FitTextureExtent(5, 3, TextureLimits{true, 1024});
    EXPECT_EQ(kept.width, 5);
    EXPECT_EQ(kept.height, 3);
    const TextureExtent capped = FitTextureExtent(3000, 2, TextureLimits{true, 2048});
    EXPECT_EQ(capped.width, 2048);
    EXPECT_EQ(capped.height, 2);
}

TEST(TextureScale, BilinearBetweenPixelCentres) {
    RgbImage line;
    line.width = 2;
    line.height = 1;
    line.pixels = {0, 100, 255, 255, 100, 0};
    const RgbImage wide = ScaleRgbImage(line, 4, 1);
    EXPECT_EQ(wide.pixels,
              (std::vector<std::uint8_t>{0, 100, 255, 64, 100, 191, 191, 100, 64, 255, 100, 0}));

    // Rows keep their order: a bottom red row and a top blue row stay so.
    RgbImage column;
    column.width = 1;
    column.height = 2;
    column.pixels = {255, 0, 0, 0, 0, 255};
    const RgbImage square = ScaleRgbImage(column, 2, 4);
    ASSERT_EQ(square.pixels.size(), 2u * 4u * 3u);
    EXPECT_EQ(square.pixels[0], 255);
    EXPECT_EQ(square.pixels[2], 0);
    EXPECT_EQ(square.pixels[3 * 7], 0);
    EXPECT_EQ(square.pixels[3 * 7 + 2], 255);
}

TEST_F(Texture, ReleaseDeletesTheShowsTexturesAndLeavesOtherNamesAlone) {
    GLuint names[3] = {};
    glGenTextures(3, names);
    for (GLuint name : names) {
        glBindTexture(GL_TEXTURE_2D, name);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    GLuint emitter = names[0];
    GLuint overlay = names[1];
    GLuint figureA = 0;
    GLuint figureB = 4000; // never made: not a texture
    ReleaseShowTextures(emitter, overlay, figureA, figureB);
    EXPECT_FALSE(glIsTexture(names[0]));
    EXPECT_FALSE(glIsTexture(names[1]));
    EXPECT_TRUE(glIsTexture(names[2])) << "a texture that is not the show's";
    EXPECT_EQ(emitter, 0u);
    EXPECT_EQ(overlay, 0u);
    EXPECT_EQ(figureA, 0u);
    EXPECT_EQ(figureB, 4000u);
    // Releasing again finds nothing to delete.
    ReleaseShowTextures(emitter, overlay, figureA, figureB);
    EXPECT_EQ(TakeGlError(), static_cast<GLenum>(GL_NO_ERROR));
}

} // namespace
} // namespace kestrune
