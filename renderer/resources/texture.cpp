#include "renderer/resources/texture.h"

#include "renderer/resources/dib_loader.h"
#include "renderer/resources/rgb_scale.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace kestrune {

namespace {

// OpenGL 1.1's name for a texture of three components (red, green, blue).
constexpr GLint kRgbComponents = 3;

// Uploads level 0. The picture's rows are packed three bytes a pixel; when
// their length is not a multiple of the unpack alignment (4 unless someone
// changed it) OpenGL would read padding that is not there and skew every row,
// so the alignment drops to 1 for this upload and comes back afterwards.
void Upload(const RgbImage& image) {
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    const GLint rowBytes = image.width * 3;
    const bool realign = alignment > 1 && rowBytes % alignment != 0;
    if (realign) {
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    }
    glTexImage2D(GL_TEXTURE_2D, 0, kRgbComponents, image.width, image.height, 0, GL_RGB,
                 GL_UNSIGNED_BYTE, image.pixels.data());
    if (realign) {
        glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    }
}

// Generates a name into `texture`, binds it and uploads `image` with the
// given wraps and linear filtering.
void MakeTexture(const RgbImage& image, GLuint& texture, GLint wrapS, GLint wrapT) {
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    Upload(image);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrapS);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrapT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

} // namespace

bool CreateTexture(const char* fileName, GLuint& texture, GLint wrapS, GLint wrapT) {
    return CreateTexture(fileName, texture, wrapS, wrapT, QueryTextureLimits());
}

bool CreateTexture(const char* fileName, GLuint& texture, GLint wrapS, GLint wrapT,
                   const TextureLimits& limits) {
    std::optional<RgbImage> image = LoadDib(fileName);
    if (!image) {
        return false;
    }
    // Texture files are meant to have sizes every driver takes; a file that
    // does not is scaled to fit rather than refused by the driver.
    const TextureExtent extent = FitTextureExtent(image->width, image->height, limits);
    if (extent.width != image->width || extent.height != image->height) {
        image = ScaleRgbImage(*image, extent.width, extent.height);
    }

    MakeTexture(*image, texture, wrapS, wrapT);
    return true;
}

void CreateBlackTexture(GLuint& texture, GLint wrapS, GLint wrapT) {
    MakeTexture(RgbImage{1, 1, {0, 0, 0}}, texture, wrapS, wrapT);
}

bool TextureIsBlack(GLuint texture) {
    if (texture == 0 || !glIsTexture(texture)) {
        return false;
    }
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint width = 0;
    GLint height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    std::vector<GLubyte> texels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) *
                                3);
    GLint alignment = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, alignment);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
    return !texels.empty() &&
           std::all_of(texels.begin(), texels.end(), [](GLubyte texel) { return texel == 0; });
}

void ReleaseTexture(GLuint& texture) {
    if (texture != 0 && glIsTexture(texture)) {
        glDeleteTextures(1, &texture);
        texture = 0;
    }
}

void ReleaseShowTextures(GLuint& emitter, GLuint& overlay, GLuint& figureA, GLuint& figureB) {
    ReleaseTexture(emitter);
    ReleaseTexture(overlay);
    ReleaseTexture(figureA);
    ReleaseTexture(figureB);
}

} // namespace kestrune
