#include "host/pictures/texture_pictures.h"

#include "common/kestrune_names.h"
#include "host/pictures/bmp_writer.h"
#include "host/pictures/night_sky_picture.h"
#include "host/pictures/star_cluster_picture.h"
#include "host/pictures/star_sprite_picture.h"

namespace kestrune {

namespace {

// Side lengths by index. Every size is a power of two and a multiple of 4 or
// a single row, which is what the renderer's textures require.
constexpr int kSizes[kPic1Count] = {1, 1, kStarSpriteSize, kStarClusterSize, kNightSkySize};

} // namespace

int Pic1Size(int index) {
    return index >= 0 && index < kPic1Count ? kSizes[index] : 0;
}

Picture Pic1Picture(int index) {
    // Picture i is exported as texture file i, so the files' contract names
    // the pictures too.
    switch (index) {
    case 0:
    case kOverlayTextureFile:
        return Picture(1, 1); // zero-filled: one black pixel
    case kSparkTextureFile:
        return MakeStarSpritePicture();
    case kClusterTextureFile:
        return MakeStarClusterPicture();
    case kSkyTextureFile:
        return MakeNightSkyPicture();
    default:
        return Picture();
    }
}

bool SaveTexturePictures(const std::string& folder, std::string* error) {
    bool allWritten = true;
    for (int index = 1; index <= kTextureFileCount; ++index) {
        std::string reason;
        if (!SaveBmp(TextureFilePath(folder, index), Pic1Picture(index), &reason)) {
            allWritten = false;
            if (error) {
                *error += reason + "\n";
            }
        }
    }
    return allWritten;
}

} // namespace kestrune
